// maglorin.exe under the real Win32 API while the picture shown on the kit is rewritten on disk:
// the new picture reaches the frame, nothing is read while nothing changes, a half-written file
// keeps the last good picture, and only the texture opened last is followed. Also the export of
// the frame as PNG beside the 24-bit bitmap.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "image/picture_decoder.h"
#include "image/png_reader.h"
#include "window_driver.h"

namespace maglorin::test_support {
namespace {

const std::vector<std::wstring> kModel = {L"kit.3ds", L"BG.jpg"};
constexpr int kDeadlineSeconds = 20;

// Polls `ready` every 50 ms for at most `seconds`.
template <typename Ready>
bool Poll(Ready ready, int seconds = kDeadlineSeconds) {
    for (int i = 0; i < seconds * 20; ++i) {
        if (ready()) return true;
        Sleep(50);
    }
    return ready();
}

// A 64 x 64 24-bit bitmap of one colour.
std::vector<unsigned char> SolidBitmap(unsigned char red, unsigned char green, unsigned char blue) {
    constexpr int kSide = 64;
    constexpr std::uint32_t kPixelBytes = kSide * kSide * 3;
    std::vector<unsigned char> bytes(54 + kPixelBytes, 0);
    auto put32 = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(value >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, kSide);
    put32(22, kSide);
    bytes[26] = 1;
    bytes[28] = 24;
    for (std::size_t at = 54; at < bytes.size(); at += 3) {
        bytes[at] = blue;
        bytes[at + 1] = green;
        bytes[at + 2] = red;
    }
    return bytes;
}

// Rewrites the file in place, as an editor saving over it does: truncated, then written.
bool Rewrite(const std::wstring& path, const std::vector<unsigned char>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

enum class Hue { Red, Green, Blue, Other };

// The clearly strongest channel of the frame's centre pixel (on the kit).
Hue CentreHue(const StateReport& state) {
    const std::vector<double> rgb = state.Numbers("FrameCentre");
    if (rgb.size() != 3) return Hue::Other;
    constexpr double kMargin = 40;
    if (rgb[0] > rgb[1] + kMargin && rgb[0] > rgb[2] + kMargin) return Hue::Red;
    if (rgb[1] > rgb[0] + kMargin && rgb[1] > rgb[2] + kMargin) return Hue::Green;
    if (rgb[2] > rgb[0] + kMargin && rgb[2] > rgb[1] + kMargin) return Hue::Blue;
    return Hue::Other;
}

std::vector<double> MaterialFields(const StateReport& state, int k) {
    return state.Numbers("Material" + std::to_string(k));
}

// The viewer with the model and a red kit picture "live.bmp" opened through Open Texture.
class LiveReload : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        viewer_ = std::make_unique<ViewerProcess>(L"reload_" + std::wstring(name.begin(), name.end()), kModel);
        ASSERT_TRUE(viewer_->Started());
        live_ = viewer_->Folder() + L"live.bmp";
        ASSERT_TRUE(Rewrite(live_, SolidBitmap(230, 20, 20)));
        Open(live_);
        ASSERT_TRUE(WaitForHue(Hue::Red)) << "centre " << viewer_->State().Value("FrameCentre");
        EXPECT_EQ(DecodeCount(), 0) << "opening is not a reload";
    }

    void Open(const std::wstring& path) {
        viewer_->Command(kCmdOpenTexture);
        HWND dialog = viewer_->WaitForWindow(L"Open Texture");
        ASSERT_NE(dialog, nullptr);
        ViewerProcess::AnswerFileDialog(dialog, path);
        const std::string expected(path.begin(), path.end());
        ASSERT_TRUE(Poll([&] { return viewer_->State().Value("KitPath") == expected; }));
        ASSERT_EQ(viewer_->State().Value("CurrentStyle"), "7");
    }

    bool WaitForHue(Hue hue) const {
        return Poll([&] { return CentreHue(viewer_->State()) == hue; });
    }

    int DecodeCount() const {
        const std::string value = viewer_->Query("decodes").Value("DecodeCount");
        return value.empty() ? -1 : std::stoi(value);
    }

    // Runs frame ticks in the window right now: each would read a changed picture.
    void IdleTicks() const {
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(viewer_->Request("tick 100"));
    }

