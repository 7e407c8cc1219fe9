#pragma once
// Saves a top-down frame surface as an uncompressed 24-bit Windows bitmap: 14-byte file header,
// 40-byte information header, then rows bottom row first, 3 bytes per pixel (blue, green, red)
// padded with zero bytes to a multiple of 4.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "image/clsDIB.h"

namespace maglorin {

class clsFileBMP {
public:
    // Writes the whole canvas: ClipRight + 1 columns and ClipBottom + 1 rows of `frame`, the
    // lowest surface row first. False (and no file left behind) when the size does not fit the
    // format or the file cannot be written; LastError() says why.
    bool WriteBMP24(const std::filesystem::path& FileName, const clsDIB& frame,
                    std::int32_t clipRight, std::int32_t clipBottom);

    const std::string& LastError() const { return error_; }

private:
    std::string error_;
};

// The file's bytes for a picture of `width` x `height` pixels taken from `frame` (pixels outside
// the surface are black). Empty when the size does not fit the format.
std::vector<std::uint8_t> EncodeBMP24(const clsDIB& frame, std::int32_t width,
                                      std::int32_t height);

}  // namespace maglorin
