#pragma once
// What the library uses of each item of the archive database, taken once when the archive is
// opened: the name, size, kind, the folder holding its data, its CRC and its times.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform.h"

namespace maglorin::decoder {

struct ArchiveItem {
    PathString name;                      // UTF-16, '/' or '\' as separator
    std::uint64_t size = 0;               // unpacked bytes
    bool isDirectory = false;
    std::optional<std::uint32_t> folder;  // the folder holding its data; none for no data
    std::optional<std::uint32_t> crc;     // CRC-32 of the unpacked bytes, when the archive has it
    FileTimes times;
};

struct ArchiveCatalog {
    std::vector<ArchiveItem> items;              // database order
    std::vector<std::uint32_t> folderFirstItem;  // per folder, the index of its first item
};

// Sum of the unpacked sizes of every item that is not a directory.
std::uint64_t TotalFilesSize(const ArchiveCatalog& catalog);

// The first index from start on that is neither a directory nor of size 0 (or items.size()).
std::size_t SkipToNextData(const ArchiveCatalog& catalog, std::size_t start);

}  // namespace maglorin::decoder
