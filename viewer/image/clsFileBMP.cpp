#include "image/clsFileBMP.h"
#include "image/whole_file_writer.h"

#include <fstream>
#include <limits>
#include <system_error>

namespace maglorin {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

void PutU16(std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t value) {
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Both headers; every field not set here is 0 (image size, resolutions, colours).
void PutHeaders(std::vector<std::uint8_t>& out, std::uint32_t fileSize, std::int32_t width,
                std::int32_t height) {
    PutU16(out, 0, 0x4D42);  // "BM"
    PutU32(out, 2, fileSize);
    PutU32(out, 10, kFileHeaderSize + kInfoHeaderSize);
    PutU32(out, 14, kInfoHeaderSize);
    PutU32(out, 18, static_cast<std::uint32_t>(width));
    PutU32(out, 22, static_cast<std::uint32_t>(height));  // positive: bottom row first
    PutU16(out, 26, 1);
    PutU16(out, 28, 24);
}

std::uint32_t PixelAt(const clsDIB& frame, std::int32_t x, std::int32_t y) {
    if (!frame.Live() || x < 0 || y < 0 || x >= frame.Width() || y >= frame.Height()) {
        return 0;
    }
    return frame.Data()[static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.Width()) +
                        static_cast<std::size_t>(x)];
}

}  // namespace

std::vector<std::uint8_t> EncodeBMP24(const clsDIB& frame, std::int32_t width,
                                      std::int32_t height) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    const std::int64_t stride = ((std::int64_t{width} * 24 + 31) / 32) * 4;
    const std::int64_t fileSize = kFileHeaderSize + kInfoHeaderSize + stride * height;
    if (fileSize > std::numeric_limits<std::int32_t>::max()) {
        return {};
    }
    std::vector<std::uint8_t> out(static_cast<std::size_t>(fileSize), 0);
    PutHeaders(out, static_cast<std::uint32_t>(fileSize), width, height);
    // File row k is the k-th row from the bottom of the surface (the surface is top-down).
    const std::int32_t bottom = frame.Height() - 1;
    for (std::int32_t k = 0; k < height; ++k) {
        std::size_t at = kFileHeaderSize + kInfoHeaderSize + static_cast<std::size_t>(k * stride);
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t word = PixelAt(frame, x, bottom - k);
            out[at++] = static_cast<std::uint8_t>(word);
            out[at++] = static_cast<std::uint8_t>(word >> 8);
            out[at++] = static_cast<std::uint8_t>(word >> 16);
        }
    }
    return out;
}

bool clsFileBMP::WriteBMP24(const std::filesystem::path& FileName, const clsDIB& frame,
                            std::int32_t clipRight, std::int32_t clipBottom) {
    error_.clear();
    const std::int64_t width = std::int64_t{clipRight} + 1;
    const std::int64_t height = std::int64_t{clipBottom} + 1;
    if (width > std::numeric_limits<std::int32_t>::max() ||
        height > std::numeric_limits<std::int32_t>::max()) {
        error_ = "the picture is too large for a bitmap file";
        return false;
    }
    const std::vector<std::uint8_t> bytes =
        EncodeBMP24(frame, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    if (bytes.empty()) {
        error_ = "the picture has no pixels or is too large for a bitmap file";
        return false;
    }
    switch (WriteWholeFile(FileName, bytes)) {
    case WholeFileResult::Written:
        return true;
    case WholeFileResult::CannotCreate:
        error_ = "cannot create the bitmap file";
        return false;
    case WholeFileResult::CannotWrite:
        error_ = "cannot write the bitmap file";
        return false;
    case WholeFileResult::CannotReplace:
        error_ = "cannot replace the existing bitmap file";
        return false;
    }
    return false;
}

}  // namespace maglorin
