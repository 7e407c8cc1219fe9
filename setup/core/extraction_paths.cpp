#include "extraction_paths.h"

#include <algorithm>

#include "entry_name_check.h"

namespace maglorin {

namespace {

constexpr PathChar kSeparator = u'\\';

[[nodiscard]] bool IsSeparator(PathChar c) { return c == u'\\' || c == u'/'; }

[[nodiscard]] bool IsDriveAbsolute(PathTextView path) {
    const PathChar drive = path.size() >= 3 ? path[0] : PathChar{};
    const bool letter = (drive >= u'A' && drive <= u'Z') || (drive >= u'a' && drive <= u'z');
    return letter && path[1] == u':' && path[2] == kSeparator;
}

// Length of the part of an absolute path that is never created or removed: "C:\",
// "\\?\C:\", "\\server\share\" or "\\?\UNC\server\share\". 0 when the path has no such root.
std::size_t RootLength(PathTextView path) {
    std::size_t at = 0;
    if (HasLongPathPrefix(path)) {
        at = 4;
        const PathText unc = PathFromAscii("UNC\\");
        if (path.substr(at, unc.size()) == unc) {
            at += unc.size();
        } else {
            return IsDriveAbsolute(path.substr(at)) ? at + 3 : 0;
        }
    } else if (IsNetworkPath(path)) {
        at = 2;
    } else {
        return IsDriveAbsolute(path) ? 3 : 0;
    }
    // server and share
    for (int part = 0; part < 2; ++part) {
        const std::size_t end = path.find(kSeparator, at);
        if (end == PathTextView::npos || end == at) {
            return 0;
        }
        at = end + 1;
    }
    return at;
}

}  // namespace

PathText PathFromAscii(std::string_view ascii) { return PathText(ascii.begin(), ascii.end()); }
PathText PathFromUtf16(std::u16string_view text) { return PathText(text.begin(), text.end()); }
std::u16string Utf16FromPath(PathTextView text) { return std::u16string(text.begin(), text.end()); }

[[nodiscard]] bool IsNetworkPath(PathTextView path) {
    return path.size() >= 2 && path[0] == kSeparator && path[1] == kSeparator &&
           (path.size() < 3 || path[2] != u'?');
}

[[nodiscard]] bool HasLongPathPrefix(PathTextView path) { return path.starts_with(PathFromAscii("\\\\?\\")); }

PathText ExtractionFolderForm(PathTextView folder) {
    if (folder.empty()) {
        return {};
    }
    PathText result(folder);
    if (result.back() != kSeparator) {
        result += kSeparator;
    }
    if (!HasLongPathPrefix(result) && !IsNetworkPath(result) && IsDriveAbsolute(result)) {
        result.insert(0, PathFromAscii("\\\\?\\"));
    }
    return result;
}

PathText WithoutLongPathPrefix(PathTextView path) {
    if (!HasLongPathPrefix(path)) {
        return PathText(path);
    }
    const PathTextView rest = path.substr(4);
    const PathText unc = PathFromAscii("UNC\\");
    if (rest.starts_with(unc)) {
        return PathFromAscii("\\\\") + PathText(rest.substr(unc.size()));
    }
    return PathText(rest);
}

std::optional<PathText> JoinEntryPath(PathTextView folder, PackageNameView name) {
    if (folder.empty() || !IsSafeEntryName(name)) {
        return std::nullopt;
    }
    PathText path(folder);
    if (path.back() != kSeparator) {
        path += kSeparator;
    }
    for (PathChar c : name) {
        path += IsSeparator(c) ? kSeparator : c;
    }
    return path;
}

PathTextView FolderPart(PathTextView name) {
    for (std::size_t i = name.size(); i > 0; --i) {
        if (IsSeparator(name[i - 1])) {
            return name.substr(0, i);
        }
    }
    return {};
}

PathText ReplaceExtension(PathTextView path, PathTextView extension) {
    const std::size_t nameStart = FolderPart(path).size();
    const std::size_t dot = path.rfind(u'.');
    const std::size_t stemEnd = (dot == PathTextView::npos || dot < nameStart) ? path.size() : dot;
    return PathText(path.substr(0, stemEnd)) + PathText(extension);
}

std::vector<PathText> ParentFolderChain(PathTextView path) {
    std::vector<PathText> chain;
    const std::size_t root = RootLength(path);
    if (root == 0) {
        return chain;
    }
    for (std::size_t at = path.find(kSeparator, root); at != PathTextView::npos;
         at = path.find(kSeparator, at + 1)) {
        if (at > 0 && path[at - 1] != kSeparator) {
            chain.emplace_back(path.substr(0, at + 1));
        }
    }
    return chain;
}

std::optional<PathText> PackageSubFolderName(std::u16string_view defaultProdCode,
                                             std::string_view packageDigest) {
    constexpr std::size_t kLength = 7;
    const std::size_t brace = defaultProdCode.find(u'}');
    if (brace != std::u16string_view::npos && brace >= kLength) {
        PathText name = PathFromUtf16(defaultProdCode.substr(brace - kLength, kLength));
        if (name.find(u'{') == PathText::npos && IsSafeEntryName(name) && FolderPart(name).empty()) {
            return name;
        }
    }
    if (packageDigest.size() < kLength) {
        return std::nullopt;
    }
    const std::string_view digits = packageDigest.substr(0, kLength);
    const auto isHex = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    };
    if (!std::all_of(digits.begin(), digits.end(), isHex)) {
        return std::nullopt;
    }
    return PathFromAscii(digits);
}

}  // namespace maglorin
