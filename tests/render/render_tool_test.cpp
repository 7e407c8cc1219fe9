// maglorin-render: its command line (table-driven), and the frame job's answers to missing or
// broken inputs and unwritable outputs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "image/picture_decoder.h"
#include "image/png_reader.h"
#include "render_job.h"
#include "render_options.h"
#include "render_test_kit.h"

namespace maglorin::render_tool {
namespace {

namespace fs = std::filesystem;

struct GoodCase {
    std::vector<std::string> arguments;
    bool (*check)(const RenderOptions&);
};

TEST(RenderOptions, AcceptsEveryOption) {
    const std::vector<GoodCase> cases = {
        {{"--out", "a.png"}, [](const RenderOptions& o) {
             return o.out == "a.png" && o.width == 640 && o.height == 480 && !o.style && o.model.empty() && !o.light;
         }},
        {{"--style", "7", "--out", "a.png"}, [](const RenderOptions& o) { return o.style == 7; }},
        {{"--style", "photo realistic", "--out", "a.png"}, [](const RenderOptions& o) { return o.style == 8; }},
        {{"--style=Wireframe BFC", "--out=a.bmp"}, [](const RenderOptions& o) { return o.style == 4 && o.out == "a.bmp"; }},
        {{"--size", "320x240", "--out", "a.png"}, [](const RenderOptions& o) { return o.width == 320 && o.height == 240; }},
        {{"--rotate", "10,-20.5,30", "--out", "a.png"},
         [](const RenderOptions& o) { return o.rotate.x == 10.0f && o.rotate.y == -20.5f && o.rotate.z == 30.0f; }},
        {{"--scale", "2.5", "--translate", "1,2,3", "--out", "a.png"},
         [](const RenderOptions& o) { return o.scale == 2.5f && o.translate.z == 3.0f; }},
        {{"--camera", "0,10,150", "--target", "0,5,0", "--focal", "0.8", "--roll", "15", "--out", "a.png"},
         [](const RenderOptions& o) {
             return o.cameraPosition && o.cameraPosition->z == 150.0f && o.cameraTarget && o.cameraTarget->y == 5.0f &&
                    o.focal == 0.8f && o.roll == 15.0f;
         }},
        {{"--light", "on", "--backfaces", "ON", "--out", "a.png"},
         [](const RenderOptions& o) { return o.light && o.backfaces; }},
        {{"--model", "m.3ds", "--texture", "t.jpg", "--background", "b.jpg", "--out", "a.png"},
         [](const RenderOptions& o) { return o.model == "m.3ds" && o.texture == "t.jpg" && o.background == "b.jpg"; }},
        {{"--help"}, [](const RenderOptions& o) { return o.help; }},
    };
    for (const GoodCase& c : cases) {
        const ParseResult parsed = ParseRenderOptions(c.arguments);
        ASSERT_TRUE(parsed.options) << c.arguments[0] << ": " << parsed.error;
        EXPECT_TRUE(c.check(*parsed.options)) << c.arguments[0];
    }
}

TEST(RenderOptions, RefusesBadCommandLinesWithAReason) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "no output file"},
        {{"--style", "9", "--out", "a.png"}, "--style"},
        {{"--style", "Sketch", "--out", "a.png"}, "--style"},
        {{"--size", "320", "--out", "a.png"}, "--size"},
        {{"--size", "0x10", "--out", "a.png"}, "--size"},
        {{"--size", "-5x10", "--out", "a.png"}, "--size"},
        {{"--rotate", "1,2", "--out", "a.png"}, "--rotate"},
        {{"--rotate", "1,2,3,4", "--out", "a.png"}, "--rotate"},
        {{"--rotate", "1,x,3", "--out", "a.png"}, "--rotate"},
        {{"--scale", "0", "--out", "a.png"}, "--scale"},
        {{"--scale", "nan", "--out", "a.png"}, "--scale"},
        {{"--focal", "-1", "--out", "a.png"}, "--focal"},
        {{"--light", "maybe", "--out", "a.png"}, "--light"},
        {{"--out"}, "needs a value"},
        {{"--model", "", "--out", "a.png"}, "--model"},
        {{"--frobnicate", "1", "--out", "a.png"}, "unknown option"},
    };
    for (const auto& [arguments, reason] : cases) {
        const ParseResult parsed = ParseRenderOptions(arguments);
        EXPECT_FALSE(parsed.options) << reason;
        EXPECT_NE(parsed.error.find(reason), std::string::npos) << parsed.error;
    }
}

