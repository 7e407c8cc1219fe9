// Contact sheets from maglorin-render: the caption text (printable, fitted to the cell), our
// bitmap font, the listing of a folder of kits, and whole sheets of the sample kits: their size,
// each cell equal to the single render of its kit, captions under the kits and nothing in empty
// cells; too many kits or an unreadable one writes nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "caption_font.h"
#include "contact_sheet.h"
#include "image/png_reader.h"
#include "render_job.h"
#include "render_options.h"
#include "render_test_kit.h"

namespace maglorin::render_tool {
namespace {

namespace fs = std::filesystem;
using test_support::BinFolder;
using test_support::ScratchFolder;

TEST(CaptionText, ShowsOnlyPrintableAsciiOneQuestionMarkPerCharacter) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"kit-home.jpg", "kit-home.jpg"},
        {"Bor\xC3\xBF" "ssia.png", "Bor?ssia.png"},       // a two-byte UTF-8 character
        {"\xE2\x82\xAC.jpg", "?.jpg"},                    // three bytes
        {"\xF0\x9F\x98\x80!.gif", "?!.gif"},              // four bytes
        {"a\xFF\xFE" "b", "a??b"},                        // bytes that start nothing
        {"a\xC3" "b", "a?b"},                             // a sequence cut short
        {"tab\there\x7F", "tab?here?"},
        {"", ""},
    };
    for (const auto& [name, expected] : cases) EXPECT_EQ(PrintableText(name), expected) << expected;
}

TEST(CaptionText, LongNamesAreShortenedWithDotsToFitTheWidth) {
    const std::string name = "a-rather-long-kit-name.jpg";  // 26 characters, 155 pixels
    EXPECT_EQ(TextWidth(name), 155);
    EXPECT_EQ(FitText(name, 155), name);
    EXPECT_EQ(FitText(name, 500), name);
    EXPECT_EQ(FitText(name, 154), "a-rather-long-kit-name...");  // 25 fit: 22 + "..."
    EXPECT_EQ(FitText(name, 59), "a-rathe...");                 // 10 fit
    EXPECT_EQ(FitText(name, 23), "a...");
    EXPECT_EQ(FitText(name, 17), "...");
    EXPECT_EQ(FitText(name, 11), "..");
    EXPECT_EQ(FitText(name, 4), "");
    for (int width = 0; width < 200; ++width) EXPECT_LE(TextWidth(FitText(name, width)), width) << width;
    // Only the file name is shown, never its folder.
    EXPECT_EQ(CaptionOf("/some/folder/kit-away.jpg", 240), "kit-away.jpg");
    EXPECT_EQ(CaptionOf("C:\\kits\\kit-away.jpg", 240), "kit-away.jpg");
}

DecodedPicture Blank(int width, int height) {
    DecodedPicture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<std::size_t>(width) * height, 0);
    return picture;
}

TEST(CaptionFont, EveryCharacterHasAGlyphOfItsOwnInsideItsBox) {
    std::set<std::vector<std::uint32_t>> glyphs;
    for (int c = ' '; c <= '~'; ++c) {
        DecodedPicture picture = Blank(kGlyphAdvance + 2, kGlyphHeight + 2);
        DrawText(picture, 1, 1, std::string(1, static_cast<char>(c)), 1);
        int lit = 0;
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                if (picture.At(x, y) == 0) continue;
                ++lit;
                EXPECT_TRUE(x >= 1 && x < 1 + kGlyphWidth && y >= 1 && y < 1 + kGlyphHeight) << char(c);
            }
        }
        EXPECT_EQ(lit == 0, c == ' ') << "'" << char(c) << "'";
        glyphs.insert(picture.pixels);
    }
    EXPECT_EQ(glyphs.size(), static_cast<std::size_t>('~' - ' ' + 1)) << "no two characters look the same";
    // Text running off any edge of the picture is cut there.
    DecodedPicture small = Blank(8, 5);
    DrawText(small, -3, -2, "WWWW", 1);
    DrawText(small, 6, 3, "\x01\xFF", 1);
    EXPECT_EQ(small.pixels.size(), 40u);
}

