#pragma once
// The integrity check of a package: the MD5 of everything before the 76-byte footer must equal
// the footer's PackageDigest. Runs only for packages with VerifyDigest (the main flow decides).

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

// Opens the package again (shared for reading and writing) and checks it. 0 when it matches;
// 5 when it does not or the file is not longer than a footer; 2 or 3 when it cannot be read.
[[nodiscard]] int CheckPackageIntegrity(const std::filesystem::path& packagePath, const PackageDigest& stored);

}  // namespace maglorin
