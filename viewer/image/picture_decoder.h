#pragma once
// Decoding of the picture files the viewer takes (JPEG, BMP and DIB, GIF), recognised by their
// content whatever their name, and writing of PNG and JPEG files for tools and tests.

#include <cstdint>
#include <filesystem>
#include <string>

#include "decoded_picture.h"

namespace maglorin {

// Decodes the file at `path` into `picture`; false (and `picture` emptied) when the file cannot
// be read, is not a picture of those kinds, holds no pixels or claims a size beyond the picture
// ceiling (checked before any pixel memory is allocated). `error` receives the reason. Paths are opened through
// the standard library, so names outside the system code page work on Windows too.
bool DecodePictureFile(const std::filesystem::path& path, DecodedPicture& picture,
                       std::string& error);

// Same for a picture held in memory.
bool DecodePictureMemory(const std::uint8_t* data, std::size_t size, DecodedPicture& picture,
                         std::string& error);

// Writes `picture` as a PNG or JPEG file (quality 1..100). False when the file cannot be written;
// a file that could not be written completely is removed.
bool WritePicturePng(const std::filesystem::path& path, const DecodedPicture& picture);
bool WritePictureJpeg(const std::filesystem::path& path, const DecodedPicture& picture,
                      int quality);

}  // namespace maglorin
