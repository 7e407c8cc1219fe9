#pragma once
// Reading of PNG files that the project's own tools wrote (reference frames, rendered frames,
// the texture template). Not a loader of user pictures: the viewer never reads PNG.

#include <filesystem>
#include <string>

#include "decoded_picture.h"

namespace maglorin {

// Reads the PNG file at `path` into `picture`; false (and `picture` emptied) with the reason in
// `error` when the file cannot be read or is not a PNG picture within the picture ceiling.
[[nodiscard]] bool ReadPngFile(const std::filesystem::path& path, DecodedPicture& picture,
                               std::string& error);

}  // namespace maglorin
