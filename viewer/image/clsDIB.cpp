#include "clsDIB.h"

#include <algorithm>
#include <limits>
#include <new>
#include <stdexcept>

#include "error_notice.h"
#include "halftone_resampler.h"

namespace maglorin {

namespace {

void Detach(PixelView& pixels) { pixels = PixelView{}; }

}  // namespace

PixelView clsDIB::View() {
    if (!Live()) {
        return PixelView{};
    }
    return PixelView{words_.data(), width_, height_};
}

// False when the size leaves no usable surface; throws when the byte size does not fit 32 bits
// or the memory cannot be had.
bool clsDIB::Allocate(std::int32_t newWidth, std::int32_t newHeight) {
    const std::int64_t bytes = std::int64_t{newWidth} * std::int64_t{newHeight} * 4;
    if (bytes > std::numeric_limits<std::int32_t>::max() ||
        bytes < std::numeric_limits<std::int32_t>::min()) {
        throw std::overflow_error("surface byte size beyond 32 bits");
    }
    byteSize_ = static_cast<std::int32_t>(bytes);
    if (newWidth <= 0 || newHeight <= 0) {
        return false;
    }
    words_.assign(static_cast<std::size_t>(newWidth) * static_cast<std::size_t>(newHeight), 0u);
    return true;
}

void clsDIB::Create(std::int32_t NewWidth, std::int32_t NewHeight, PixelView& Pixels,
                    bool BottomUp) {
    Delete(Pixels);
    try {
        width_ = NewWidth;
        height_ = NewHeight;
        bottomUp_ = BottomUp;
        if (Allocate(NewWidth, NewHeight)) {
            Pixels = View();
        }
    } catch (const std::exception&) {
        words_ = {};
        byteSize_ = 0;
        Detach(Pixels);
        NotifyError(kCreateErrorText);
    }
}

void clsDIB::CreateFromPictureBox(const DecodedPicture& Picture, std::int32_t NewWidth,
                                  std::int32_t NewHeight, PixelView& Pixels, bool BottomUp) {
    Create(NewWidth, NewHeight, Pixels, BottomUp);
    if (!Live()) {
        return;
    }
    try {
        if (Picture.Empty() ||
            Picture.pixels.size() != static_cast<std::size_t>(Picture.width) *
                                         static_cast<std::size_t>(Picture.height)) {
            throw std::invalid_argument("no picture to draw");
        }
        HalftoneResample(Picture, width_, height_, bottomUp_, words_.data());
    } catch (const std::exception&) {
        NotifyError(kCreateFromPictureErrorText);
    }
}

void clsDIB::Clear(PixelView& Pixels) {
    if (!Pixels.Attached() || !Live()) {
        NotifyError(kClearErrorText);
        return;
    }
    std::fill(words_.begin(), words_.end(), 0u);
}

void clsDIB::Delete(PixelView& Pixels) {
    Detach(Pixels);
    words_ = {};
    byteSize_ = 0;
}

}  // namespace maglorin
