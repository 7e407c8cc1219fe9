#pragma once
// Whether a file fits on the volume of a folder: the bytes available to the caller are asked for
// the folder, walking up to the parent folder while the question cannot be answered (the folder
// may not exist yet). The check passes only when the size needed is strictly less than the free
// bytes found. Used by setup before it copies a file and by the extraction library before it
// creates one.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "extraction_context.h"  // PathChar

namespace maglorin {

namespace free_space_walk {

using Path = std::basic_string<PathChar>;

inline bool StartsWithTwoSeparators(std::basic_string_view<PathChar> path, PathChar separator) {
    return path.size() >= 2 && path[0] == separator && path[1] == separator;
}

// The path the first question is asked on: a path starting with two separators (a network
// path) keeps (or gets) its final separator, any other loses it.
inline Path QueryPath(std::basic_string_view<PathChar> folder, PathChar separator) {
    Path path(folder);
    if (StartsWithTwoSeparators(path, separator)) {
        if (path.back() != separator) {
            path += separator;
        }
    } else if (!path.empty() && path.back() == separator) {
        path.pop_back();
    }
    return path;
}

// Cuts the path back to its parent; false once that would cut before the first separator after
// the first two characters (the volume root, or the server of a network path).
inline bool CutToParent(Path& path, bool network, PathChar separator) {
    const std::size_t root = path.find(separator, 2);
    if (root == Path::npos || path.size() < 2) {
        return false;
    }
    const std::size_t cut = path.rfind(separator, path.size() - 2);  // skip a final separator
    if (cut == Path::npos || cut < root) {
        return false;
    }
    const bool keepSeparator = network || cut == root;
    path.resize(keepSeparator ? cut + 1 : cut);
    return true;
}

}  // namespace free_space_walk

// freeBytes(path) answers std::optional<std::uint64_t>: empty when the system cannot tell.
template <typename FreeBytes>
[[nodiscard]] bool HasRoomOnVolume(std::basic_string_view<PathChar> folder, PathChar separator,
                                   std::uint64_t bytesNeeded, FreeBytes&& freeBytes) {
    const bool network = free_space_walk::StartsWithTwoSeparators(folder, separator);
    free_space_walk::Path path = free_space_walk::QueryPath(folder, separator);
    // Every cut makes the path shorter, so the walk ends.
    for (;;) {
        if (const std::optional<std::uint64_t> free = freeBytes(path)) {
            return bytesNeeded < *free;
        }
        if (!free_space_walk::CutToParent(path, network, separator)) {
            return false;
        }
    }
}

}  // namespace maglorin
