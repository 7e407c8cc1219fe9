// The pixel surface: views, orientation, the error texts, and halftone drawing of pictures.
#include "image/clsDIB.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/error_notice.h"
#include "image/halftone_resampler.h"

namespace maglorin {
namespace {

// Collects the texts shown while it lives and puts the previous notifier back.
class NoticeCapture {
public:
    NoticeCapture()
        : previous_(SetErrorNotifier([this](std::string_view text) {
              texts.emplace_back(text);
          })) {}
    ~NoticeCapture() { SetErrorNotifier(previous_); }
    std::vector<std::string> texts;

private:
    ErrorNotifier previous_;
};

DecodedPicture Picture(std::int32_t width, std::int32_t height,
                       std::vector<std::uint32_t> pixels) {
    return DecodedPicture{width, height, std::move(pixels)};
}

TEST(Surface, CreateAttachesABlackViewOfRowsWithoutPadding) {
    NoticeCapture notices;
    clsDIB surface;
    PixelView pixels;
    surface.Create(3, 2, pixels, false);
    ASSERT_TRUE(surface.Live());
    ASSERT_TRUE(pixels.Attached());
    EXPECT_EQ(pixels.width, 3);
    EXPECT_EQ(pixels.height, 2);
    EXPECT_EQ(pixels.data, surface.Data());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(surface.Data()[i], 0u);
    }
    pixels(2, 1) = 0x00ABCDEF;
    EXPECT_EQ(surface.Data()[1 * 3 + 2], 0x00ABCDEFu);
    EXPECT_TRUE(notices.texts.empty());
}

TEST(Surface, CreatingAgainDetachesTheOldViewAndReplacesTheWords) {
    clsDIB surface;
    PixelView pixels;
    surface.Create(4, 4, pixels, false);
    pixels(0, 0) = 0x123456;
    surface.Create(2, 5, pixels, true);
    EXPECT_EQ(pixels.width, 2);
    EXPECT_EQ(pixels.height, 5);
    EXPECT_TRUE(surface.BottomUp());
    EXPECT_EQ(pixels(0, 0), 0u);
}

TEST(Surface, DeleteDetachesTheViewAndIsQuietOnAnEmptySurface) {
    NoticeCapture notices;
    clsDIB surface;
    PixelView pixels;
    surface.Delete(pixels);
    surface.Create(2, 2, pixels, false);
    surface.Delete(pixels);
    EXPECT_FALSE(surface.Live());
    EXPECT_FALSE(pixels.Attached());
    EXPECT_EQ(pixels.width, 0);
    EXPECT_TRUE(notices.texts.empty());
}

TEST(Surface, ClearBlackensEveryWordAndFailsWithoutAView) {
    NoticeCapture notices;
    clsDIB surface;
    PixelView pixels;
    surface.Create(5, 3, pixels, false);
    for (std::int32_t y = 0; y < 3; ++y) {
        for (std::int32_t x = 0; x < 5; ++x) {
            pixels(x, y) = 0xFFFFFFFF;
        }
    }
    surface.Clear(pixels);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(surface.Data()[i], 0u);
    }
    EXPECT_TRUE(notices.texts.empty());
    PixelView detached;
    surface.Clear(detached);
    ASSERT_EQ(notices.texts.size(), 1u);
    EXPECT_EQ(notices.texts[0], "Error: clsDIB > Clear");
}

TEST(Surface, ZeroSizeGivesNoSurfaceAndAHugeOneIsAnError) {
    NoticeCapture notices;
    clsDIB surface;
    PixelView pixels;
    surface.Create(0, 10, pixels, false);
    EXPECT_FALSE(surface.Live());
    EXPECT_FALSE(pixels.Attached());
    EXPECT_TRUE(notices.texts.empty());
    surface.Create(40000, 40000, pixels, false);  // 6.4e9 bytes: beyond 32 bits
    EXPECT_FALSE(surface.Live());
    EXPECT_FALSE(pixels.Attached());
    ASSERT_EQ(notices.texts.size(), 1u);
    EXPECT_EQ(notices.texts[0], "Error: clsDIB > Create");
}

