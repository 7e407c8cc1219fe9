#include "archive_items.h"

namespace maglorin::decoder {

std::uint64_t TotalFilesSize(const ArchiveCatalog& catalog) {
    std::uint64_t total = 0;
    for (const ArchiveItem& item : catalog.items) {
        if (!item.isDirectory) {
            total += item.size;
        }
    }
    return total;
}

std::size_t SkipToNextData(const ArchiveCatalog& catalog, std::size_t start) {
    std::size_t index = start;
    while (index < catalog.items.size() &&
           (catalog.items[index].isDirectory || catalog.items[index].size == 0)) {
        ++index;
    }
    return index;
}

}  // namespace maglorin::decoder
