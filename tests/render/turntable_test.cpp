// Turntables from maglorin-render: the --out name with its frame number field, the options that
// go with --turntable, the frames themselves (frame 0 is the single render, frame i the single
// render turned by i * 360 / N, the same pixels whatever the number of workers), and a failed
// frame failing the run.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "frame_name_pattern.h"
#include "frame_scene.h"
#include "image/png_reader.h"
#include "render_job.h"
#include "render_options.h"
#include "render_test_kit.h"
#include "turntable_job.h"

namespace maglorin::render_tool {
namespace {

namespace fs = std::filesystem;
using test_support::ScratchFolder;

TEST(FrameNamePattern, ExpandsTheOneNumberField) {
    const std::vector<std::tuple<std::string, int, std::string>> cases = {
        {"kit-%d.png", 7, "kit-7.png"},
        {"kit-%03d.png", 7, "kit-007.png"},
        {"kit-%03d.png", 1234, "kit-1234.png"},
        {"kit-%3d.PNG", 7, "kit-  7.PNG"},
        {"%d.png", 0, "0.png"},
        {"out/frames/%010d.png", 42, "out/frames/0000000042.png"},
        {"100%%-%02d-%%.png", 5, "100%-05-%.png"},
        {"a\\b\\%d.png", 3, "a\\b\\3.png"},
    };
    for (const auto& [text, index, expected] : cases) {
        std::string error;
        const std::optional<FrameNamePattern> pattern = ParseFrameNamePattern(text, error);
        ASSERT_TRUE(pattern) << text << ": " << error;
        EXPECT_EQ(FrameFileName(*pattern, index), expected) << text;
    }
}

TEST(FrameNamePattern, RefusesEverythingElseThatPrintfWouldRead) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"kit.png", "needs a frame number field"},
        {"kit-%d-%d.png", "more than one"},
        {"kit-%s.png", "'%s' is not a frame number field"},
        {"kit-%n.png", "'%n'"},
        {"kit-%x.png", "'%x'"},
        {"kit-%ld.png", "'%l'"},
        {"kit-%-3d.png", "'%-3d'"},
        {"kit-%+d.png", "'%+d'"},
        {"kit-%.3d.png", "'%.3d'"},
        {"kit-%*d.png", "'%*d'"},
        {"kit-%011d.png", "not a frame number field"},
        {"kit-%d.png%", "'%'"},
        {"kit-%d%s.png", "'%s'"},
        {"%d/kit.png", "in the file name"},
        {"kit-%d.bmp", ".png only"},
        {"kit-%d.png.txt", ".png only"},
    };
    for (const auto& [text, reason] : cases) {
        std::string error;
        EXPECT_FALSE(ParseFrameNamePattern(text, error)) << text;
        EXPECT_NE(error.find(reason), std::string::npos) << text << ": " << error;
    }
}

TEST(TurntableOptions, TakeAFrameCountAndJobsAndRefuseWhatDoesNotGoTogether) {
    const ParseResult good = ParseRenderOptions({"--turntable", "36", "--jobs", "3", "--out", "kit-%03d.png"});
    ASSERT_TRUE(good.options) << good.error;
    EXPECT_EQ(good.options->turntable, 36);
    EXPECT_EQ(good.options->jobs, 3);
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--turntable", "0", "--out", "k%d.png"}, "1..3600"},
        {{"--turntable", "3601", "--out", "k%d.png"}, "1..3600"},
        {{"--turntable", "-1", "--out", "k%d.png"}, "1..3600"},
        {{"--turntable", "ten", "--out", "k%d.png"}, "1..3600"},
        {{"--turntable", "10", "--out", "k.png"}, "frame number field"},
        {{"--turntable", "10", "--out", "k%s.png"}, "'%s'"},
        {{"--jobs", "0", "--turntable", "2", "--out", "k%d.png"}, "--jobs"},
        {{"--jobs", "257", "--turntable", "2", "--out", "k%d.png"}, "--jobs"},
        {{"--texture", "a.jpg", "--texture", "b.jpg", "--out", "k.png"}, "need --sheet"},
        {{"--turntable", "2", "--texture", "a.jpg", "--texture", "b.jpg", "--out", "k%d.png"}, "need --sheet"},
        {{"--turntable", "2", "--sheet", "2x1", "--texture", "a.jpg", "--out", "k%d.png"}, "cannot be combined"},
    };
    for (const auto& [arguments, reason] : refused) {
        const ParseResult parsed = ParseRenderOptions(arguments);
        EXPECT_FALSE(parsed.options) << reason;
        EXPECT_NE(parsed.error.find(reason), std::string::npos) << parsed.error;
    }
}

