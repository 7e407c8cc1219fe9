#pragma once
// The program's off-screen picture: Width x Height 32-bit words 0x00RRGGBB (blue in the lowest
// byte, top byte 0 after clearing), rows of exactly Width words without padding. The owner hands
// in a PixelView that Create attaches to the words and Delete detaches again, so the fillers
// address pixels as Pixels(x, y) without a call or a copy per pixel.
//
// Orientation: with BottomUp false row y = 0 is the top row of the picture (frame, background,
// previews); with BottomUp true it is the bottom row (material textures).
//
// Errors are caught inside each operation and shown through NotifyError with fixed texts; the
// caller is not told (it checks Live() where it cares).

#include <cstdint>
#include <vector>

#include "decoded_picture.h"

namespace maglorin {

// The caller's (x, y) view of a surface's words; element (x, y) is word y * width + x.
struct PixelView {
    std::uint32_t* data = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;

    std::uint32_t& operator()(int x, int y) const { return data[y * width + x]; }
    bool Attached() const { return data != nullptr; }
    // True when (x, y) lies on the surface; the fillers skip accesses outside it.
    bool Contains(int x, int y) const {
        return Attached() && x >= 0 && y >= 0 && x < width && y < height;
    }
};

inline constexpr const char* kCreateErrorText = "Error: clsDIB > Create";
inline constexpr const char* kCreateFromPictureErrorText = "clsDIB > CreateFromPictureBox";
inline constexpr const char* kClearErrorText = "Error: clsDIB > Clear";
inline constexpr const char* kDeleteErrorText = "Error: clsDIB > Delete";

class clsDIB {
public:
    clsDIB() = default;
    // Moving keeps the words where they are, so views attached to a moved surface stay valid.
    clsDIB(clsDIB&&) noexcept = default;
    clsDIB& operator=(clsDIB&&) noexcept = default;
    clsDIB(const clsDIB&) = delete;
    clsDIB& operator=(const clsDIB&) = delete;

    // Deletes first, then makes a black surface and attaches `Pixels` to it. A width or height
    // of 0 (or below) leaves the surface empty and `Pixels` detached; a byte size beyond the
    // 32-bit range is an error.
    void Create(std::int32_t NewWidth, std::int32_t NewHeight, PixelView& Pixels, bool BottomUp);

    // Create, then draw `Picture` scaled to the whole surface with the halftone resampler.
    void CreateFromPictureBox(const DecodedPicture& Picture, std::int32_t NewWidth,
                              std::int32_t NewHeight, PixelView& Pixels, bool BottomUp);

    // Sets every word to 0; an error when `Pixels` is not attached.
    void Clear(PixelView& Pixels);

    // Detaches `Pixels` and frees the words; on an empty surface only `Pixels` is erased.
    void Delete(PixelView& Pixels);

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    bool BottomUp() const { return bottomUp_; }
    bool Live() const { return !words_.empty(); }
    std::uint32_t* Data() { return Live() ? words_.data() : nullptr; }
    const std::uint32_t* Data() const { return Live() ? words_.data() : nullptr; }
    // A view of this surface's words (detached when the surface is empty).
    PixelView View();

private:
    bool Allocate(std::int32_t newWidth, std::int32_t newHeight);

    std::vector<std::uint32_t> words_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t byteSize_ = 0;
    bool bottomUp_ = false;
};

}  // namespace maglorin
