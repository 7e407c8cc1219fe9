#pragma once
// The integrity check of a package: the MD5 of everything before the 76-byte footer must equal
// the footer's PackageDigest; whatever follows the footer is not covered. Runs only for packages with VerifyDigest (the main flow decides).

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "md5.h"
#include "package_file.h"
#include "package_records.h"

namespace maglorin {

// Shown when the check fails, whatever the reason.
inline constexpr std::string_view kArchiveCorruptedMessage = "This archive is corrupted.";

inline constexpr std::size_t kDigestBlockSize = 65536;  // bytes read per step

// MD5 of the first `length` bytes of the file; result code 0, 2 (read failed or file too
// short) or 3 (no memory for the block buffer).
[[nodiscard]] int ComputeFileDigest(const PackageFile& file, std::uint64_t length, Md5Digest& digest);

// Compares lower-case digits with the stored ones; a stored 'A' to 'F' counts as 'a' to 'f'.
[[nodiscard]] bool DigestTextMatches(std::string_view computedLowerCase, const PackageDigest& stored);

// Opens the package again (shared for reading and writing) and checks the MD5 of its first
// `footerPosition` bytes, everything before the footer the reader found: bytes after the footer
// (a code signature) are not part of the digest. 0 when it matches; 5 when it does not, when
// nothing lies before the footer or the file ends before the footer does; 2 or 3 when it
// cannot be read.
[[nodiscard]] int CheckPackageIntegrity(const std::filesystem::path& packagePath, std::uint64_t footerPosition,
                                        const PackageDigest& stored);

// The same for a file that ends with its footer: the footer is its last 76 bytes.
[[nodiscard]] int CheckPackageIntegrity(const std::filesystem::path& packagePath, const PackageDigest& stored);

}  // namespace maglorin
