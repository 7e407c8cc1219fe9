#include "free_space.h"

namespace maglorin {

namespace {

constexpr PathChar kSeparator = u'\\';

[[nodiscard]] bool StartsWithTwoSeparators(PathTextView path) {
    return path.size() >= 2 && path[0] == kSeparator && path[1] == kSeparator;
}

// The path the first question is asked on: a path starting with "\\" keeps (or gets) its final
// separator, any other loses it.
PathText QueryPath(PathTextView folder) {
    PathText path(folder);
    if (StartsWithTwoSeparators(path)) {
        if (path.empty() || path.back() != kSeparator) {
            path += kSeparator;
        }
    } else if (!path.empty() && path.back() == kSeparator) {
        path.pop_back();
    }
    return path;
}

// Cuts the path back to its parent; false once that would cut before the first separator after
// the first two characters (the volume root, or the server of a network path).
[[nodiscard]] bool CutToParent(PathText& path, bool twoSeparators) {
    const std::size_t root = path.find(kSeparator, 2);
    if (root == PathText::npos || path.size() < 2) {
        return false;
    }
    const std::size_t cut = path.rfind(kSeparator, path.size() - 2);
    if (cut == PathText::npos || cut < root) {
        return false;
    }
    const bool keepSeparator = twoSeparators || cut == root;
    path.resize(keepSeparator ? cut + 1 : cut);
    return true;
}

}  // namespace

[[nodiscard]] bool HasRoomFor(FreeSpaceQuery& query, PathTextView folder, std::uint64_t bytesNeeded) {
    const bool twoSeparators = StartsWithTwoSeparators(folder);
    PathText path = QueryPath(folder);
    // Every cut makes the path shorter, so the walk ends.
    for (;;) {
        if (const std::optional<std::uint64_t> free = query.FreeBytes(path)) {
            return bytesNeeded < *free;
        }
        if (!CutToParent(path, twoSeparators)) {
            return false;
        }
    }
}

}  // namespace maglorin
