// Picture files: PNG and JPEG written and read back, refusals of missing and broken files.
#include "image/picture_decoder.h"
#include "image/png_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace maglorin {
namespace {

std::filesystem::path TempFile(const char* name) {
    return std::filesystem::temp_directory_path() / name;
}

DecodedPicture Gradient(std::int32_t width, std::int32_t height) {
    DecodedPicture picture{width, height, {}};
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            picture.pixels.push_back((static_cast<std::uint32_t>(x * 8) << 16) |
                                     (static_cast<std::uint32_t>(y * 8) << 8) | 0x40);
        }
    }
    return picture;
}

TEST(PictureFiles, PngKeepsEveryPixelAndTheTopRowFirst) {
    const DecodedPicture original = Gradient(7, 5);
    const auto path = TempFile("maglorin_picture.png");
    ASSERT_TRUE(WritePicturePng(path, original));
    DecodedPicture read;
    std::string error;
    ASSERT_TRUE(ReadPngFile(path, read, error)) << error;
    std::filesystem::remove(path);
    EXPECT_EQ(read.width, 7);
    EXPECT_EQ(read.height, 5);
    EXPECT_EQ(read.pixels, original.pixels);
}

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A PNG whose chunk claims more bytes than the file holds is refused before the reader reserves
// the claimed size; trailing bytes after the end marker do not matter.
TEST(PictureFiles, PngChunksMustFitTheFile) {
    const auto path = TempFile("maglorin_chunks.png");
    ASSERT_TRUE(WritePicturePng(path, Gradient(9, 4)));
    std::vector<std::uint8_t> bytes = ReadAll(path);
    std::filesystem::remove(path);
    ASSERT_GT(bytes.size(), 33u + 12u);
    DecodedPicture read;
    std::string error;

    std::vector<std::uint8_t> trailing = bytes;
    trailing.insert(trailing.end(), {1, 2, 3});
    EXPECT_TRUE(ReadPngMemory(trailing.data(), trailing.size(), read, error)) << error;

    // The chunk after the header (at byte 33) claims 1.5 GB.
    std::vector<std::uint8_t> claiming = bytes;
    claiming[33] = 0x60;
    EXPECT_FALSE(ReadPngMemory(claiming.data(), claiming.size(), read, error));
    EXPECT_EQ(error, "damaged PNG file");
    EXPECT_TRUE(read.Empty());

    std::vector<std::uint8_t> cut(bytes.begin(), bytes.end() - 6);  // the end marker is cut off
    EXPECT_FALSE(ReadPngMemory(cut.data(), cut.size(), read, error));
}

TEST(PictureFiles, JpegComesBackCloseToTheOriginal) {
    const DecodedPicture original = Gradient(16, 16);
    const auto path = TempFile("maglorin_picture.jpg");
    ASSERT_TRUE(WritePictureJpeg(path, original, 95));
    DecodedPicture read;
    std::string error;
    ASSERT_TRUE(DecodePictureFile(path, read, error)) << error;
    std::filesystem::remove(path);
    ASSERT_EQ(read.pixels.size(), original.pixels.size());
    for (std::size_t i = 0; i < read.pixels.size(); ++i) {
        for (int shift : {0, 8, 16}) {
            const int a = static_cast<int>((read.pixels[i] >> shift) & 0xFF);
            const int b = static_cast<int>((original.pixels[i] >> shift) & 0xFF);
            ASSERT_LE(std::abs(a - b), 12) << "pixel " << i;
        }
    }
}

TEST(PictureFiles, MissingEmptyAndBrokenFilesAreRefused) {
    DecodedPicture picture = Gradient(2, 2);
    std::string error;
    EXPECT_FALSE(DecodePictureFile(TempFile("maglorin_no_such_picture.jpg"), picture, error));
    EXPECT_TRUE(picture.Empty());
    EXPECT_FALSE(error.empty());

    const auto broken = TempFile("maglorin_broken.jpg");
    {
        std::ofstream file(broken, std::ios::binary);
        file << "\xFF\xD8\xFF\xE0 not really a picture";
    }
    error.clear();
    EXPECT_FALSE(DecodePictureFile(broken, picture, error));
    EXPECT_FALSE(error.empty());
    std::ofstream(broken, std::ios::binary | std::ios::trunc).close();
    EXPECT_FALSE(DecodePictureFile(broken, picture, error));
    std::filesystem::remove(broken);
}

TEST(PictureFiles, NothingIsWrittenForAnEmptyPictureOrAMissingFolder) {
    const auto path = TempFile("maglorin_empty.png");
    EXPECT_FALSE(WritePicturePng(path, DecodedPicture{}));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(WritePicturePng(TempFile("no_such_folder_q") / "a.png", Gradient(2, 2)));
}

}  // namespace
}  // namespace maglorin
