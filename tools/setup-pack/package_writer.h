#pragma once
// Writes a setup package: program image, entry data, entry table, external-file table, footer
// with the MD5 of everything before it. setup-pack and the tests that need packages share it.
// WritePackage writes whatever the layout can encode (tests damage packages on purpose);
// CheckPackageContents says whether setup could read the result, and setup-pack calls it first.

#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "package_records.h"

namespace maglorin {

// Bytes that come from a file on disk, or that the caller holds in memory.
using PackageSource = std::variant<std::filesystem::path, std::vector<std::uint8_t>>;

// One entry to write: where it goes in the payload and the bytes it holds.
struct PackageEntryInput {
    PayloadGroup group = PayloadGroup::SetupFiles;
    PayloadFileType type = PayloadFileType::PlainDatabase;
    std::uint32_t entryFlags = 0;
    PackageName name;
    PackageSource data;
};

struct PackageContents {
    PackageSource programImage;
    std::vector<PackageEntryInput> entries;
    std::vector<ExternalFileRecord> externalFiles;
    PackageFlags flags = PackageFlags::None;
};

// Where the parts of a written package lie, for callers that inspect or damage them.
struct PackageLayoutInfo {
    std::uint64_t payloadStart = 0;
    std::vector<std::uint64_t> entryDataPositions;
    std::uint64_t entryTablePosition = 0;
    std::uint64_t externalTablePosition = 0;
    std::uint64_t footerPosition = 0;
    std::uint64_t fileSize = 0;
    std::string digest;  // lower-case hexadecimal
};

// Empty when setup could open and use the package; otherwise why not, naming the item.
std::string CheckPackageContents(const PackageContents& contents);

// Writes the package to `output` (replacing it). Fails only for what cannot be encoded (sizes or
// offsets beyond 32 bits) and for unreadable sources or an unwritable output; then `error`
// names the item and no output file is left behind.
bool WritePackage(const PackageContents& contents, const std::filesystem::path& output,
                  PackageLayoutInfo& layout, std::string& error);

}  // namespace maglorin
