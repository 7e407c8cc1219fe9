#pragma once
// The version window of a search: inclusive bounds, each open when it is empty, all zero or all
// 65535. A found version of 0.0.0.0 (or text without digits) is no version.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "version_number.h"

namespace maglorin {

class VersionRange {
public:
    VersionRange(std::u16string_view minimum, std::u16string_view maximum);

    bool IsOpen() const { return !minimum_ && !maximum_; }
    // One found text: any text when both bounds are open; otherwise a valid version inside them.
    bool Admits(std::u16string_view found) const;
    // Absent for an empty list; otherwise some entry is admitted.
    bool AdmitsAny(const std::vector<std::u16string>& found) const;

private:
    std::optional<VersionNumber> minimum_;
    std::optional<VersionNumber> maximum_;
};

}  // namespace maglorin
