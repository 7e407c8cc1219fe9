#pragma once
// The free-space check before a file is written, the same check the extraction library makes:
// ask for the bytes available to the caller on the folder, walking up to the parent folder
// while the question cannot be answered; it passes only when the size needed is strictly less.

#include <cstdint>
#include <optional>

#include "extraction_paths.h"

namespace maglorin {

class FreeSpaceQuery {
public:
    virtual ~FreeSpaceQuery() = default;
    // Bytes available to the caller on the volume of path; nullopt when the system cannot tell.
    virtual std::optional<std::uint64_t> FreeBytes(PathTextView path) = 0;
};

[[nodiscard]] bool HasRoomFor(FreeSpaceQuery& query, PathTextView folder, std::uint64_t bytesNeeded);

}  // namespace maglorin
