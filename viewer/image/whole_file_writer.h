#pragma once
// Writes a finished file in one go: the bytes go to a temporary file beside the target, which
// replaces the target only once it is complete. A failed write leaves any earlier file of that
// name as it was and no incomplete file behind.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace maglorin {

enum class WholeFileResult {
    Written,
    CannotCreate,   // the temporary file could not be created
    CannotWrite,    // writing it failed (a full disk): removed again
    CannotReplace,  // the complete file could not take the target's name: removed again
};

// The temporary name the bytes are written under: the target's name with ".partial" added.
std::filesystem::path PartialFilePath(const std::filesystem::path& path);

[[nodiscard]] WholeFileResult WriteWholeFile(const std::filesystem::path& path,
                                             const std::vector<std::uint8_t>& bytes);

}  // namespace maglorin
