#include "picture_decode_bench.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "image/halftone_resampler.h"
#include "image/picture_decoder.h"
#include "stb_jpeg_reference.h"

namespace maglorin::render_bench {

namespace {

constexpr int kPictureWidth = 4096;
constexpr int kPictureHeight = 3072;

// A photograph-like picture: smooth gradients with fine detail, so the entropy coder and the
// IDCT both have work to do.
DecodedPicture LargePicture() {
    DecodedPicture picture{kPictureWidth, kPictureHeight, {}};
    picture.pixels.reserve(static_cast<std::size_t>(kPictureWidth) * kPictureHeight);
    std::uint32_t noise = 12345;
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const std::uint32_t grain = (noise >> 28) & 0x0F;
            const std::uint32_t r = (static_cast<std::uint32_t>(x * 255 / kPictureWidth) + grain) & 0xFF;
            const std::uint32_t g = (static_cast<std::uint32_t>(y * 255 / kPictureHeight) + grain) & 0xFF;
            const std::uint32_t b = static_cast<std::uint32_t>((x ^ y) & 0xFF);
            picture.pixels.push_back(r << 16 | g << 8 | b);
        }
    }
    return picture;
}

std::vector<std::uint8_t> EncodedLargeJpeg() {
    const auto path = std::filesystem::temp_directory_path() / "maglorin-render-bench.jpg";
    std::vector<std::uint8_t> bytes;
    if (!WritePictureJpeg(path, LargePicture(), 90)) return bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return bytes;
}

}  // namespace

void PrintPictureDecodeRows(int rounds, int width, int height,
                            const std::function<double(int, const std::function<void()>&)>& timer) {
    const std::vector<std::uint8_t> jpeg = EncodedLargeJpeg();
    DecodedPicture decoded;
    std::string error;
    if (jpeg.empty() || !DecodePictureMemory(jpeg.data(), jpeg.size(), decoded, error) ||
        DecodeJpegWithStb(jpeg.data(), jpeg.size()) != decoded.pixels.size()) {
        std::printf("picture decoding: cannot make or decode the test JPEG (%s)\n", error.c_str());
        return;
    }
    const double ours = timer(rounds, [&] {
        DecodedPicture picture;
        std::string reason;
        if (!DecodePictureMemory(jpeg.data(), jpeg.size(), picture, reason)) std::abort();
    });
    const double stb = timer(rounds, [&] {
        if (DecodeJpegWithStb(jpeg.data(), jpeg.size()) == 0) std::abort();
    });
    std::vector<std::uint32_t> target(static_cast<std::size_t>(width) * height);
    const double resample = timer(rounds, [&] { HalftoneResample(decoded, width, height, false, target.data()); });
    const double megapixels = static_cast<double>(decoded.pixels.size()) / 1.0e6;
    std::printf("JPEG %dx%d (%.1f MB, quality 90, 4:2:0), fastest of 3 rounds of %d decodes:\n", kPictureWidth,
                kPictureHeight, static_cast<double>(jpeg.size()) / 1.0e6, rounds);
    std::printf("  %-38s %9.3f ms %7.1f Mpixel/s\n", "viewer decoder (libjpeg-turbo, ISLOW)", ours, megapixels / ours * 1000.0);
    std::printf("  %-38s %9.3f ms %7.1f Mpixel/s  (x %.2f)\n", "stb_image JPEG decoder", stb, megapixels / stb * 1000.0,
                stb / ours);
    std::printf("  %-38s %9.3f ms\n\n", ("halftone to " + std::to_string(width) + "x" + std::to_string(height)).c_str(),
                resample);
}

}  // namespace maglorin::render_bench
