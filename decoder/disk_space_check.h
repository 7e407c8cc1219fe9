#pragma once
// Whether a file fits on the volume of the output folder, asked of the platform and walking up
// to parent folders while the query fails (the folder may not exist yet).

#include <cstdint>
#include <functional>
#include <optional>

#include "platform.h"

namespace maglorin::decoder {

// Free bytes available to the caller on a path, or empty when the query fails.
using FreeSpaceQuery = std::function<std::optional<std::uint64_t>(const PathString&)>;

// True only when fileSize is strictly less than the free bytes found. A folder beginning with
// two separators (a network path) keeps a final separator; any other loses it. When a query
// fails the path is cut back to its parent; the check fails once no parent is left.
[[nodiscard]] bool HasRoomFor(const PathString& outputFolder, std::uint64_t fileSize, const FreeSpaceQuery& query);

}  // namespace maglorin::decoder
