#include "free_space.h"

#include "free_space_walk.h"

namespace maglorin {

bool HasRoomFor(FreeSpaceQuery& query, PathTextView folder, std::uint64_t bytesNeeded) {
    constexpr PathChar kSeparator = u'\\';
    return HasRoomOnVolume(folder, kSeparator, bytesNeeded,
                           [&query](const PathText& path) { return query.FreeBytes(path); });
}

}  // namespace maglorin