TEST(TurntableAngle, AddsEqualStepsOfOneTurnToTheYRotation) {
    EXPECT_EQ(TurntableAngle(15.0f, 0, 36), 15.0f);
    EXPECT_EQ(TurntableAngle(0.0f, 1, 36), 10.0f);
    EXPECT_EQ(TurntableAngle(-30.0f, 35, 36), 320.0f);
    EXPECT_EQ(TurntableAngle(0.0f, 1, 3), 120.0f);
    EXPECT_EQ(TurntableAngle(0.0f, 2, 7), static_cast<float>(720.0 / 7.0));
}

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::uint32_t> PngPixels(const std::string& path) {
    DecodedPicture picture;
    std::string error;
    EXPECT_TRUE(ReadPngFile(path, picture, error)) << path << ": " << error;
    return picture.pixels;
}

std::vector<std::uint32_t> SingleRender(const RenderOptions& options) {
    Scene scene;
    std::string error;
    EXPECT_TRUE(test_support::PrepareKit(scene, options, error)) << error;
    RenderPreparedFrame(scene);
    DecodedPicture picture;
    EXPECT_TRUE(FramePicture(scene, picture));
    return picture.pixels;
}

class Turntable : public ::testing::Test {
protected:
    RenderOptions KitTurntable(int frames, int jobs, const std::string& pattern) const {
        RenderOptions options = test_support::KitOptions(96, 72);
        options.rotate = Triple{10.0f, 20.0f, 0.0f};
        options.turntable = frames;
        options.jobs = jobs;
        options.out = folder_.File(pattern);
        return options;
    }
    std::size_t FilesInFolder() const {
        std::size_t count = 0;
        for (const auto& entry : fs::directory_iterator(folder_.Path())) count += entry.is_regular_file() ? 1 : 0;
        return count;
    }

    ScratchFolder folder_{"turntable"};
};

TEST_F(Turntable, ThirtySixFramesTurnTheModelOnceAndFrameZeroIsTheSingleRender) {
    const RenderOptions options = KitTurntable(36, 3, "kit-%03d.png");
    int calls = 0;
    int lastDone = 0;
    const FrameProgress progress = [&](int done, int count) {
        ++calls;
        EXPECT_EQ(done, lastDone + 1);
        EXPECT_EQ(count, 36);
        lastDone = done;
    };
    ASSERT_EQ(RenderTurntable(options, test_support::BinFolder(), progress), kExitOk);
    EXPECT_EQ(calls, 36);
    EXPECT_EQ(FilesInFolder(), 36u) << "36 frames and no partial files";

    RenderOptions single = options;
    single.turntable = 0;
    single.out = folder_.File("single.png");
    ASSERT_EQ(RunRender(single, test_support::BinFolder()), kExitOk);
    EXPECT_EQ(FileBytes(folder_.File("kit-000.png")), FileBytes(single.out)) << "byte for byte";

    std::set<std::vector<std::uint32_t>> distinct;
    for (int i = 0; i < 36; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "kit-%03d.png", i);
        distinct.insert(PngPixels(folder_.File(name)));
    }
    EXPECT_EQ(distinct.size(), 36u) << "every frame shows the model at another angle";
    for (const int i : {1, 9, 18, 35}) {
        RenderOptions turned = options;
        turned.rotate.y = TurntableAngle(options.rotate.y, i, 36);
        char name[16];
        std::snprintf(name, sizeof name, "kit-%03d.png", i);
        EXPECT_EQ(PngPixels(folder_.File(name)), SingleRender(turned)) << "frame " << i;
    }
}

