#include "file_search.h"

#include <string>

namespace maglorin {

namespace {

// Restores the file-system redirection however the search ends.
class RedirectionOff {
public:
    RedirectionOff(DetectionSystem& system, bool active) : system_(system), active_(active) {
        if (active_) system_.SetFileSystemRedirection(false);
    }
    ~RedirectionOff() {
        if (active_) system_.SetFileSystemRedirection(true);
    }
    RedirectionOff(const RedirectionOff&) = delete;
    RedirectionOff& operator=(const RedirectionOff&) = delete;

private:
    DetectionSystem& system_;
    bool active_;
};

int ParseDepth(std::u16string_view text) {
    int depth = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') break;
        depth = depth * 10 + (c - u'0');
        if (depth >= kMaximumFileSearchDepth) return kMaximumFileSearchDepth;
    }
    return depth;
}

bool IsBareFileName(std::u16string_view path) {
    return path.find_first_of(u"\\]%!") == std::u16string_view::npos;
}

std::u16string ToText(std::int32_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// True when an in-range file ended the search.
bool SearchFolder(DetectionSystem& system, const std::u16string& folder, std::u16string_view fileName,
                  int depth, const VersionRange& range, std::vector<std::u16string>& found) {
    const std::u16string path = folder + std::u16string(fileName);
    if (system.FileExists(path)) {
        found.push_back(FourPartText(system.FileVersion(path)));
        if (range.Admits(found.back())) return true;
    }
    if (depth <= 0) return false;
    for (const std::u16string& subfolder : system.Subfolders(folder)) {
        if (SearchFolder(system, subfolder, fileName, depth - 1, range, found)) return true;
    }
    return false;
}

}  // namespace

std::u16string FourPartText(const VersionNumber& version) {
    return ToText(version.Major()) + u"." + ToText(version.Minor()) + u"." + ToText(version.Build()) + u"." +
           ToText(version.Revision());
}

FileSearchTarget PlanFileSearch(DetectionSystem& system, std::u16string_view searchString) {
    FileSearchTarget target;
    std::u16string_view path = searchString;
    const std::size_t question = path.find(u'?');
    if (question != std::u16string_view::npos) {
        target.depth = ParseDepth(path.substr(question + 1));
        path = path.substr(0, question);
    }
    if (path.empty()) return target;
    if (IsBareFileName(path)) {
        for (const std::u16string& root : system.FixedDriveRoots()) target.candidates.push_back(root + std::u16string(path));
    } else {
        target.candidates.emplace_back(path);
    }
    return target;
}

void RunFileSearch(DetectionSystem& system, const FileSearchTarget& target, const VersionRange& range,
                   bool fileSystem64, std::vector<std::u16string>& found) {
    const RedirectionOff redirection(system, fileSystem64);
    for (const std::u16string& candidate : target.candidates) {
        const std::size_t slash = candidate.rfind(u'\\');
        if (slash == std::u16string::npos || slash + 1 == candidate.size()) continue;
        const std::u16string folder = candidate.substr(0, slash + 1);
        if (SearchFolder(system, folder, std::u16string_view(candidate).substr(slash + 1), target.depth, range, found)) {
            return;
        }
    }
}

}  // namespace maglorin
