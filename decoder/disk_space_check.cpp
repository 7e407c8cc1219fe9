#include "disk_space_check.h"

namespace maglorin::decoder {
namespace {

[[nodiscard]] bool IsNetworkPath(const PathString& path) {
    return path.size() >= 2 && path[0] == kPathSeparator && path[1] == kPathSeparator;
}

// The path the first query is made on.
PathString QueryPath(const PathString& outputFolder) {
    PathString path = outputFolder;
    if (IsNetworkPath(path)) {
        if (path.back() != kPathSeparator) {
            path += kPathSeparator;
        }
    } else if (!path.empty() && path.back() == kPathSeparator) {
        path.pop_back();
    }
    return path;
}

// Cuts path back to its parent; false when that would cut before the first separator that
// follows the first two characters (the volume root, or the server of a network path).
[[nodiscard]] bool CutToParent(PathString& path, bool network) {
    const std::size_t root = path.find(kPathSeparator, 2);
    if (root == PathString::npos || path.size() < 2) {
        return false;
    }
    const std::size_t searchFrom = path.size() - 2;  // skip a final separator
    const std::size_t cut = path.rfind(kPathSeparator, searchFrom);
    if (cut == PathString::npos || cut < root) {
        return false;
    }
    const bool keepSeparator = network || cut == root;
    path.resize(keepSeparator ? cut + 1 : cut);
    return true;
}

}  // namespace

[[nodiscard]] bool HasRoomFor(const PathString& outputFolder, std::uint64_t fileSize, const FreeSpaceQuery& query) {
    const bool network = IsNetworkPath(outputFolder);
    PathString path = QueryPath(outputFolder);
    for (;;) {
        if (const std::optional<std::uint64_t> free = query(path)) {
            return fileSize < *free;
        }
        if (!CutToParent(path, network)) {
            return false;
        }
    }
}

}  // namespace maglorin::decoder