    std::unique_ptr<ViewerProcess> viewer_;
    std::wstring live_;
};

TEST_F(LiveReload, ARewrittenKitIsDrawnOnceAndKeepsTheViewStyleAndMaterialSettings) {
    IdleTicks();
    EXPECT_EQ(DecodeCount(), 0) << "nothing is read while the file does not change";
    const StateReport before = viewer_->State();

    const ULONGLONG written = GetTickCount64();
    ASSERT_TRUE(Rewrite(live_, SolidBitmap(20, 220, 20)));
    ASSERT_TRUE(WaitForHue(Hue::Green)) << "centre " << viewer_->State().Value("FrameCentre");
    // For the record only (no timed assertion): from the write to the new picture in the frame.
    RecordProperty("reload_ms", static_cast<int>(GetTickCount64() - written));
    std::printf("new picture in the frame %llu ms after the write\n", GetTickCount64() - written);
    EXPECT_EQ(DecodeCount(), 1);
    IdleTicks();
    EXPECT_EQ(DecodeCount(), 1) << "one rewrite, one decode";

    const StateReport after = viewer_->State();
    EXPECT_EQ(after.Value("CurrentStyle"), "7");
    EXPECT_EQ(after.Value("ModelRotation"), before.Value("ModelRotation"));
    EXPECT_EQ(after.Value("ModelScale"), before.Value("ModelScale"));
    EXPECT_EQ(after.Value("CameraPosition"), before.Value("CameraPosition"));
    for (int k = 0; k <= 2; ++k) {
        std::vector<double> was = MaterialFields(before, k);
        std::vector<double> now = MaterialFields(after, k);
        ASSERT_EQ(now.size(), 10u);
        EXPECT_NE(now[9], was[9]) << "material " << k << " shows the new picture";
        was.pop_back();
        now.pop_back();
        EXPECT_EQ(now, was) << "material " << k << " keeps its settings";
    }
}

TEST_F(LiveReload, AHalfWrittenFileKeepsTheLastGoodPictureUntilAGoodWriteArrives) {
    const std::string hash = viewer_->State().Value("Material0");
    // The header of a bitmap cut short, as an editor leaves it in the middle of a save.
    std::vector<unsigned char> cut = SolidBitmap(20, 220, 20);
    cut.resize(30);
    ASSERT_TRUE(Rewrite(live_, cut));
    ASSERT_TRUE(Poll([&] { return DecodeCount() >= 1; })) << "the cut file is tried";
    EXPECT_EQ(viewer_->WaitForWindow(L"Maglorin", L"#32770", 1), nullptr) << "no message for a failed reload";
    IdleTicks();
    EXPECT_EQ(viewer_->State().Value("Material0"), hash) << "the picture shown stays";
    EXPECT_EQ(CentreHue(viewer_->State()), Hue::Red);

    // Garbage that is no picture at all: still no message, still the red kit.
    const std::string text = "this is not a picture, just text an editor saved over it";
    ASSERT_TRUE(Rewrite(live_, std::vector<unsigned char>(text.begin(), text.end())));
    const int tried = DecodeCount();
    ASSERT_TRUE(Poll([&] { return DecodeCount() > tried; }));
    EXPECT_EQ(viewer_->WaitForWindow(L"Maglorin", L"#32770", 1), nullptr);
    EXPECT_EQ(viewer_->State().Value("Material0"), hash);

    // The finished save is picked up.
    ASSERT_TRUE(Rewrite(live_, SolidBitmap(20, 20, 230)));
    ASSERT_TRUE(WaitForHue(Hue::Blue)) << "centre " << viewer_->State().Value("FrameCentre");
    EXPECT_NE(viewer_->State().Value("Material0"), hash);
}

TEST_F(LiveReload, OnlyTheTextureOpenedLastIsFollowed) {
    const std::wstring second = viewer_->Folder() + L"second.bmp";
    ASSERT_TRUE(Rewrite(second, SolidBitmap(20, 220, 20)));
    Open(second);
    ASSERT_TRUE(WaitForHue(Hue::Green));
    const int start = DecodeCount();

    // The first file changes first, then the one shown: only the latter is read.
    ASSERT_TRUE(Rewrite(live_, SolidBitmap(20, 20, 230)));
    ASSERT_TRUE(Rewrite(second, SolidBitmap(230, 20, 20)));
    ASSERT_TRUE(WaitForHue(Hue::Red)) << "centre " << viewer_->State().Value("FrameCentre");
    IdleTicks();
    EXPECT_EQ(DecodeCount(), start + 1);
    EXPECT_EQ(CentreHue(viewer_->State()), Hue::Red);
}

TEST_F(LiveReload, ASaveThatRenamesAFinishedFileOverTheKitIsPickedUp) {
    // Written in full under another name of the folder first: that alone reads nothing.
    const std::wstring temporary = viewer_->Folder() + L"live.bmp.saving";
    ASSERT_TRUE(Rewrite(temporary, SolidBitmap(20, 220, 20)));
    IdleTicks();
    ASSERT_TRUE(MoveFileExW(temporary.c_str(), live_.c_str(), MOVEFILE_REPLACE_EXISTING));
    ASSERT_TRUE(WaitForHue(Hue::Green)) << "centre " << viewer_->State().Value("FrameCentre");
    IdleTicks();
    EXPECT_EQ(DecodeCount(), 1);
}

// A picture put on one material with the editor's "Browse" is followed for that material only.
TEST_F(LiveReload, APictureChosenInTheMaterialEditorIsFollowedForItsMaterial) {
    constexpr int kIdcCmdMeshTex = 1017;
    const std::wstring own = viewer_->Folder() + L"sleeve.bmp";
    ASSERT_TRUE(Rewrite(own, SolidBitmap(20, 220, 20)));
    viewer_->Command(kCmdMaterialEditor);
    HWND editor = viewer_->WaitForWindow(L"Material Manager");
    ASSERT_NE(editor, nullptr);
    viewer_->SelectMaterial(editor, 1);
    const StateReport before = viewer_->State();
    PostMessageW(GetDlgItem(editor, kIdcCmdMeshTex), BM_CLICK, 0, 0);
    HWND dialog = viewer_->WaitForWindow(L"Texture File");
    ASSERT_NE(dialog, nullptr);
    ViewerProcess::AnswerFileDialog(dialog, own);
    ASSERT_TRUE(Poll([&] { return viewer_->State().Value("Material1") != before.Value("Material1"); }));
    const StateReport chosen = viewer_->State();

    // The kit file is no longer followed; the material's own picture is.
    ASSERT_TRUE(Rewrite(live_, SolidBitmap(20, 20, 230)));
    ASSERT_TRUE(Rewrite(own, SolidBitmap(20, 20, 230)));
    ASSERT_TRUE(Poll([&] { return viewer_->State().Value("Material1") != chosen.Value("Material1"); }));
    IdleTicks();
    const StateReport after = viewer_->State();
    EXPECT_EQ(DecodeCount(), 1);
    EXPECT_EQ(after.Value("Material0"), chosen.Value("Material0")) << "the kit's materials keep their picture";
    EXPECT_EQ(after.Value("Material2"), chosen.Value("Material2"));
    ViewerProcess::Press(editor, IDCANCEL);
}

// The export dialog offers PNG after the bitmap; the extension typed or the type chosen decides.
TEST(FrameExport, PngHoldsTheSamePixelsAsTheBitmapOfTheSameFrame) {
    ViewerProcess viewer(L"export_png", {L"kit.3ds", L"BG.jpg", L"kit-home.jpg"}, L"kit-home.jpg");
    ASSERT_TRUE(viewer.Started());
    ASSERT_TRUE(viewer.WaitForValue("CurrentStyle", "7"));
    ASSERT_TRUE(viewer.Request("pause"));  // the same frame for every export
    ASSERT_TRUE(viewer.Request("tick 1"));

    // Each export: the name typed, the file type chosen (0: the one offered first).
    auto exportAs = [&](const std::wstring& typed, int fileType) {
        viewer.Command(kCmdExportBMP);
        HWND dialog = viewer.WaitForWindow(L"Save Bitmap");
        if (dialog == nullptr) return std::wstring(L"no dialog");
        if (fileType != 0) {
            HWND types = GetDlgItem(dialog, 0x470);  // the dialog's file type list
            EXPECT_EQ(SendMessageW(types, CB_GETCOUNT, 0, 0), 2) << "the bitmap, then PNG";
            SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(fileType), 0);
            // What a choice in the list sends its dialog.
            for (WORD notice : {CBN_SELCHANGE, CBN_SELENDOK}) {
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(0x470, notice), reinterpret_cast<LPARAM>(types));
            }
        }
        ViewerProcess::AnswerFileDialog(dialog, viewer.Folder() + typed);
        HWND box = viewer.WaitForWindow(L"Maglorin");
        if (box == nullptr) return std::wstring(L"no message");
        const std::wstring text = ViewerProcess::MessageText(box);
        ViewerProcess::Press(box, IDOK);
        return text;
    };
    const std::wstring bmp = viewer.Folder() + L"frame.bmp";
    const std::wstring png = viewer.Folder() + L"frame.png";
    const std::wstring chosen = viewer.Folder() + L"chosen.png";
    EXPECT_EQ(exportAs(L"frame.bmp", 0), bmp + L"\r\n saved.");
    EXPECT_EQ(exportAs(L"frame.png", 0), png + L"\r\n saved.");
    EXPECT_EQ(exportAs(L"chosen", 1), chosen + L"\r\n saved.");
    ASSERT_TRUE(viewer.WaitForValue("Timer", "1"));

    const std::vector<unsigned char> pngBytes = ReadFileBytes(png);
    ASSERT_GT(pngBytes.size(), 8u);
    EXPECT_EQ(std::string(pngBytes.begin() + 1, pngBytes.begin() + 4), "PNG");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(png + L".partial"))) << "no temporary file left";
    DecodedPicture fromBitmap;
    DecodedPicture fromPng;
    DecodedPicture fromChosen;
    std::string error;
    ASSERT_TRUE(DecodePictureFile(std::filesystem::path(bmp), fromBitmap, error)) << error;
    ASSERT_TRUE(ReadPngFile(std::filesystem::path(png), fromPng, error)) << error;
    ASSERT_TRUE(ReadPngFile(std::filesystem::path(chosen), fromChosen, error)) << error;
    const std::vector<double> canvas = viewer.State().Numbers("Canvas");
    ASSERT_EQ(canvas.size(), 2u);
    EXPECT_EQ(fromPng.width, static_cast<int>(canvas[0]));
    EXPECT_EQ(fromPng.height, static_cast<int>(canvas[1]));
    EXPECT_EQ(fromPng.width, fromBitmap.width);
    EXPECT_EQ(fromPng.height, fromBitmap.height);
    EXPECT_TRUE(fromPng.pixels == fromBitmap.pixels) << "the PNG differs from the bitmap of the same frame";
    EXPECT_TRUE(fromChosen.pixels == fromBitmap.pixels);
}

