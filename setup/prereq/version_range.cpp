#include "version_range.h"

#include <algorithm>

namespace maglorin {

namespace {

std::optional<VersionNumber> Bound(std::u16string_view text) {
    const VersionNumber bound = VersionNumber::Parse(text);
    if (bound.IsZero() || bound.IsAllMaximum()) return std::nullopt;
    return bound;
}

}  // namespace

VersionRange::VersionRange(std::u16string_view minimum, std::u16string_view maximum)
    : minimum_(Bound(minimum)), maximum_(Bound(maximum)) {}

bool VersionRange::Admits(std::u16string_view found) const {
    if (IsOpen()) return true;
    const VersionNumber version = VersionNumber::Parse(found);
    if (version.IsZero()) return false;
    if (minimum_ && version < *minimum_) return false;
    if (maximum_ && version > *maximum_) return false;
    return true;
}

bool VersionRange::AdmitsAny(const std::vector<std::u16string>& found) const {
    return std::any_of(found.begin(), found.end(), [this](const std::u16string& text) { return Admits(text); });
}

}  // namespace maglorin
