// The window layer's portable rules: dialog filter lists, the editor's number fields and the
// mirrored texture previews.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/dialog_filter.h"
#include "ui/field_value.h"
#include "ui/mirror_preview.h"

namespace maglorin {
namespace {

TEST(DialogFilter, BarsBecomeNulsWithOneTrailingEntryEnd) {
    struct Case {
        std::wstring text;
        std::wstring expected;
    };
    using namespace std::string_literals;
    const std::vector<Case> cases = {
        {L"All Files (*.*)|*.*", L"All Files (*.*)\0*.*\0"s},
        {L"24-bit Bitmap |*.bmp|", L"24-bit Bitmap \0*.bmp\0"s},
        {L"Jpg Kit Texture (*.jpg)|*.jpg", L"Jpg Kit Texture (*.jpg)\0*.jpg\0"s},
        {L"A|*.a|B|*.b;*.c", L"A\0*.a\0B\0*.b;*.c\0"s},
        {L"", L"\0"s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertFilter(c.text), c.expected);
    }
}

TEST(FieldValue, NumbersInTheUsersFormatAndZeroForTheRest) {
    struct Case {
        std::wstring text;
        wchar_t separator;
        float expected;
        bool numeric;
    };
    const std::vector<Case> cases = {
        {L"45", L'.', 45.0f, true},
        {L" -0.25 ", L'.', -0.25f, true},
        {L"+3", L'.', 3.0f, true},
        {L".5", L'.', 0.5f, true},
        {L"2.", L'.', 2.0f, true},
        {L"1e3", L'.', 1000.0f, true},
        {L"1,5", L',', 1.5f, true},
        {L"1.5", L',', 0.0f, false},
        {L"UOffset", L'.', 0.0f, false},
        {L"WRotate", L'.', 0.0f, false},
        {L"", L'.', 0.0f, false},
        {L"-", L'.', 0.0f, false},
        {L"1e", L'.', 0.0f, false},
        {L"1.2.3", L'.', 0.0f, false},
        {L"12abc", L'.', 0.0f, false},
        {L"1e60", L'.', 0.0f, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsNumericField(c.text, c.separator), c.numeric) << std::string(c.text.begin(), c.text.end());
        EXPECT_EQ(ParseFieldValue(c.text, c.separator), c.expected)
            << std::string(c.text.begin(), c.text.end());
    }
}

TEST(FieldValue, ShortestFormReadsBackExactly) {
    for (float value : {0.0f, 1.0f, -0.1f, 0.3f, 45.0f, 1.0e-5f, 123456.78f}) {
        const std::wstring text = FormatFieldValue(value, L',');
        EXPECT_EQ(text.find(L'.'), std::wstring::npos);
        EXPECT_EQ(ParseFieldValue(text, L','), value);
    }
    EXPECT_EQ(FormatFieldValue(-0.1f, L'.'), L"-0.1");
    EXPECT_EQ(FormatFieldValue(1.0f, L'.'), L"1");
}

// A 2 x 2 texture with four distinct texels: 1 2 / 3 4 (top row first).
DecodedPicture Texture2x2() {
    DecodedPicture p;
    p.width = 2;
    p.height = 2;
    p.pixels = {1, 2, 3, 4};
    return p;
}

DecodedPicture Blank(std::int32_t w, std::int32_t h, std::uint32_t fill) {
    DecodedPicture p;
    p.width = w;
    p.height = h;
    p.pixels.assign(static_cast<std::size_t>(w * h), fill);
    return p;
}

TEST(MirrorPreview, QuadrantsHoldTheMirroredCopies) {
    DecodedPicture preview = Blank(4, 4, 0xFFu);
    ASSERT_TRUE(FillMirrorPreview(Texture2x2(), kMirrorBoth, preview));
    const std::vector<std::uint32_t> expected = {
        1, 2, 2, 1,
        3, 4, 4, 3,
        3, 4, 4, 3,
        1, 2, 2, 1,
    };
    EXPECT_EQ(preview.pixels, expected);
}

TEST(MirrorPreview, HalvesStretchThePictureAndMirrorIt) {
    // Uniform rows keep the halftone averages exact.
    DecodedPicture stripes;
    stripes.width = 2;
    stripes.height = 2;
    stripes.pixels = {0x10, 0x20, 0x10, 0x20};
    DecodedPicture preview = Blank(4, 4, 0);
    ASSERT_TRUE(FillMirrorPreview(stripes, kMirrorLeftRight, preview));
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(preview.At(0, y), 0x10u);
        EXPECT_EQ(preview.At(1, y), 0x20u);
        EXPECT_EQ(preview.At(2, y), 0x20u);
        EXPECT_EQ(preview.At(3, y), 0x10u);
    }
    DecodedPicture bands;
    bands.width = 2;
    bands.height = 2;
    bands.pixels = {0x10, 0x10, 0x30, 0x30};
    ASSERT_TRUE(FillMirrorPreview(bands, kMirrorTopBottom, preview));
    const std::vector<std::uint32_t> column = {0x10, 0x30, 0x30, 0x10};
    for (int y = 0; y < 4; ++y) EXPECT_EQ(preview.At(2, y), column[static_cast<std::size_t>(y)]);
}

TEST(MirrorPreview, UnknownMirrorLeavesThePreviewAndWrongSizesAreRefused) {
    DecodedPicture preview = Blank(4, 4, 0xABu);
    EXPECT_FALSE(FillMirrorPreview(Texture2x2(), 5, preview));
    EXPECT_EQ(preview.pixels, std::vector<std::uint32_t>(16, 0xABu));
    DecodedPicture small = Blank(3, 4, 0);
    EXPECT_FALSE(FillMirrorPreview(Texture2x2(), kMirrorBoth, small));
    EXPECT_FALSE(FillMirrorPreview(DecodedPicture{}, kMirrorBoth, preview));
}

TEST(MirrorPreview, FlipTurnsUpsideDownOrMirrorsAndOtherValuesDrawNothing) {
    const DecodedPicture picture = Texture2x2();
    EXPECT_EQ(FlippedPreview(picture, kFlipNone).pixels, (std::vector<std::uint32_t>{1, 2, 3, 4}));
    EXPECT_EQ(FlippedPreview(picture, kFlipUpsideDown).pixels,
              (std::vector<std::uint32_t>{3, 4, 1, 2}));
    EXPECT_EQ(FlippedPreview(picture, kFlipLeftRight).pixels,
              (std::vector<std::uint32_t>{2, 1, 4, 3}));
    EXPECT_TRUE(FlippedPreview(picture, 3).Empty());
}

TEST(MirrorPreview, ApplyScalesIntoTheWorkingTextureBottomRowFirst) {
    Material material;
    material.HasTexture = kTrue16;
    material.TextureWork.Create(2, 2, material.TextureWorkPixels, true);
    // A uniform preview quadrant pattern scales down to single texels: 4 x 4 of 2 x 2 blocks.
    DecodedPicture preview = Blank(4, 4, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            preview.pixels[static_cast<std::size_t>(y * 4 + x)] = (y < 2 ? 0x100u : 0x300u) + (x < 2 ? 0u : 0x10u);
    material.Flip = kFlipNone;
    ASSERT_TRUE(ApplyPreviewToTextureWork(preview, material));
    // Bottom row first: surface row 0 is the picture's lower half.
    EXPECT_EQ(material.TextureWorkPixels(0, 0), 0x300u);
    EXPECT_EQ(material.TextureWorkPixels(1, 0), 0x310u);
    EXPECT_EQ(material.TextureWorkPixels(0, 1), 0x100u);
    material.Flip = kFlipLeftRight;
    ASSERT_TRUE(ApplyPreviewToTextureWork(preview, material));
    EXPECT_EQ(material.TextureWorkPixels(0, 1), 0x110u);
    material.Flip = 7;
    EXPECT_FALSE(ApplyPreviewToTextureWork(preview, material));
    EXPECT_EQ(material.TextureWorkPixels(0, 1), 0x110u) << "an unknown flip copies nothing";
    material.HasTexture = kFalse16;
    material.Flip = kFlipNone;
    EXPECT_FALSE(ApplyPreviewToTextureWork(preview, material));
}

TEST(MirrorPreview, SurfacesAreReadTopRowFirst) {
    clsDIB surface;
    PixelView view;
    surface.Create(1, 2, view, true);
    view(0, 0) = 7;  // bottom row
    view(0, 1) = 9;  // top row
    const DecodedPicture picture = PictureOfSurface(surface);
    ASSERT_EQ(picture.height, 2);
    EXPECT_EQ(picture.At(0, 0), 9u);
    EXPECT_EQ(picture.At(0, 1), 7u);
}

}  // namespace
}  // namespace maglorin
