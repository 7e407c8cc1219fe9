#include "output_paths.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace maglorin::decoder {
namespace {

[[nodiscard]] bool IsNameSeparator(PathChar c) {
    return c == PathChar('/') || c == PathChar('\\');
}

PathChar AsciiUpper(PathChar c) {
    return (c >= PathChar('a') && c <= PathChar('z')) ? static_cast<PathChar>(c - 32) : c;
}

// "CON", "nul.txt", "Com1 .log": the device names Windows opens instead of a file, whatever
// extension follows.
[[nodiscard]] bool IsReservedDeviceName(const PathString& part) {
    PathString base = part.substr(0, part.find(PathChar('.')));
    while (!base.empty() && base.back() == PathChar(' ')) {
        base.pop_back();
    }
    std::string upper;
    for (PathChar c : base) {
        const PathChar u = AsciiUpper(c);
        if (u >= 0x80) {
            return false;
        }
        upper += static_cast<char>(u);
    }
    static constexpr std::array<std::string_view, 6> kNames = {"CON", "PRN", "AUX", "NUL",
                                                               "CONIN$", "CONOUT$"};
    if (std::find(kNames.begin(), kNames.end(), upper) != kNames.end()) {
        return true;
    }
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
           upper[3] >= '0' && upper[3] <= '9';
}

// ".." and anything Windows trims to nothing ("...", ". .") climbs or vanishes; "." and empty
// parts (doubled separators) stay where they are.
[[nodiscard]] bool IsClimbingPart(const PathString& part) {
    if (part.empty() || part == PathString(1, PathChar('.'))) {
        return false;
    }
    return std::all_of(part.begin(), part.end(),
                       [](PathChar c) { return c == PathChar('.') || c == PathChar(' '); });
}

}  // namespace

std::optional<PathString> OutputFolderOf(const ExtractionContext& context) {
    const PathChar* begin = context.outputFolder;
    const PathChar* end = begin + kOutputFolderChars;
    const PathChar* terminator = std::find(begin, end, PathChar(0));
    if (terminator == end) {
        return std::nullopt;
    }
    return PathString(begin, terminator);
}

[[nodiscard]] bool IsSafeItemName(const PathString& name) {
    if (name.empty() || IsNameSeparator(name.front())) {
        return false;
    }
    if (name.find(PathChar(':')) != PathString::npos) {
        return false;
    }
    bool hasRealPart = false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && !IsNameSeparator(name[end])) {
            ++end;
        }
        const PathString part = name.substr(start, end - start);
        if (IsClimbingPart(part) || IsReservedDeviceName(part)) {
            return false;
        }
        if (!part.empty() && part != PathString(1, PathChar('.'))) {
            hasRealPart = true;
        }
        start = end + 1;
    }
    return hasRealPart;
}

std::optional<PathString> JoinItemPath(const PathString& outputFolder, const PathString& name) {
    PathString path = outputFolder;
    if (path.empty() || path.back() != kPathSeparator) {
        path += kPathSeparator;
    }
    for (PathChar c : name) {
        path += IsNameSeparator(c) ? kPathSeparator : c;
    }
    if (path.size() > kMaxJoinedPathChars) {
        return std::nullopt;
    }
    return path;
}

std::vector<PathString> DirectoryChain(const PathString& directoryPath) {
    std::vector<PathString> chain;
    std::size_t i = 0;
    while (i < directoryPath.size() &&
           (directoryPath[i] == kPathSeparator || directoryPath[i] == PathChar('?'))) {
        ++i;
    }
    while (i < directoryPath.size() && directoryPath[i] != kPathSeparator) {
        ++i;
    }
    for (++i; i < directoryPath.size(); ++i) {
        if (directoryPath[i] == kPathSeparator) {
            chain.push_back(directoryPath.substr(0, i));
        }
    }
    return chain;
}

std::vector<PathString> ParentFoldersInside(const PathString& outputFolder, const PathString& fileName) {
    std::vector<PathString> folders;
    const std::optional<PathString> path = JoinItemPath(outputFolder, fileName);
    if (!IsSafeItemName(fileName) || !path) {
        return folders;
    }
    // Where the item's own name starts in the joined path.
    std::size_t start = outputFolder.size();
    if (outputFolder.empty() || outputFolder.back() != kPathSeparator) {
        ++start;
    }
    for (std::size_t i = start; i < path->size(); ++i) {
        // Doubled separators ("a//b") make no folder of their own.
        if ((*path)[i] == kPathSeparator && i > start && (*path)[i - 1] != kPathSeparator) {
            folders.push_back(path->substr(0, i));
        }
    }
    return folders;
}

}  // namespace maglorin::decoder
