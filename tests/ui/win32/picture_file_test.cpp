// Picture files as the Windows program opens them, against the real picture service: oversized
// or damaged bitmaps and JPEGs are refused with the decoder's reason, while metafiles still open
// through the service.
#include "ui/win32/picture_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace maglorin::win32 {
namespace {

namespace fs = std::filesystem;

class PictureFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / (std::string("maglorin-picture-file-") +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::wstring Write(const wchar_t* name, const std::vector<std::uint8_t>& bytes) const {
        const fs::path path = folder_ / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.wstring();
    }
    std::wstring Path(const wchar_t* name) const { return (folder_ / name).wstring(); }

    fs::path folder_;
};

// A 24-bit BMP header claiming width x height, followed by `pixelBytes` bytes of zeros.
std::vector<std::uint8_t> Bmp(std::int32_t width, std::int32_t height, std::size_t pixelBytes) {
    std::vector<std::uint8_t> b(54 + pixelBytes, 0);
    const auto put32 = [&b](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<std::uint32_t>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    b[26] = 1;
    b[28] = 24;
    return b;
}

TEST_F(PictureFiles, OversizedOrDamagedBitmapsAndJpegsAreRefusedWithTheDecodersReason) {
    DecodedPicture picture;
    std::wstring error;
    // 7,995,404 x 8 pixels claimed by a 66-byte file: the service would draw it at full size.
    EXPECT_FALSE(LoadPictureFile(Write(L"wide.bmp", Bmp(7995404, 8, 12)), picture, error));
    EXPECT_NE(error.find(L"too large"), std::wstring::npos) << error;
    EXPECT_TRUE(picture.Empty());
    // A damaged JPEG (its Huffman table segment ends at once).
    error.clear();
    EXPECT_FALSE(LoadPictureFile(Write(L"bad.jpg", {0xFF, 0xD8, 0xFF, 0xC4, 0x00, 0x13, 0x00, 0xFF, 0xFF}),
                                 picture, error));
    EXPECT_NE(error.find(L"JPEG"), std::wstring::npos) << error;
    EXPECT_TRUE(picture.Empty());
}

TEST_F(PictureFiles, BitmapsDecodeAndMetafilesOpenThroughTheService) {
    DecodedPicture picture;
    std::wstring error;
    std::vector<std::uint8_t> small = Bmp(2, 1, 8);
    small[54 + 2] = 0xFF;  // left pixel red
    ASSERT_TRUE(LoadPictureFile(Write(L"small.bmp", small), picture, error)) << error;
    EXPECT_EQ(picture.width, 2);
    EXPECT_EQ(picture.pixels.at(0), 0x00FF0000u);

    const std::wstring metafile = Path(L"blue.emf");
    HDC dc = CreateEnhMetaFileW(nullptr, metafile.c_str(), nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(20, 40, 200));
    const RECT all{0, 0, 120, 90};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
    ASSERT_TRUE(LoadPictureFile(metafile, picture, error)) << error;
    EXPECT_FALSE(picture.Empty());
}

}  // namespace
}  // namespace maglorin::win32