class RenderJob : public ::testing::Test {
public:
    std::string File(const std::string& name) const { return (folder_ / name).string(); }

protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("maglorin-render-" + std::to_string(std::rand()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(File(name), std::ios::binary) << bytes;
    }
    RenderOptions Kit(const std::string& out) const {
        RenderOptions options = test_support::KitOptions(48, 36);
        options.out = File(out);
        return options;
    }
    std::size_t FilesInFolder() const {
        std::size_t count = 0;
        for (const auto& entry : fs::directory_iterator(folder_)) count += entry.is_regular_file() ? 1 : 0;
        return count;
    }

    fs::path folder_;
};

TEST_F(RenderJob, WritesTheFrameAsPngOrBmp) {
    for (const std::string name : {"frame.png", "frame.BMP"}) {
        RenderOptions options = Kit(name);
        options.style = 8;
        ASSERT_EQ(RunRender(options, test_support::BinFolder()), kExitOk) << name;
        DecodedPicture written;
        std::string error;
        const bool png = name == "frame.png";
        ASSERT_TRUE(png ? ReadPngFile(File(name), written, error) : DecodePictureFile(File(name), written, error))
            << error;
        EXPECT_EQ(written.width, 48);
        EXPECT_EQ(written.height, 36);
        // The file holds exactly the frame the pipeline draws.
        Scene scene;
        ASSERT_TRUE(PrepareScene(scene, options, test_support::BinFolder(), error)) << error;
        RenderPreparedFrame(scene);
        int differing = 0;
        for (int y = 0; y < 36; ++y) {
            for (int x = 0; x < 48; ++x) differing += written.At(x, y) != scene.FramePixels(x, y);
        }
        EXPECT_EQ(differing, 0) << name;
    }
    EXPECT_EQ(FilesInFolder(), 2u) << "no partial files remain";
}

TEST_F(RenderJob, RefusesMissingOrBrokenInputsWithoutWritingAnything) {
    Write("empty.3ds", "");
    const char brokenModel[] = "\x4D\x4D\xFF\xFF\xFF\x7F garbage";  // a main chunk far longer than the file
    Write("broken.3ds", std::string(brokenModel, sizeof brokenModel - 1));
    Write("broken.jpg", "\xFF\xD8\xFF\xE0 not a picture");
    struct Case {
        std::string name;
        void (*change)(RenderOptions&, const RenderJob&);
    };
    const std::vector<Case> cases = {
        {"missing model", [](RenderOptions& o, const RenderJob& j) { o.model = j.File("none.3ds"); }},
        {"empty model", [](RenderOptions& o, const RenderJob& j) { o.model = j.File("empty.3ds"); }},
        {"broken model", [](RenderOptions& o, const RenderJob& j) { o.model = j.File("broken.3ds"); }},
        {"model is a picture", [](RenderOptions& o, const RenderJob& j) { o.model = j.File("broken.jpg"); }},
        {"missing texture", [](RenderOptions& o, const RenderJob& j) { o.texture = j.File("none.jpg"); }},
        {"broken texture", [](RenderOptions& o, const RenderJob& j) { o.texture = j.File("broken.jpg"); }},
        {"broken background", [](RenderOptions& o, const RenderJob& j) { o.background = j.File("broken.jpg"); }},
        {"unknown output type", [](RenderOptions& o, const RenderJob& j) { o.out = j.File("frame.tga"); }},
        {"output folder missing", [](RenderOptions& o, const RenderJob& j) { o.out = j.File("no/such/frame.png"); }},
        {"output folder missing (bmp)", [](RenderOptions& o, const RenderJob& j) { o.out = j.File("no/frame.bmp"); }},
    };
    for (const Case& c : cases) {
        RenderOptions options = Kit("frame.png");
        c.change(options, *this);
        EXPECT_EQ(RunRender(options, test_support::BinFolder()), kExitFailed) << c.name;
        EXPECT_EQ(FilesInFolder(), 3u) << c.name << ": only the inputs are in the folder";
    }
}

TEST_F(RenderJob, APngKitPictureLooksLikeTheSamePicturesJpeg) {
    // The render tool also takes PNG kit pictures (the template); one holding the pixels the
    // viewer decodes from kit-home.jpg must give the very frame the JPEG gives.
    DecodedPicture home;
    std::string error;
    ASSERT_TRUE(DecodePictureFile(test_support::BinFolder() + "kit-home.jpg", home, error)) << error;
    ASSERT_TRUE(WritePicturePng(File("home.png"), home));
    Write("home.jpg.png", "\x89PNG\r\n\x1a\n but nothing after the signature");
    for (const int style : {kStyleMapped, kStylePhotoRealistic}) {
        RenderOptions jpeg = Kit("unused.png");
        jpeg.style = style;
        RenderOptions png = jpeg;
        png.texture = File("home.png");
        Scene fromJpeg, fromPng;
        ASSERT_TRUE(PrepareScene(fromJpeg, jpeg, test_support::BinFolder(), error)) << error;
        ASSERT_TRUE(PrepareScene(fromPng, png, test_support::BinFolder(), error)) << error;
        RenderPreparedFrame(fromJpeg);
        RenderPreparedFrame(fromPng);
        EXPECT_EQ(test_support::FrameHash(fromJpeg.FramePixels), test_support::FrameHash(fromPng.FramePixels))
            << StyleCaption(style);
    }
    RenderOptions damaged = Kit("unused.png");
    damaged.texture = File("home.jpg.png");
    Scene scene;
    EXPECT_FALSE(PrepareScene(scene, damaged, test_support::BinFolder(), error));
    EXPECT_NE(error.find("home.jpg.png"), std::string::npos) << error;
}

TEST_F(RenderJob, DefaultsComeFromTheProgramFolder) {
    // No --model: kit.3ds beside the program; no texture: "Gouraud".
    RenderOptions options;
    options.width = 32;
    options.height = 24;
    options.out = File("default.png");
    Scene scene;
    std::string error;
    ASSERT_TRUE(PrepareScene(scene, options, test_support::BinFolder(), error)) << error;
    EXPECT_EQ(scene.CurrentStyle, kStyleGouraud);
    EXPECT_GE(scene.MeshUBound, 0);
    EXPECT_TRUE(scene.BackgroundPixels.Attached());
    Scene elsewhere;
    EXPECT_FALSE(PrepareScene(elsewhere, options, File("nowhere") + "/", error));
    EXPECT_NE(error.find("kit.3ds"), std::string::npos) << error;
}

}  // namespace
}  // namespace maglorin::render_tool
