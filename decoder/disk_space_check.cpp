#include "disk_space_check.h"

#include "free_space_walk.h"

namespace maglorin::decoder {

bool HasRoomFor(const PathString& outputFolder, std::uint64_t fileSize, const FreeSpaceQuery& query) {
    return HasRoomOnVolume(outputFolder, kPathSeparator, fileSize, query);
}

}  // namespace maglorin::decoder
