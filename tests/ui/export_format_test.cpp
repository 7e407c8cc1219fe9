// Which format the export writes for the dialog's answer: the extension typed, else the type chosen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/clsFileBMP.h"
#include "image/picture_decoder.h"
#include "ui/dialog_filter.h"
#include "ui/export_format.h"

namespace maglorin {
namespace {

TEST(ExportFormat, TheTypedExtensionDecidesElseTheChosenFileType) {
    struct Case {
        unsigned filterIndex;
        std::wstring name;
        ExportFormat expected;
    };
    const std::vector<Case> cases = {
        {1, L"C:\\out\\frame.bmp", ExportFormat::Bmp},
        {2, L"C:\\out\\frame.png", ExportFormat::Png},
        {1, L"C:\\out\\frame.png", ExportFormat::Png},
        {2, L"C:\\out\\frame.bmp", ExportFormat::Bmp},
        {1, L"C:\\out\\FRAME.PNG", ExportFormat::Png},
        {2, L"C:\\out\\Frame.Bmp", ExportFormat::Bmp},
        {2, L"C:\\out\\frame", ExportFormat::Png},
        {1, L"C:\\out\\frame", ExportFormat::Bmp},
        {0, L"C:\\out\\frame", ExportFormat::Bmp},
        {3, L"C:\\out\\frame", ExportFormat::Bmp},
        {2, L"C:\\out\\frame.jpg", ExportFormat::Png},
        {1, L"C:\\out\\frame.png.jpg", ExportFormat::Bmp},
        // A dot in a folder name is not an extension.
        {2, L"C:\\shots.bmp\\frame", ExportFormat::Png},
        {1, L"C:/shots.png/frame", ExportFormat::Bmp},
        {2, L"", ExportFormat::Png},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseExportFormat(c.filterIndex, c.name), c.expected)
            << std::string(c.name.begin(), c.name.end()) << " index " << c.filterIndex;
    }
}

TEST(ExportFormat, TheDialogListsTheBitmapAsBeforeThenPng) {
    using namespace std::string_literals;
    EXPECT_EQ(ConvertFilter(kExportFilter), L"24-bit Bitmap \0*.bmp\0PNG Image (*.png)\0*.png\0"s);
}

// The extension the save dialog adds follows the file type chosen.
TEST(ExportFormat, EachFileTypeAddsTheExtensionOfItsFirstPattern) {
    struct Case {
        std::wstring filter;
        unsigned index;
        std::wstring expected;
    };
    const std::vector<Case> cases = {
        {kExportFilter, 1, L"bmp"},
        {kExportFilter, 2, L"png"},
        {kExportFilter, 3, L""},
        {kExportFilter, 0, L""},
        {L"Pictures|*.jpg;*.jpeg|All Files (*.*)|*.*", 1, L"jpg"},
        {L"Pictures|*.jpg;*.jpeg|All Files (*.*)|*.*", 2, L""},
        {L"JPEG Images (*.jpg)|*.jpg,*.jpeg|", 1, L"jpg"},
        {L"Spaced| *.tga |", 1, L"tga"},
        {L"Any|*|Odd|*.t?a|Two dots|*.tar.gz", 1, L""},
        {L"Any|*|Odd|*.t?a|Two dots|*.tar.gz", 2, L""},
        {L"Any|*|Odd|*.t?a|Two dots|*.tar.gz", 3, L""},
        {L"No pattern", 1, L""},
        {L"", 1, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FilterDefaultExtension(c.filter, c.index), c.expected)
            << std::string(c.filter.begin(), c.filter.end()) << " #" << c.index;
    }
}

// A name typed without extension gets that of the file type chosen, and only such a name.
TEST(ExportFormat, ATypedNameIsCompletedOnlyWhenItHasNoExtension) {
    EXPECT_EQ(FilterEntryCount(kExportFilter), 2u);
    EXPECT_EQ(FilterEntryCount(L"24-bit Bitmap |*.bmp"), 1u);
    EXPECT_EQ(FilterEntryCount(L"24-bit Bitmap |*.bmp|"), 1u);
    EXPECT_EQ(FilterEntryCount(L""), 0u);
    struct Case {
        std::wstring name;
        std::wstring extension;
        std::wstring expected;
    };
    const std::vector<Case> cases = {
        {L"C:\\out\\frame", L"png", L"C:\\out\\frame.png"},
        {L"C:\\out\\frame.bmp", L"png", L"C:\\out\\frame.bmp"},
        {L"C:\\out\\frame.v2", L"bmp", L"C:\\out\\frame.v2"},
        {L"C:\\my.shots\\frame", L"bmp", L"C:\\my.shots\\frame.bmp"},
        {L"C:/my.shots/frame", L"png", L"C:/my.shots/frame.png"},
        {L"frame", L"", L"frame"},
        {L"C:\\out\\", L"png", L"C:\\out\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WithDefaultExtension(c.name, c.extension), c.expected) << std::string(c.name.begin(), c.name.end());
    }
}

// The PNG export's pixels are those the bitmap export writes, for a full frame and for clip
// rectangles smaller and larger than the surface.
TEST(ExportFormat, FramePictureHoldsWhatTheBitmapExportWrites) {
    clsDIB frame;
    PixelView pixels;
    frame.Create(5, 4, pixels, false);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) pixels(x, y) = 0xFF000000u | static_cast<std::uint32_t>(0x102030 * (1 + x + 5 * y));
    }
    struct Clip {
        std::int32_t right, bottom;
    };
    for (const Clip clip : {Clip{4, 3}, Clip{2, 1}, Clip{0, 0}, Clip{4, 0}}) {
        const DecodedPicture picture = FramePicture(frame, clip.right, clip.bottom);
        ASSERT_EQ(picture.width, clip.right + 1);
        ASSERT_EQ(picture.height, clip.bottom + 1);
        const std::vector<std::uint8_t> bitmap = EncodeBMP24(frame, clip.right + 1, clip.bottom + 1);
        DecodedPicture decoded;
        std::string error;
        ASSERT_TRUE(DecodePictureMemory(bitmap.data(), bitmap.size(), decoded, error)) << error;
        EXPECT_EQ(picture.pixels, decoded.pixels) << "clip " << clip.right << "," << clip.bottom;
    }
    // The bottom row is the frame's bottom row, without the unused top byte.
    const DecodedPicture corner = FramePicture(frame, 0, 0);
    EXPECT_EQ(corner.pixels.at(0), (0x102030u * 16u) & 0x00FFFFFFu);
    // Nothing to write: an empty picture, never a read outside the surface.
    EXPECT_TRUE(FramePicture(frame, 5, 3).Empty());
    EXPECT_TRUE(FramePicture(frame, 4, 4).Empty());
    EXPECT_TRUE(FramePicture(frame, -1, 3).Empty());
    EXPECT_TRUE(FramePicture(clsDIB(), 4, 3).Empty());
}

}  // namespace
}  // namespace maglorin
