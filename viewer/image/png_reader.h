#pragma once
// Reading of PNG files: the project's own (reference frames, rendered frames, the texture
// template) and the kit pictures the headless renderer is given, so any bytes at all.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "decoded_picture.h"

namespace maglorin {

// Reads the PNG file at `path` into `picture`; false (and `picture` emptied) with the reason in
// `error` when the file cannot be read or is not a PNG picture within the picture ceiling.
[[nodiscard]] bool ReadPngFile(const std::filesystem::path& path, DecodedPicture& picture,
                               std::string& error);

// The same for a PNG file already in memory.
[[nodiscard]] bool ReadPngMemory(const std::uint8_t* data, std::size_t size, DecodedPicture& picture,
                                 std::string& error);

}  // namespace maglorin