// Replacing a file is asked first; when the new one then cannot be written, the old one stays.
TEST(FrameExport, AFailedWriteKeepsTheFileItWasToReplace) {
    ViewerProcess viewer(L"export_keep", {L"kit.3ds", L"BG.jpg", L"kit-home.jpg"}, L"kit-home.jpg");
    ASSERT_TRUE(viewer.Started());
    ASSERT_TRUE(viewer.WaitForValue("CurrentStyle", "7"));
    const std::string old = "the picture saved last week";
    for (const std::wstring name : {L"keep.bmp", L"keep.png"}) {
        const std::wstring path = viewer.Folder() + name;
        ASSERT_TRUE(Rewrite(path, std::vector<unsigned char>(old.begin(), old.end())));
        // The new file is written beside under a temporary name: a folder there makes that fail.
        const std::wstring blocker = path + L".partial";
        RemoveDirectoryW(blocker.c_str());  // left by an earlier run
        ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
        viewer.Command(kCmdExportBMP);
        HWND dialog = viewer.WaitForWindow(L"Save Bitmap");
        ASSERT_NE(dialog, nullptr);
        ViewerProcess::AnswerFileDialog(dialog, path);
        HWND box = viewer.WaitForWindow(L"Maglorin");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(ViewerProcess::MessageText(box), path + L" already exists.\r\nDo you want to replace it.");
        ViewerProcess::Press(box, IDYES);
        box = viewer.WaitForWindow(L"Maglorin");
        ASSERT_NE(box, nullptr);
        const std::wstring text = ViewerProcess::MessageText(box);
        EXPECT_EQ(text.rfind(L"The frame could not be saved as\r\n" + path, 0), 0u) << std::string(text.begin(), text.end());
        ViewerProcess::Press(box, IDOK);
        ASSERT_TRUE(viewer.WaitForValue("Timer", "1"));
        const std::vector<unsigned char> kept = ReadFileBytes(path);
        EXPECT_EQ(std::string(kept.begin(), kept.end()), old) << std::string(name.begin(), name.end());
        RemoveDirectoryW(blocker.c_str());
    }
}

}  // namespace
}  // namespace maglorin::test_support