TEST(SheetKits, AFolderStandsForItsPicturesInNameOrder) {
    ScratchFolder folder("sheet-kits");
    for (const char* name : {"b.JPG", "a.png", "c.gif", "d.jpeg", "e.Bmp", "notes.txt", "f.jpg.txt"}) {
        std::ofstream(folder.File(name)) << "x";
    }
    fs::create_directories(folder.File("g.jpg"));  // a folder, not a picture
    std::vector<std::string> kits;
    std::string error;
    ASSERT_TRUE(ListSheetKits({"first.jpg", folder.Path().string(), "last.gif"}, kits, error)) << error;
    const std::vector<std::string> expected = {"first.jpg",          folder.File("a.png"), folder.File("b.JPG"),
                                               folder.File("c.gif"), folder.File("d.jpeg"), folder.File("e.Bmp"),
                                               "last.gif"};
    EXPECT_EQ(kits, expected);
    fs::create_directories(folder.File("empty"));
    EXPECT_FALSE(ListSheetKits({folder.File("empty")}, kits, error));
    EXPECT_NE(error.find("no pictures"), std::string::npos) << error;
}

TEST(SheetOptions, TakeAGridAndRefuseWhatDoesNotGoTogether) {
    const ParseResult good =
        ParseRenderOptions({"--sheet", "3x2", "--texture", "a.jpg", "--texture", "kits", "--out", "s.png"});
    ASSERT_TRUE(good.options) << good.error;
    EXPECT_EQ(good.options->sheetColumns, 3);
    EXPECT_EQ(good.options->sheetRows, 2);
    EXPECT_EQ(good.options->textures, (std::vector<std::string>{"a.jpg", "kits"}));
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--sheet", "3x2", "--out", "s.png"}, "at least one --texture"},
        {{"--sheet", "3x2", "--texture", "a.jpg", "--out", "s.bmp"}, ".png only"},
        {{"--sheet", "0x2", "--texture", "a.jpg", "--out", "s.png"}, "--sheet"},
        {{"--sheet", "65x1", "--texture", "a.jpg", "--out", "s.png"}, "--sheet"},
        {{"--sheet", "3", "--texture", "a.jpg", "--out", "s.png"}, "--sheet"},
    };
    for (const auto& [arguments, reason] : refused) {
        const ParseResult parsed = ParseRenderOptions(arguments);
        EXPECT_FALSE(parsed.options) << reason;
        EXPECT_NE(parsed.error.find(reason), std::string::npos) << parsed.error;
    }
}

class ContactSheet : public ::testing::Test {
protected:
    static constexpr int kCellWidth = 120;
    static constexpr int kCellHeight = 90;

    RenderOptions Sheet(int columns, int rows, const std::vector<std::string>& kits) const {
        RenderOptions options = test_support::KitOptions(kCellWidth, kCellHeight);
        options.sheetColumns = columns;
        options.sheetRows = rows;
        options.textures = kits;
        options.texture.clear();
        options.out = folder_.File("sheet.png");
        return options;
    }
    static std::vector<std::string> SampleKits() {
        return {BinFolder() + "kit-home.jpg", BinFolder() + "kit-away.jpg", BinFolder() + "kit-template.png"};
    }

    ScratchFolder folder_{"contact-sheet"};
};

// Pixels of the rectangle (left, top, width x height) of `picture` that are not `colour`.
int PixelsOtherThan(const DecodedPicture& picture, int left, int top, int width, int height, std::uint32_t colour) {
    int count = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) count += picture.At(x, y) != colour;
    }
    return count;
}