TEST_F(Turntable, FramesAreTheSamePixelsWhateverTheNumberOfWorkers) {
    for (const int style : {kStyleWireframeBFC, kStyleGouraud, kStylePhotoRealistic}) {
        RenderOptions one = KitTurntable(8, 1, "one-%d.png");
        RenderOptions four = KitTurntable(8, 4, "four-%d.png");
        one.style = four.style = style;
        one.light = four.light = true;
        ASSERT_EQ(RenderTurntable(one, test_support::BinFolder(), {}), kExitOk);
        ASSERT_EQ(RenderTurntable(four, test_support::BinFolder(), {}), kExitOk);
        for (int i = 0; i < 8; ++i) {
            const std::string n = std::to_string(i) + ".png";
            EXPECT_EQ(PngPixels(folder_.File("one-" + n)), PngPixels(folder_.File("four-" + n)))
                << StyleCaption(style) << " frame " << i;
        }
    }
}

TEST_F(Turntable, AFailedFrameFailsTheRunAndLeavesNoPartialFile) {
    // Frame 5's name is taken by a folder, so that frame cannot be written.
    fs::create_directories(folder_.File("kit-5.png"));
    ASSERT_EQ(RenderTurntable(KitTurntable(12, 2, "kit-%d.png"), test_support::BinFolder(), {}), kExitFailed);
    for (const auto& entry : fs::directory_iterator(folder_.Path())) {
        EXPECT_EQ(entry.path().string().find(".partial"), std::string::npos) << entry.path();
    }
    // Into a folder that is not there: nothing is written anywhere.
    EXPECT_EQ(RenderTurntable(KitTurntable(4, 2, "none/kit-%d.png"), test_support::BinFolder(), {}), kExitFailed);
    EXPECT_FALSE(fs::exists(folder_.File("none")));
    // A missing kit picture stops the run before any frame.
    RenderOptions missing = KitTurntable(4, 2, "gone-%d.png");
    missing.texture = folder_.File("gone.jpg");
    EXPECT_EQ(RenderTurntable(missing, test_support::BinFolder(), {}), kExitFailed);
    EXPECT_FALSE(fs::exists(folder_.File("gone-0.png")));
}

// A frame rendered from the copy is the frame of the prepared scene, in every style and with
// every switch: the copy leaves out nothing a frame depends on.
TEST(FrameScene, ACopyRendersWhatTheSceneItWasCopiedFromRenders) {
    for (int style = 0; style < kVisualStyleCount; ++style) {
        for (const bool light : {false, true}) {
            RenderOptions options = test_support::KitOptions(80, 60);
            options.style = style;
            options.light = light;
            options.backfaces = light;
            options.rotate = Triple{20.0f, 150.0f, 5.0f};
            options.cameraPosition = Triple{5.0f, 10.0f, 90.0f};
            options.roll = 10.0f;
            options.focal = 0.8f;
            Scene prepared;
            std::string error;
            ASSERT_TRUE(test_support::PrepareKit(prepared, options, error)) << error;
            Scene copy;
            CopySceneForFrame(prepared, copy);
            RenderPreparedFrame(copy);
            DecodedPicture copied;
            ASSERT_TRUE(FramePicture(copy, copied));
            EXPECT_EQ(copied.pixels, SingleRender(options)) << StyleCaption(style) << (light ? " lit" : "");
        }
    }
}

}  // namespace
}  // namespace maglorin::render_tool
