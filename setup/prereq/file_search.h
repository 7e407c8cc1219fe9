#pragma once
// The file search of a detection search: a path (or a bare file name looked for at the root of
// every fixed drive), optionally followed by "?" and the number of subfolder levels to search
// below each place. Each file found adds its version; the search stops at the first one inside
// the window.

#include <string>
#include <string_view>
#include <vector>

#include "detection_system.h"
#include "version_range.h"

namespace maglorin {

// Deeper searches are cut to this many levels: a junction that loops back must not turn a
// mistyped depth into a search without end.
inline constexpr int kMaximumFileSearchDepth = 64;

struct FileSearchTarget {
    std::vector<std::u16string> candidates;  // full paths of the file to look for
    int depth = 0;                           // subfolder levels below each candidate's folder
};

// `searchString` has its references resolved already.
FileSearchTarget PlanFileSearch(DetectionSystem& system, std::u16string_view searchString);

// Appends the version ("%d.%d.%d.%d") of every file it finds to `found`, in search order.
// With `fileSystem64`, the file-system redirection is off for the whole search.
void RunFileSearch(DetectionSystem& system, const FileSearchTarget& target, const VersionRange& range,
                   bool fileSystem64, std::vector<std::u16string>& found);

// The four parts of a version as "%d.%d.%d.%d".
std::u16string FourPartText(const VersionNumber& version);

}  // namespace maglorin
