#pragma once
// Writes a finished file in one go. A file that could not be written completely is removed, so
// nothing incomplete is left looking like a finished picture.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace maglorin {

enum class WholeFileResult { Written, CannotCreate, CannotWrite };

WholeFileResult WriteWholeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

}  // namespace maglorin