TEST(Surface, MovingKeepsAttachedViewsValid) {
    std::vector<clsDIB> surfaces(1);
    PixelView pixels;
    surfaces[0].Create(2, 2, pixels, false);
    pixels(1, 1) = 77;
    surfaces.resize(50);  // moves the first surface
    EXPECT_EQ(surfaces[0].Data(), pixels.data);
    EXPECT_EQ(pixels(1, 1), 77u);
}

TEST(SurfaceOrientation, TopDownKeepsThePicturesTopRowAtYZero) {
    const DecodedPicture picture = Picture(2, 2, {0x110000, 0x220000, 0x000033, 0x000044});
    clsDIB surface;
    PixelView pixels;
    surface.CreateFromPictureBox(picture, 2, 2, pixels, false);
    EXPECT_EQ(pixels(0, 0), 0x110000u);
    EXPECT_EQ(pixels(1, 0), 0x220000u);
    EXPECT_EQ(pixels(0, 1), 0x000033u);
    EXPECT_EQ(surface.Data()[0], 0x110000u);
}

TEST(SurfaceOrientation, BottomUpPutsThePicturesBottomRowAtYZero) {
    const DecodedPicture picture = Picture(2, 2, {0x110000, 0x220000, 0x000033, 0x000044});
    clsDIB surface;
    PixelView pixels;
    surface.CreateFromPictureBox(picture, 2, 2, pixels, true);
    EXPECT_EQ(pixels(0, 0), 0x000033u);
    EXPECT_EQ(pixels(1, 0), 0x000044u);
    EXPECT_EQ(pixels(0, 1), 0x110000u);
}

TEST(SurfaceOrientation, AMissingPictureIsReportedWithItsOwnText) {
    NoticeCapture notices;
    clsDIB surface;
    PixelView pixels;
    surface.CreateFromPictureBox(DecodedPicture{}, 4, 4, pixels, false);
    EXPECT_TRUE(surface.Live());  // the surface itself was made
    ASSERT_EQ(notices.texts.size(), 1u);
    EXPECT_EQ(notices.texts[0], "clsDIB > CreateFromPictureBox");
}

TEST(Halftone, AveragesTheSourcePixelsEachTargetPixelCovers) {
    // 4 x 2 to 2 x 1: each target pixel averages a 2 x 2 block.
    const DecodedPicture picture =
        Picture(4, 2, {0x000000, 0xFF0000, 0x00FF00, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x00FF00,
                       0x000000});
    std::uint32_t out[2] = {};
    HalftoneResample(picture, 2, 1, false, out);
    // Block 1: red (0 + 255 + 0 + 255) / 4 = 127.5 -> 128; green 255/4 -> 64; blue 510/4 -> 128.
    EXPECT_EQ(out[0], 0x804080u);
    // Block 2: green (255 * 3) / 4 = 191.25 -> 191.
    EXPECT_EQ(out[1], 0x00BF00u);
}

TEST(Halftone, SplitsPixelsByCoveredArea) {
    // 3 x 1 to 2 x 1: target 0 covers source 0 fully and half of source 1.
    const DecodedPicture picture = Picture(3, 1, {0x000000, 0x0000F0, 0x0000FF});
    std::uint32_t out[2] = {};
    HalftoneResample(picture, 2, 1, false, out);
    EXPECT_EQ(out[0], 0x000050u);  // (0 * 1 + 240 * 0.5) / 1.5 = 80
    EXPECT_EQ(out[1], 0x0000FAu);  // (240 * 0.5 + 255) / 1.5 = 250
}

TEST(Halftone, EnlargingRepeatsPixelsAndKeepsTheSizeWhenEqual) {
    const DecodedPicture picture = Picture(2, 1, {0x010203, 0x0A0B0C});
    std::uint32_t same[2] = {};
    HalftoneResample(picture, 2, 1, false, same);
    EXPECT_EQ(same[0], 0x010203u);
    EXPECT_EQ(same[1], 0x0A0B0Cu);
    std::uint32_t big[4 * 2] = {};
    HalftoneResample(picture, 4, 2, false, big);
    EXPECT_EQ(big[0], 0x010203u);
    EXPECT_EQ(big[1], 0x010203u);
    EXPECT_EQ(big[2], 0x0A0B0Cu);
    EXPECT_EQ(big[7], 0x0A0B0Cu);
}

}  // namespace
}  // namespace maglorin
