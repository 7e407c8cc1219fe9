// Picture decoding on any bytes (JPEG, PNG, BMP, GIF through our own decoding path), then the
// halftone resampler from the decoded size to smaller, larger and lopsided targets in both row
// orders: every target pixel written, nothing read or written outside either picture.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "image/halftone_resampler.h"
#include "image/picture_decoder.h"
#include "image/png_reader.h"

namespace {

using namespace maglorin;

constexpr std::size_t kEveryTargetPixels = 4 * 1024;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The headless renderer reads PNG kit pictures with its own reader, the rest through the
// viewer's decoding path; the first byte of the input picks which one (PNG inputs then start
// with their signature's 0x89).
bool Decode(const std::uint8_t* data, std::size_t size, DecodedPicture& picture, std::string& error) {
    if (size > 0 && data[0] == 0x89) return ReadPngMemory(data, size, picture, error);
    return DecodePictureMemory(data, size, picture, error);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DecodedPicture picture;
    std::string error;
    if (!Decode(data, size, picture, error)) {
        Require(picture.Empty());
        return 0;
    }
    Require(!picture.Empty());
    Require(picture.pixels.size() ==
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height));
    const std::int32_t targets[][2] = {
        {7, 5}, {1, 1}, {picture.width < 64 ? picture.width * 2 : 64, 3}, {3, picture.height < 64 ? picture.height + 1 : 64}};
    // Each resample walks every source pixel: a large picture gets one target, so the run spends
    // its time on many inputs rather than on re-reading one big picture eight times.
    const std::size_t targetCount = picture.pixels.size() > kEveryTargetPixels ? 1 : std::size(targets);
    for (std::size_t t = 0; t < targetCount; ++t) {
        const auto& target = targets[t];
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(target[0]) * static_cast<std::size_t>(target[1]),
                                          0xDEADBEEFu);
        for (bool bottomUp : {false, true}) {
            HalftoneResample(picture, target[0], target[1], bottomUp, pixels.data());
            for (std::uint32_t word : pixels) {
                Require((word & 0xFF000000u) == 0);  // every pixel written, as 0x00RRGGBB
            }
        }
    }
    return 0;
}
