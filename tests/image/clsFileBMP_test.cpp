// The BMP writer: exact header fields, stride and padding, row order, checked byte by byte and
// against stb_image's decoder.
#include "image/clsFileBMP.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "image/picture_decoder.h"

namespace maglorin {
namespace {

std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) |
           (std::uint32_t{b[at + 2]} << 16) | (std::uint32_t{b[at + 3]} << 24);
}

std::uint16_t U16At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// A canvas whose every pixel tells where it is: red = x, green = y, blue = 0x5A.
void FillCanvas(clsDIB& surface, PixelView& pixels, std::int32_t width, std::int32_t height) {
    surface.Create(width, height, pixels, false);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            pixels(x, y) = (static_cast<std::uint32_t>(x & 0xFF) << 16) |
                           (static_cast<std::uint32_t>(y & 0xFF) << 8) | 0x5A;
        }
    }
}

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

struct LayoutCase {
    std::int32_t canvasWidth;
    std::int32_t canvasHeight;
    std::uint32_t stride;
};

class BitmapLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(BitmapLayout, HeadersStrideAndPaddingHoldTheWholeCanvas) {
    const LayoutCase c = GetParam();
    clsDIB surface;
    PixelView pixels;
    FillCanvas(surface, pixels, c.canvasWidth, c.canvasHeight);
    const auto bytes = EncodeBMP24(surface, c.canvasWidth, c.canvasHeight);
    const std::uint32_t dataSize = c.stride * static_cast<std::uint32_t>(c.canvasHeight);
    ASSERT_EQ(bytes.size(), 54u + dataSize);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(U32At(bytes, 2), 54u + dataSize);
    EXPECT_EQ(U32At(bytes, 6), 0u);
    EXPECT_EQ(U32At(bytes, 10), 54u);
    EXPECT_EQ(U32At(bytes, 14), 40u);
    EXPECT_EQ(U32At(bytes, 18), static_cast<std::uint32_t>(c.canvasWidth));
    EXPECT_EQ(U32At(bytes, 22), static_cast<std::uint32_t>(c.canvasHeight));
    EXPECT_EQ(U16At(bytes, 26), 1);
    EXPECT_EQ(U16At(bytes, 28), 24);
    for (std::size_t at = 30; at < 54; at += 4) {
        EXPECT_EQ(U32At(bytes, at), 0u) << "field at " << at;
    }
    for (std::int32_t k = 0; k < c.canvasHeight; ++k) {
        const std::size_t row = 54 + static_cast<std::size_t>(k) * c.stride;
        const std::int32_t surfaceRow = c.canvasHeight - 1 - k;  // lowest row first
        for (std::int32_t x = 0; x < c.canvasWidth; ++x) {
            ASSERT_EQ(bytes[row + x * 3 + 0], 0x5A);
            ASSERT_EQ(bytes[row + x * 3 + 1], surfaceRow & 0xFF);
            ASSERT_EQ(bytes[row + x * 3 + 2], x & 0xFF);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(c.canvasWidth) * 3; pad < c.stride;
             ++pad) {
            ASSERT_EQ(bytes[row + pad], 0) << "padding of row " << k;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Canvases, BitmapLayout,
                         ::testing::Values(LayoutCase{100, 79, 300},  // multiple of 4
                                           LayoutCase{99, 5, 300},    // 3 padding bytes
                                           LayoutCase{101, 80, 304},  // 1 padding byte
                                           LayoutCase{1, 1, 4},
                                           LayoutCase{2, 3, 8}));     // 2 padding bytes

TEST(BitmapFile, WritesTheWholeCanvasThatAnotherDecoderReadsBack) {
    const std::int32_t width = 101;
    const std::int32_t height = 80;
    clsDIB surface;
    PixelView pixels;
    FillCanvas(surface, pixels, width, height);
    const auto path = std::filesystem::temp_directory_path() / "maglorin_frame.bmp";
    clsFileBMP writer;
    ASSERT_TRUE(writer.WriteBMP24(path, surface, width - 1, height - 1)) << writer.LastError();
    const auto bytes = ReadAll(path);
    std::filesystem::remove(path);
    EXPECT_EQ(bytes.size(), 54u + 304u * 80u);

    DecodedPicture decoded;
    std::string error;
    ASSERT_TRUE(DecodePictureMemory(bytes.data(), bytes.size(), decoded, error)) << error;
    ASSERT_EQ(decoded.width, width);
    ASSERT_EQ(decoded.height, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            ASSERT_EQ(decoded.At(x, y), pixels(x, y)) << x << "," << y;
        }
    }
}

#if !defined(_WIN32)
std::string RunAndRead(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
            output += buffer;
        }
        pclose(pipe);
    }
    return output;
}

// ImageMagick reads the size and finds the surface's top-left and bottom-right pixels where
// they belong (an odd width, so every row carries padding).
TEST(BitmapFile, ImageMagickReadsTheSameCanvas) {
    if (RunAndRead("command -v identify").empty()) {
        GTEST_SKIP() << "ImageMagick is not installed";
    }
    clsDIB surface;
    PixelView pixels;
    FillCanvas(surface, pixels, 99, 5);
    const auto path = std::filesystem::temp_directory_path() / "maglorin_magick.bmp";
    clsFileBMP writer;
    ASSERT_TRUE(writer.WriteBMP24(path, surface, 98, 4));
    const std::string file = "'" + path.string() + "'";
    EXPECT_EQ(RunAndRead("identify -format '%w %h' " + file), "99 5");
    EXPECT_EQ(RunAndRead("identify -format '%[pixel:p{0,0}]' " + file),
              "srgb(0,0,90)");
    EXPECT_EQ(RunAndRead("identify -format '%[pixel:p{98,4}]' " + file),
              "srgb(98,4,90)");
    std::filesystem::remove(path);
}
#endif

TEST(BitmapFile, AnUnwritablePlaceLeavesNoFileAndSaysSo) {
    clsDIB surface;
    PixelView pixels;
    FillCanvas(surface, pixels, 4, 4);
    clsFileBMP writer;
    const auto path = std::filesystem::temp_directory_path() / "no_such_folder_x" / "f.bmp";
    EXPECT_FALSE(writer.WriteBMP24(path, surface, 3, 3));
    EXPECT_FALSE(writer.LastError().empty());
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(BitmapFile, AnEmptyCanvasIsRefused) {
    clsDIB surface;
    clsFileBMP writer;
    const auto path = std::filesystem::temp_directory_path() / "maglorin_empty.bmp";
    EXPECT_FALSE(writer.WriteBMP24(path, surface, -1, -1));
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace maglorin
