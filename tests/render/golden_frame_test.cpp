// Golden frames: every style renders the sample kit (kit.3ds with kit-home.jpg over BG.jpg) at
// 160 x 120 to exactly the pixels kept in tests/render/golden/, in the native tree and under Wine
// alike. A front view is kept as pictures (NN-caption.png); a clipped, lit, double-sided close-up
// is kept as a list of frame hashes (close-up.txt).
//
// Regenerate on purpose only, after a change that is meant to alter pixels, in the native tree:
//     MAGLORIN_UPDATE_GOLDEN=1 ctest --test-dir build/native -R render_golden_frame_test
// which rewrites the files in the source tree (review them before committing). A mismatch writes
// the frame it got into golden-actual/ in the bin folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "geometry/projection.h"
#include "image/picture_decoder.h"
#include "image/png_reader.h"
#include "render/modVisualisation.h"
#include "render_test_kit.h"

namespace maglorin {
namespace {

namespace fs = std::filesystem;
using test_support::FrameHash;

constexpr int kWidth = 160;
constexpr int kHeight = 120;

bool UpdateRequested() {
    const char* update = std::getenv("MAGLORIN_UPDATE_GOLDEN");
    return update != nullptr && std::string(update) == "1";
}

std::string GoldenFolder() {
    const char* source = std::getenv("MAGLORIN_SOURCE");
    return std::string(source != nullptr ? source : ".") + "/tests/render/golden/";
}

std::string Slug(int style) {
    std::string name = render_tool::StyleCaption(style);
    for (char& c : name) c = c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%02d-", style);
    return prefix + name;
}

DecodedPicture FramePicture(const PixelView& frame) {
    DecodedPicture picture;
    picture.width = frame.width;
    picture.height = frame.height;
    picture.pixels.assign(frame.data, frame.data + static_cast<std::size_t>(frame.width) * frame.height);
    return picture;
}

void KeepActual(const PixelView& frame, const std::string& name) {
    const fs::path folder = fs::path(test_support::BinFolder()) / "golden-actual";
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    WritePicturePng((folder / (name + ".png")).string(), FramePicture(frame));
}

class GoldenFrames : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        render_tool::RenderOptions options = test_support::KitOptions(kWidth, kHeight);
        ASSERT_TRUE(test_support::PrepareKit(scene_, options, error)) << error;
    }

    void RenderStyle(int style) {
        scene_.CurrentStyle = style;
        ProjectVertices(scene_);
        RenderFrame(scene_, work_);
    }

    Scene scene_;
    RenderWork work_;
};

TEST_F(GoldenFrames, FrontViewOfEveryStyleMatchesItsPicture) {
    scene_.ModelRotation = Vec4{0.0f, 25.0f, 0.0f, 1.0f};
    scene_.LightOn = kTrue16;
    for (int style = 0; style < kVisualStyleCount; ++style) {
        RenderStyle(style);
        const PixelView& frame = scene_.FramePixels;
        const std::string file = GoldenFolder() + Slug(style) + ".png";
        if (UpdateRequested()) {
            ASSERT_TRUE(WritePicturePng(file, FramePicture(frame))) << file;
            continue;
        }
        DecodedPicture golden;
        std::string error;
        ASSERT_TRUE(ReadPngFile(file, golden, error)) << file << ": " << error;
        ASSERT_EQ(golden.width, kWidth);
        ASSERT_EQ(golden.height, kHeight);
        int differing = 0;
        std::string first;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const std::uint32_t got = frame(x, y);
                const std::uint32_t want = golden.At(x, y);
                if (got == want) continue;
                if (differing++ == 0) {
                    std::ostringstream where;
                    where << "first at (" << x << ", " << y << "): got " << std::hex << got << ", want " << want;
                    first = where.str();
                }
            }
        }
        EXPECT_EQ(differing, 0) << render_tool::StyleCaption(style) << ": " << differing << " pixels differ, " << first;
        if (differing != 0) KeepActual(frame, Slug(style));
    }
}

TEST_F(GoldenFrames, ClippedCloseUpOfEveryStyleMatchesItsHash) {
    // Large enough to run off the canvas, turned so that back faces show, lit.
    scene_.ModelRotation = Vec4{-20.0f, 140.0f, 10.0f, 1.0f};
    scene_.ModelScale = Vec4{scene_.FitScale.x * 3.0f, scene_.FitScale.y * 3.0f, scene_.FitScale.z * 3.0f, 1.0f};
    scene_.ModelTranslation = Vec4{scene_.FitTranslation.x + 4.0f, scene_.FitTranslation.y - 6.0f,
                                   scene_.FitTranslation.z, 1.0f};
    scene_.LightOn = kTrue16;
    scene_.DoubleSided = kTrue16;
    const std::string file = GoldenFolder() + "close-up.txt";
    std::map<std::string, std::string> expected;
    if (!UpdateRequested()) {
        std::ifstream in(file);
        ASSERT_TRUE(in.good()) << "cannot read " << file;
        std::string name, hash;
        while (in >> name >> hash) expected[name] = hash;
    }
    std::ostringstream written;
    for (int style = 0; style < kVisualStyleCount; ++style) {
        RenderStyle(style);
        char hash[20];
        std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(FrameHash(scene_.FramePixels)));
        written << Slug(style) << " " << hash << "\n";
        if (UpdateRequested()) continue;
        EXPECT_EQ(hash, expected[Slug(style)]) << render_tool::StyleCaption(style);
        if (expected[Slug(style)] != hash) KeepActual(scene_.FramePixels, "close-up-" + Slug(style));
    }
    if (UpdateRequested()) {
        std::ofstream out(file, std::ios::trunc);
        out << written.str();
        ASSERT_TRUE(out.good()) << file;
    }
}

TEST_F(GoldenFrames, FramePixelsKeepTheirTopByteClear) {
    scene_.LightOn = kTrue16;
    for (int style = 0; style < kVisualStyleCount; ++style) {
        RenderStyle(style);
        const PixelView& frame = scene_.FramePixels;
        int dirty = 0;
        for (int i = 0; i < frame.width * frame.height; ++i) dirty += (frame.data[i] >> 24) != 0;
        EXPECT_EQ(dirty, 0) << render_tool::StyleCaption(style);
    }
}

}  // namespace
}  // namespace maglorin