TEST_F(ContactSheet, EachCellIsTheSingleRenderOfItsKitWithItsNameUnderIt) {
    const RenderOptions options = Sheet(2, 2, SampleKits());
    ASSERT_EQ(RunContactSheet(options, BinFolder()), kExitOk);
    DecodedPicture sheet;
    std::string error;
    ASSERT_TRUE(ReadPngFile(options.out, sheet, error)) << error;
    const SheetLayout layout{2, 2, kCellWidth, kCellHeight};
    ASSERT_EQ(sheet.width, 2 * kCellWidth);
    ASSERT_EQ(sheet.height, 2 * (kCellHeight + kCaptionHeight));
    for (int cell = 0; cell < 3; ++cell) {
        RenderOptions single = options;
        single.texture = SampleKits()[static_cast<std::size_t>(cell)];
        Scene scene;
        ASSERT_TRUE(test_support::PrepareKit(scene, single, error)) << error;
        RenderPreparedFrame(scene);
        int differing = 0;
        for (int y = 0; y < kCellHeight; ++y) {
            for (int x = 0; x < kCellWidth; ++x) {
                differing += sheet.At(layout.Left(cell) + x, layout.Top(cell) + y) != scene.FramePixels(x, y);
            }
        }
        EXPECT_EQ(differing, 0) << "cell " << cell;
        const int strip = layout.Top(cell) + kCellHeight;
        const int text = kCellWidth * kCaptionHeight - PixelsOtherThan(sheet, layout.Left(cell), strip, kCellWidth,
                                                                        kCaptionHeight, kCaptionColour);
        EXPECT_GT(text, 20) << "caption of cell " << cell;
        EXPECT_EQ(PixelsOtherThan(sheet, layout.Left(cell), strip, kCellWidth, kCaptionHeight, kSheetColour) -
                      text, 0)
            << "the strip holds only the sheet colour and the text";
    }
    // The captions differ as the names do: the home and away kits' names differ in their text.
    EXPECT_NE(PixelsOtherThan(sheet, 0, kCellHeight, kCellWidth, kCaptionHeight, kSheetColour),
              PixelsOtherThan(sheet, kCellWidth, kCellHeight, kCellWidth, kCaptionHeight, kSheetColour));
    EXPECT_EQ(PixelsOtherThan(sheet, layout.Left(3), layout.Top(3), kCellWidth, kCellHeight + kCaptionHeight,
                              kSheetColour),
              0)
        << "the empty cell keeps the sheet colour";
}

TEST_F(ContactSheet, CellsAreTheSameWhateverTheNumberOfWorkers) {
    RenderOptions one = Sheet(3, 1, SampleKits());
    one.jobs = 1;
    DecodedPicture serial, parallel;
    std::string error;
    ASSERT_TRUE(RenderSheet(one, BinFolder(), SampleKits(), {}, serial, error)) << error;
    RenderOptions three = one;
    three.jobs = 3;
    ASSERT_TRUE(RenderSheet(three, BinFolder(), SampleKits(), {}, parallel, error)) << error;
    EXPECT_EQ(serial.pixels, parallel.pixels);
}

TEST_F(ContactSheet, TooManyKitsOrAnUnreadableOneWritesNothing) {
    std::ofstream(folder_.File("broken.jpg"), std::ios::binary) << "\xFF\xD8\xFF\xE0 not a picture";
    std::vector<std::string> withBroken = SampleKits();
    withBroken.insert(withBroken.begin() + 1, folder_.File("broken.jpg"));
    struct Case {
        RenderOptions options;
        std::string reason;
    };
    RenderOptions huge = Sheet(64, 64, {BinFolder() + "kit-home.jpg"});
    huge.width = huge.height = 2000;
    const std::vector<Case> cases = {
        {Sheet(1, 2, SampleKits()), "3 kits do not fit a 1x2 sheet"},
        {Sheet(2, 2, withBroken), "'" + folder_.File("broken.jpg") + "'"},
        {Sheet(2, 2, {BinFolder() + "kit-home.jpg", folder_.File("missing.jpg")}), "missing.jpg"},
        {huge, "too large"},
    };
    for (const Case& c : cases) {
        DecodedPicture sheet;
        std::string error;
        std::vector<std::string> kits;
        ASSERT_TRUE(ListSheetKits(c.options.textures, kits, error));
        EXPECT_FALSE(RenderSheet(c.options, BinFolder(), kits, {}, sheet, error)) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(RunContactSheet(c.options, BinFolder()), kExitFailed) << c.reason;
        EXPECT_FALSE(fs::exists(c.options.out)) << c.reason;
    }
    EXPECT_FALSE(fs::exists(folder_.File("sheet.png.partial")));
}

}  // namespace
}  // namespace maglorin::render_tool
