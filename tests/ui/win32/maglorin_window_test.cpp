// maglorin.exe driven from outside under the real Win32 API: start-up, menus, Open Texture with
// its dialog, styles and switches, held keys and the wheel, Export BMP with its questions, the
// material editor, the credits window, resizing and the faults the program must survive.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cmath>
#include <string>

#include "window_driver.h"

namespace maglorin::test_support {
namespace {

const std::vector<std::wstring> kSampleKit = {L"kit.3ds", L"BG.jpg", L"kit-home.jpg", L"kit-away.jpg"};
constexpr int kIdcLstMaterials = 1001;
constexpr int kIdcTxtUTiling = 1004;
constexpr int kIdcTxtRotate = 1006;
constexpr int kIdcCmdCoordApply = 1007;
constexpr int kIdcChkMirror0 = 1010;
constexpr int kIdcChkMirror1 = 1011;
constexpr int kIdcOptFlip2 = 1014;
constexpr int kIdcCmdMirrorApply = 1016;
constexpr int kIdcLblLoadTexture = 1018;
constexpr int kIdcTxtTransparency = 1020;
constexpr int kIdcCmdTransApply = 1021;

std::wstring ControlText(HWND dialog, int id) {
    wchar_t text[512] = {};
    SendMessageW(GetDlgItem(dialog, id), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

void SetControlText(HWND dialog, int id, const wchar_t* text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// Material k's fields: HasTexture, UScale, VScale, UOffset, VOffset, Rotation, Transparency,
// Mirror, Flip, working-texture hash.
std::vector<double> MaterialFields(const StateReport& state, int k) {
    return state.Numbers("Material" + std::to_string(k));
}

// Holds keys for a scope: released however the test leaves, so no later test inherits them.
class KeysHeld {
public:
    explicit KeysHeld(std::vector<WORD> codes) : codes_(std::move(codes)) { ViewerProcess::Keys(codes_, true); }
    ~KeysHeld() { ViewerProcess::Keys(codes_, false); }
    KeysHeld(const KeysHeld&) = delete;
    KeysHeld& operator=(const KeysHeld&) = delete;

private:
    std::vector<WORD> codes_;
};

// Starts the viewer with the home kit opened from the command line and waits for "Mapped".
class LoadedViewer : public ::testing::Test {
protected:
    void SetUp() override {
        viewer_ = std::make_unique<ViewerProcess>(Name(), kSampleKit, L"kit-home.jpg");
        ASSERT_TRUE(viewer_->Started());
        ASSERT_TRUE(viewer_->WaitForValue("CurrentStyle", "7"));
    }
    std::wstring Name() const {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        return L"ui_" + std::wstring(name.begin(), name.end());
    }
    std::unique_ptr<ViewerProcess> viewer_;
};

TEST(MainWindow, StartsEmptyWithTheDesignedMenus) {
    ViewerProcess viewer(L"ui_start", kSampleKit);
    ASSERT_TRUE(viewer.Started());
    wchar_t title[128] = {};
    GetWindowTextW(viewer.Main(), title, 128);
    EXPECT_EQ(std::wstring(title), L"Maglorin (Beta 0.1)");
    const StateReport state = viewer.State();
    EXPECT_EQ(state.Value("ModelLoaded"), "0");
    EXPECT_EQ(state.Value("Timer"), "0") << "no frames before the first Open Texture";
    EXPECT_EQ(state.MenuState("File"), "enabled|unchecked");
    EXPECT_EQ(state.MenuState("File/Open Texture"), "enabled|unchecked");
    EXPECT_EQ(state.MenuState("File/Exit"), "enabled|unchecked");
    EXPECT_EQ(state.MenuState("Style"), "disabled|unchecked");
    EXPECT_EQ(state.MenuState("Style/Gouraud"), "enabled|unchecked");
    EXPECT_EQ(state.MenuState("Style/Mapped"), "enabled|unchecked");
    EXPECT_EQ(state.MenuState("Help/Credits"), "enabled|unchecked");
    // Hidden entries are not shown at all.
    for (const char* hidden : {"Edit", "File/Import", "File/Export", "Style/Dot", "Style/Light",
                               "Style/Show Backface", "Style/Photo Realistic"}) {
        EXPECT_EQ(state.MenuState(hidden), "") << hidden;
    }
    const std::vector<std::string> model = state.Values("MenuModel");
    auto has = [&](const std::string& line) { return std::find(model.begin(), model.end(), line) != model.end(); };
    EXPECT_TRUE(has("Edit|hidden|disabled|unchecked"));
    EXPECT_TRUE(has("Light|hidden|enabled|unchecked"));
    EXPECT_TRUE(has("Show Backface|hidden|enabled|unchecked"));
    EXPECT_TRUE(has("BMP|visible|enabled|unchecked"));
    EXPECT_TRUE(has("Export|hidden|enabled|unchecked"));
    // Both surfaces have the canvas size from the start.
    const std::vector<double> canvas = state.Numbers("Canvas");
    ASSERT_EQ(canvas.size(), 2u);
    EXPECT_GT(canvas[0], 100);
    EXPECT_EQ(state.Numbers("Background"), canvas);
    const std::vector<double> clip = state.Numbers("Clip");
    EXPECT_EQ(clip, (std::vector<double>{0, 0, canvas[0] - 1, canvas[1] - 1}));
}

TEST(MainWindow, OpenTextureLoadsTheKitThenPutsThePictureOnIt) {
    ViewerProcess viewer(L"ui_open", kSampleKit);
    ASSERT_TRUE(viewer.Started());
    viewer.Command(kCmdOpenTexture);
    HWND dialog = viewer.WaitForWindow(L"Open Texture");
    ASSERT_NE(dialog, nullptr);
    // The model is loaded and drawn in "Gouraud" before the picture is chosen.
    StateReport state = viewer.State();
    EXPECT_EQ(state.Value("ModelLoaded"), "1");
    EXPECT_EQ(state.Value("CurrentStyle"), "6");
    EXPECT_EQ(state.Value("Timer"), "1");
    EXPECT_EQ(state.MenuState("Style"), "disabled|unchecked");
    EXPECT_EQ(state.MenuState("Style/Gouraud"), "enabled|checked");
    ViewerProcess::AnswerFileDialog(dialog, viewer.Folder() + L"kit-home.jpg");
    ASSERT_TRUE(viewer.WaitForValue("CurrentStyle", "7"));
    state = viewer.State();
    EXPECT_EQ(state.MenuState("Style"), "enabled|unchecked");
    EXPECT_EQ(state.MenuState("Style/Mapped"), "enabled|checked");
    EXPECT_EQ(state.MenuState("Style/Gouraud"), "enabled|unchecked");
    EXPECT_EQ(state.Value("KitPath"), std::string(viewer.Folder().begin(), viewer.Folder().end()) + "kit-home.jpg");
    for (int k = 0; k <= 2; ++k) EXPECT_EQ(MaterialFields(state, k).at(0), 1.0) << "material " << k;
    // The screenshot reads the screen: the canvas must have been drawn after the dialog went away.
    for (int i = 0; i < 500 && IsWindow(dialog); ++i) Sleep(10);
    EXPECT_FALSE(IsWindow(dialog));
    viewer.Request("tick 1");
    EXPECT_TRUE(viewer.WaitForFrameOnScreen(L"kit-home.jpg", L"Mapped"));
    EXPECT_TRUE(viewer.Screenshot(BinFolder() + L"ui_window_mapped.bmp"));

    viewer.Command(kCmdVisualStyle0 + 6);
    ASSERT_TRUE(viewer.WaitForValue("CurrentStyle", "6"));
    EXPECT_EQ(viewer.State().MenuState("Style/Gouraud"), "enabled|checked");
    viewer.Request("tick 1");
    EXPECT_TRUE(viewer.WaitForFrameOnScreen(L"kit-home.jpg", L"Gouraud"));
    EXPECT_TRUE(viewer.Screenshot(BinFolder() + L"ui_window_gouraud.bmp"));
}

TEST(MainWindow, CancellingTheTextureDialogLeavesGouraudAndTheStyleMenuDisabled) {
    ViewerProcess viewer(L"ui_cancel", kSampleKit);
    ASSERT_TRUE(viewer.Started());
    viewer.Command(kCmdOpenTexture);
    HWND dialog = viewer.WaitForWindow(L"Open Texture");
    ASSERT_NE(dialog, nullptr);
    ViewerProcess::Press(dialog, IDCANCEL);
    ASSERT_TRUE(viewer.WaitForValue("Timer", "1"));
    const StateReport state = viewer.State();
    EXPECT_EQ(state.Value("ModelLoaded"), "1");
    EXPECT_EQ(state.Value("CurrentStyle"), "6");
    EXPECT_EQ(state.MenuState("Style"), "disabled|unchecked");
    EXPECT_EQ(state.Value("KitPath"), "");
}

TEST(MainWindow, MissingModelSaysLoadingErrorAndStillOffersTheDialog) {
    ViewerProcess viewer(L"ui_nomodel", {L"BG.jpg", L"kit-home.jpg"});
    ASSERT_TRUE(viewer.Started());
    viewer.Command(kCmdOpenTexture);
    HWND box = viewer.WaitForWindow(L"Maglorin");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ViewerProcess::MessageText(box), L"Loading Error");
    ViewerProcess::Press(box, IDOK);
    HWND dialog = viewer.WaitForWindow(L"Open Texture");
    ASSERT_NE(dialog, nullptr);
    ViewerProcess::Press(dialog, IDCANCEL);
    ASSERT_TRUE(viewer.WaitForValue("ModelLoaded", "0"));
    const std::vector<std::string> model = viewer.State().Values("MenuModel");
    EXPECT_NE(std::find(model.begin(), model.end(), "Edit|hidden|disabled|unchecked"), model.end());
    EXPECT_TRUE(viewer.Running());
}

TEST(MainWindow, MissingBackgroundStartsPlainAndSaysSoOnce) {
    ViewerProcess viewer(L"ui_nobg", {L"kit.3ds", L"kit-home.jpg"});
    ASSERT_TRUE(viewer.Started());
    HWND box = viewer.WaitForWindow(L"Maglorin");
    ASSERT_NE(box, nullptr);
    const std::wstring text = ViewerProcess::MessageText(box);
    EXPECT_NE(text.find(L"BG.jpg"), std::wstring::npos) << std::string(text.begin(), text.end());
    EXPECT_NE(text.find(L"plain background"), std::wstring::npos);
    ViewerProcess::Press(box, IDOK);
    for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(50);
    EXPECT_EQ(viewer.WaitForWindow(L"Maglorin", L"#32770", 2), nullptr) << "told once only";
    viewer.Command(kCmdOpenTexture);
    HWND dialog = viewer.WaitForWindow(L"Open Texture");
    ASSERT_NE(dialog, nullptr);
    ViewerProcess::AnswerFileDialog(dialog, viewer.Folder() + L"kit-home.jpg");
    ASSERT_TRUE(viewer.WaitForValue("CurrentStyle", "7"));
    const StateReport state = viewer.State();
    EXPECT_EQ(state.Numbers("Background"), state.Numbers("Canvas"));
    EXPECT_EQ(viewer.WaitForWindow(L"Maglorin", L"#32770", 1), nullptr);
}

TEST_F(LoadedViewer, StyleAndDisplaySwitchesFollowTheirEntries) {
    viewer_->Command(kCmdLight);
    ASSERT_TRUE(viewer_->WaitForValue("LightOn", "1"));
    viewer_->Command(kCmdLight);
    ASSERT_TRUE(viewer_->WaitForValue("LightOn", "0"));
    viewer_->Command(kCmdDoubleSide);
    ASSERT_TRUE(viewer_->WaitForValue("DoubleSided", "1"));
    viewer_->Command(kCmdVisualStyle0 + 2);
    ASSERT_TRUE(viewer_->WaitForValue("CurrentStyle", "2"));
    const StateReport state = viewer_->State();
    EXPECT_EQ(state.MenuState("Style/Mapped"), "enabled|unchecked");
    EXPECT_EQ(state.MenuState("Style/Gouraud"), "enabled|unchecked");
}

TEST_F(LoadedViewer, HeldKeysTurnTheModelAndAFullTurnReturnsToZero) {
    ASSERT_TRUE(viewer_->Request("pause"));
    viewer_->BringToFront();
    {
        KeysHeld keys({'R', VK_RIGHT});
        ASSERT_TRUE(viewer_->WaitForValue("KeysHeld", "39 82 "))
            << "held keys reach the window: " << viewer_->State().Value("KeysHeld");
        ASSERT_TRUE(viewer_->Request("tick 71"));
        EXPECT_EQ(viewer_->State().Numbers("ModelRotation"), (std::vector<double>{0, 355, 0}));
        ASSERT_TRUE(viewer_->Request("tick 1"));
        EXPECT_EQ(viewer_->State().Numbers("ModelRotation"), (std::vector<double>{0, 0, 0}));
        ASSERT_TRUE(viewer_->Request("tick 1"));
        EXPECT_EQ(viewer_->State().Numbers("ModelRotation"), (std::vector<double>{0, 5, 0}));
    }
    ASSERT_TRUE(viewer_->WaitForValue("KeysHeld", ""));

    // S with Up zooms by a tenth per tick; X restores the fitted transform.
    const double fitted = viewer_->State().Number("ModelScale");
    {
        KeysHeld keys({'S', VK_UP});
        ASSERT_TRUE(viewer_->WaitForValue("KeysHeld", "38 83 "));
        ASSERT_TRUE(viewer_->Request("tick 2"));
        EXPECT_NEAR(viewer_->State().Number("ModelScale"), fitted + 0.2, 1e-4);
    }
    {
        KeysHeld keys({'X'});
        ASSERT_TRUE(viewer_->WaitForValue("KeysHeld", "88 "));
        ASSERT_TRUE(viewer_->Request("tick 1"));
    }
    StateReport state = viewer_->State();
    EXPECT_EQ(state.Numbers("ModelRotation"), (std::vector<double>{0, 0, 0}));
    EXPECT_DOUBLE_EQ(state.Number("ModelScale"), fitted);

    // Wheel notches over the canvas zoom by a quarter, one per tick.
    ASSERT_TRUE(viewer_->WaitForValue("KeysHeld", ""));
    viewer_->Wheel(-1);
    viewer_->Wheel(-1);
    ASSERT_TRUE(viewer_->Request("tick 1"));
    EXPECT_NEAR(viewer_->State().Number("ModelScale"), fitted + 0.25, 1e-4);
    ASSERT_TRUE(viewer_->Request("tick 1"));
    EXPECT_NEAR(viewer_->State().Number("ModelScale"), fitted + 0.5, 1e-4);
    ASSERT_TRUE(viewer_->Request("tick 1"));
    EXPECT_NEAR(viewer_->State().Number("ModelScale"), fitted + 0.5, 1e-4) << "no notch left";
}

TEST_F(LoadedViewer, EscapeClosesTheProgram) {
    viewer_->BringToFront();
    KeysHeld keys({VK_ESCAPE});
    EXPECT_TRUE(viewer_->WaitForExit(20));
}

TEST_F(LoadedViewer, ExportWritesTheFrameAsksBeforeReplacingAndRestartsTheTimer) {
    const std::wstring name = viewer_->Folder() + L"frame.bmp";
    viewer_->Command(kCmdExportBMP);
    HWND dialog = viewer_->WaitForWindow(L"Save Bitmap");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(viewer_->State().Value("Timer"), "0") << "no frames while the dialogs are open";
    ViewerProcess::AnswerFileDialog(dialog, viewer_->Folder() + L"frame");  // the extension is added
    HWND box = viewer_->WaitForWindow(L"Maglorin");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ViewerProcess::MessageText(box), name + L"\r\n saved.");
    ViewerProcess::Press(box, IDOK);
    ASSERT_TRUE(viewer_->WaitForValue("Timer", "1"));

    // The file is the whole canvas as a 24-bit bitmap.
    const std::vector<unsigned char> bytes = ReadFileBytes(name);
    ASSERT_GT(bytes.size(), 54u);
    const std::vector<double> canvas = viewer_->State().Numbers("Canvas");
    auto u32 = [&](std::size_t at) {
        return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<unsigned>(bytes[at + 3]) << 24);
    };
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[28], 24);
    EXPECT_EQ(static_cast<double>(u32(18)), canvas.at(0));
    EXPECT_EQ(static_cast<double>(u32(22)), canvas.at(1));
    EXPECT_EQ(u32(2), bytes.size());

    // The same frame from the headless renderer, for the same state.
    const std::wstring reference = viewer_->Folder() + L"reference.bmp";
    const std::wstring size = std::to_wstring(static_cast<int>(canvas[0])) + L"x" +
                              std::to_wstring(static_cast<int>(canvas[1]));
    const int code = RunProgram(L"\"" + BinFolder() + L"maglorin-render.exe\" --model \"" + viewer_->Folder() +
                                    L"kit.3ds\" --texture \"" + viewer_->Folder() + L"kit-home.jpg\" --background \"" +
                                    viewer_->Folder() + L"BG.jpg\" --style Mapped --size " + size + L" --out \"" +
                                    reference + L"\"",
                                60);
    if (code == -1) {
        ADD_FAILURE() << "maglorin-render.exe could not be run";
    } else {
        EXPECT_EQ(code, 0);
        EXPECT_TRUE(ReadFileBytes(reference) == bytes) << "the exported frame differs from the headless one";
    }

    // An existing name: No brings the dialog back, Yes replaces the file.
    viewer_->Command(kCmdExportBMP);
    dialog = viewer_->WaitForWindow(L"Save Bitmap");
    ASSERT_NE(dialog, nullptr);
    ViewerProcess::AnswerFileDialog(dialog, name);
    box = viewer_->WaitForWindow(L"Maglorin");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ViewerProcess::MessageText(box), name + L" already exists.\r\nDo you want to replace it.");
    ViewerProcess::Press(box, IDNO);
    dialog = viewer_->WaitForWindow(L"Save Bitmap");
    ASSERT_NE(dialog, nullptr);
    ViewerProcess::AnswerFileDialog(dialog, name);
    box = viewer_->WaitForWindow(L"Maglorin");
    ASSERT_NE(box, nullptr);
    ViewerProcess::Press(box, IDYES);
    box = viewer_->WaitForWindow(L"Maglorin");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ViewerProcess::MessageText(box), name + L"\r\n saved.");
    ViewerProcess::Press(box, IDOK);
    ASSERT_TRUE(viewer_->WaitForValue("Timer", "1"));

    // Cancelling also restarts the frames.
    viewer_->Command(kCmdExportBMP);
    dialog = viewer_->WaitForWindow(L"Save Bitmap");
    ASSERT_NE(dialog, nullptr);
    ViewerProcess::Press(dialog, IDCANCEL);
    ASSERT_TRUE(viewer_->WaitForValue("Timer", "1"));
}

TEST_F(LoadedViewer, ExportThatCannotWriteSaysSoAndKeepsRunning) {
    const std::wstring name = viewer_->Folder() + L"locked.bmp";
    // Held open without sharing: it can be neither replaced nor written.
    HANDLE locked = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(locked, "old", 3, &written, nullptr);
    viewer_->Command(kCmdExportBMP);
    HWND dialog = viewer_->WaitForWindow(L"Save Bitmap");
    ASSERT_NE(dialog, nullptr);
    ViewerProcess::AnswerFileDialog(dialog, name);
    HWND box = viewer_->WaitForWindow(L"Maglorin");
    ASSERT_NE(box, nullptr);
    ViewerProcess::Press(box, IDYES);
    box = viewer_->WaitForWindow(L"Maglorin");
    ASSERT_NE(box, nullptr);
    const std::wstring text = ViewerProcess::MessageText(box);
    EXPECT_EQ(text.rfind(L"The frame could not be saved as", 0), 0u) << std::string(text.begin(), text.end());
    ViewerProcess::Press(box, IDOK);
    ASSERT_TRUE(viewer_->WaitForValue("Timer", "1"));
    EXPECT_TRUE(viewer_->Running());
    CloseHandle(locked);
}

TEST_F(LoadedViewer, MaterialEditorChangesReachTheNextFrame) {
    ASSERT_TRUE(viewer_->Request("pause"));
    ASSERT_TRUE(viewer_->Request("tick 1"));
    const StateReport before = viewer_->State();
    viewer_->Command(kCmdMaterialEditor);
    HWND editor = viewer_->WaitForWindow(L"Material Manager");
    ASSERT_NE(editor, nullptr);
    HWND list = GetDlgItem(editor, kIdcLstMaterials);
    EXPECT_GE(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    SendMessageW(editor, WM_COMMAND, MAKEWPARAM(kIdcLstMaterials, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(ControlText(editor, kIdcLblLoadTexture), L"Loaded");
    EXPECT_EQ(ControlText(editor, kIdcTxtUTiling), L"1");

    // Enter in the Rotate box applies the coordinates.
    SetControlText(editor, kIdcTxtRotate, L"45");
    SendMessageW(editor, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(editor, kIdcTxtRotate)), TRUE);
    SendMessageW(editor, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    std::vector<double> fields = MaterialFields(viewer_->State(), 0);
    EXPECT_EQ(fields.at(5), 45.0);
    EXPECT_EQ(fields.at(1), 1.0);

    Click(editor, kIdcChkMirror0);
    Click(editor, kIdcChkMirror1);
    EXPECT_EQ(MaterialFields(viewer_->State(), 0).at(7), 11.0);
    Click(editor, kIdcChkMirror0);
    EXPECT_EQ(MaterialFields(viewer_->State(), 0).at(7), 10.0);
    Click(editor, kIdcOptFlip2);
    EXPECT_EQ(MaterialFields(viewer_->State(), 0).at(8), 2.0);
    Click(editor, kIdcCmdMirrorApply);
    EXPECT_NE(MaterialFields(viewer_->State(), 0).at(9), MaterialFields(before, 0).at(9))
        << "the mirrored picture goes into the working texture";
    SetControlText(editor, kIdcTxtTransparency, L"0.5");
    Click(editor, kIdcCmdTransApply);
    EXPECT_EQ(MaterialFields(viewer_->State(), 0).at(6), 0.5);

    // The frames go on under the modal editor and show the changes.
    ASSERT_TRUE(viewer_->Request("tick 1"));
    EXPECT_NE(viewer_->State().Value("FrameHash"), before.Value("FrameHash"));
    ViewerProcess::Press(editor, IDCANCEL);
    ASSERT_TRUE(viewer_->Request("resume"));
}

TEST_F(LoadedViewer, CoordinateApplyBeforeAnySelectionReadsTheDesignTextsAsZero) {
    viewer_->Command(kCmdMaterialEditor);
    HWND editor = viewer_->WaitForWindow(L"Material Manager");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(ControlText(editor, kIdcTxtRotate), L"WRotate");
    Click(editor, kIdcCmdCoordApply);
    const std::vector<double> fields = MaterialFields(viewer_->State(), 0);
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(fields.at(static_cast<std::size_t>(i)), 0.0) << "field " << i;
    ViewerProcess::Press(editor, IDCANCEL);
}

TEST_F(LoadedViewer, ResizingRecreatesBothSurfacesAtTheCanvasSize) {
    SetWindowPos(viewer_->Main(), nullptr, 0, 0, 640, 480, SWP_NOZORDER | SWP_NOMOVE);
    RECT inner{};
    for (int i = 0; i < 100; ++i) {
        GetClientRect(viewer_->Canvas(), &inner);
        if (viewer_->State().Numbers("Canvas") ==
            std::vector<double>{static_cast<double>(inner.right), static_cast<double>(inner.bottom)}) {
            break;
        }
        Sleep(50);
    }
    const StateReport state = viewer_->State();
    EXPECT_EQ(state.Numbers("Canvas"),
              (std::vector<double>{static_cast<double>(inner.right), static_cast<double>(inner.bottom)}));
    EXPECT_EQ(state.Numbers("Background"), state.Numbers("Canvas"));
    EXPECT_LT(inner.right, 640);
}

TEST_F(LoadedViewer, AMinimisedWindowStopsItsFramesUntilItIsShownAgain) {
    ASSERT_EQ(viewer_->State().Value("Timer"), "1");
    ShowWindow(viewer_->Main(), SW_MINIMIZE);
    ASSERT_TRUE(viewer_->WaitForValue("Timer", "0"));
    const std::string frames = viewer_->State().Value("FrameCount");
    ASSERT_TRUE(viewer_->Request("tick 3"));
    EXPECT_EQ(viewer_->State().Value("FrameCount"), frames) << "nothing is drawn while minimised";
    ShowWindow(viewer_->Main(), SW_RESTORE);
    ASSERT_TRUE(viewer_->WaitForValue("Timer", "1"));
    ASSERT_TRUE(viewer_->Request("tick 1"));
    EXPECT_NE(viewer_->State().Value("FrameCount"), frames);
}

TEST_F(LoadedViewer, CreditsOutliveTheMainWindowAndTheLastWindowEndsTheProgram) {
    viewer_->Command(kCmdCredits);
    HWND credits = viewer_->WaitForWindow(L"Maglorin - Credits", nullptr);
    ASSERT_NE(credits, nullptr);
    DWORD_PTR result = 0;  // sent, not posted: handled when the call returns
    SendMessageTimeoutW(viewer_->Main(), WM_COMMAND, MAKEWPARAM(kCmdCredits, 0), 0, SMTO_NORMAL, 20000, &result);
    EXPECT_EQ(FindWindowExW(nullptr, credits, L"MaglorinCredits", nullptr), nullptr) << "one credits window";
    PostMessageW(viewer_->Main(), WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && IsWindow(viewer_->Main()); ++i) Sleep(50);
    EXPECT_FALSE(IsWindow(viewer_->Main()));
    EXPECT_TRUE(viewer_->Running());
    EXPECT_TRUE(IsWindow(credits));
    PostMessageW(credits, WM_CLOSE, 0, 0);
    EXPECT_TRUE(viewer_->WaitForExit(20));
}

TEST(MainWindow, OpensPicturesInFoldersWithAnyNameAndMetafilesThroughThePictureService) {
    // A program folder whose name is not in the system's code page.
    ViewerProcess viewer(L"ui_\u00fcnic\u00f8de_\u03ba\u03b9\u03c4", kSampleKit, L"kit-home.jpg");
    ASSERT_TRUE(viewer.Started());
    ASSERT_TRUE(viewer.WaitForValue("CurrentStyle", "7"));
    StateReport state = viewer.State();
    EXPECT_EQ(state.Value("ModelLoaded"), "1");
    EXPECT_EQ(state.Numbers("Background"), state.Numbers("Canvas"));
    for (int k = 0; k <= 2; ++k) EXPECT_EQ(MaterialFields(state, k).at(0), 1.0) << "material " << k;

    // An enhanced metafile, which the picture decoder cannot read, as the kit texture.
    const std::wstring metafile = viewer.Folder() + L"stripes.emf";
    HDC dc = CreateEnhMetaFileW(nullptr, metafile.c_str(), nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    for (int i = 0; i < 8; ++i) {
        HBRUSH brush = CreateSolidBrush(i % 2 ? RGB(250, 250, 250) : RGB(20, 40, 200));
        const RECT band{i * 40, 0, i * 40 + 40, 300};
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
    const double before = MaterialFields(state, 0).at(9);
    viewer.Command(kCmdOpenTexture);
    HWND dialog = viewer.WaitForWindow(L"Open Texture");
    ASSERT_NE(dialog, nullptr);
    ViewerProcess::AnswerFileDialog(dialog, metafile);
    for (int i = 0; i < 100 && viewer.State().Value("KitPath").find("stripes.emf") == std::string::npos; ++i) Sleep(50);
    state = viewer.State();
    EXPECT_EQ(MaterialFields(state, 0).at(0), 1.0);
    EXPECT_NE(MaterialFields(state, 0).at(9), before) << "the metafile's picture is on the kit";
}

TEST_F(LoadedViewer, BrowsePutsAnotherPictureOnTheSelectedMaterial) {
    viewer_->Command(kCmdMaterialEditor);
    HWND editor = viewer_->WaitForWindow(L"Material Manager");
    ASSERT_NE(editor, nullptr);
    viewer_->SelectMaterial(editor, 1);
    const double before = MaterialFields(viewer_->State(), 1).at(9);
    PostMessageW(GetDlgItem(editor, 1017), BM_CLICK, 0, 0);
    HWND dialog = viewer_->WaitForWindow(L"Texture File");
    ASSERT_NE(dialog, nullptr);
    ViewerProcess::AnswerFileDialog(dialog, viewer_->Folder() + L"kit-away.jpg");
    for (int i = 0; i < 100 && MaterialFields(viewer_->State(), 1).at(9) == before; ++i) Sleep(50);
    const std::vector<double> fields = MaterialFields(viewer_->State(), 1);
    EXPECT_EQ(fields.at(0), 1.0);
    EXPECT_NE(fields.at(9), before);
    EXPECT_EQ(MaterialFields(viewer_->State(), 0).at(0), 1.0) << "other materials keep their picture";

    // Cancelling the picture dialog leaves the material without texture.
    PostMessageW(GetDlgItem(editor, 1017), BM_CLICK, 0, 0);
    dialog = viewer_->WaitForWindow(L"Texture File");
    ASSERT_NE(dialog, nullptr);
    ViewerProcess::Press(dialog, IDCANCEL);
    for (int i = 0; i < 100 && MaterialFields(viewer_->State(), 1).at(0) != 0.0; ++i) Sleep(50);
    EXPECT_EQ(MaterialFields(viewer_->State(), 1).at(0), 0.0);
    ViewerProcess::Press(editor, IDCANCEL);
}

// Right-click on the canvas, then the keys typed into the pop-up menu.
bool ChooseFromCanvasMenu(const ViewerProcess& viewer, const std::vector<WPARAM>& keys) {
    PostMessageW(viewer.Canvas(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(50, 50));
    PostMessageW(viewer.Canvas(), WM_RBUTTONUP, 0, MAKELPARAM(50, 50));
    HWND popup = viewer.WaitForWindow(L"", L"#32768");
    if (popup == nullptr) return false;
    for (WPARAM key : keys) PostMessageW(popup, WM_KEYDOWN, key, 0);
    for (int i = 0; i < 200 && IsWindowVisible(popup); ++i) Sleep(50);
    return !IsWindowVisible(popup);
}

TEST(MainWindow, CanvasRightClickShowsTheStyleMenu) {
    ViewerProcess viewer(L"ui_popup", kSampleKit);
    ASSERT_TRUE(viewer.Started());
    viewer.Command(kCmdOpenTexture);
    HWND dialog = viewer.WaitForWindow(L"Open Texture");
    ASSERT_NE(dialog, nullptr);
    ViewerProcess::Press(dialog, IDCANCEL);
    ASSERT_TRUE(viewer.WaitForValue("CurrentStyle", "6"));
    // Before any texture the pop-up's entries are greyed: choosing "Mapped" does nothing.
    ASSERT_TRUE(ChooseFromCanvasMenu(viewer, {VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE}));
    EXPECT_EQ(viewer.State().Value("CurrentStyle"), "6");

    viewer.Command(kCmdOpenTexture);
    dialog = viewer.WaitForWindow(L"Open Texture");
    ASSERT_NE(dialog, nullptr);
    ViewerProcess::AnswerFileDialog(dialog, viewer.Folder() + L"kit-home.jpg");
    ASSERT_TRUE(viewer.WaitForValue("CurrentStyle", "7"));
    // "Gouraud" is the first entry of the pop-up.
    ASSERT_TRUE(ChooseFromCanvasMenu(viewer, {VK_DOWN, VK_RETURN}));
    EXPECT_TRUE(viewer.WaitForValue("CurrentStyle", "6"));
    EXPECT_EQ(viewer.State().MenuState("Style/Gouraud"), "enabled|checked");
}

// What the shell hands a window when a file is dropped on it: a DROPFILES block followed by the
// wide file name list, placed in the program's own memory.
HDROP PlaceDropInProcess(DWORD processId, const std::wstring& file) {
    std::vector<unsigned char> block(sizeof(DROPFILES) + (file.size() + 2) * sizeof(wchar_t), 0);
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::copy(file.begin(), file.end(), reinterpret_cast<wchar_t*>(block.data() + sizeof(DROPFILES)));
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) return nullptr;
    void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    SIZE_T written = 0;
    if (remote != nullptr) WriteProcessMemory(process, remote, block.data(), block.size(), &written);
    CloseHandle(process);
    return written == block.size() ? static_cast<HDROP>(remote) : nullptr;
}

TEST(MainWindow, APictureDroppedOnTheWindowBecomesTheKit) {
    ViewerProcess viewer(L"ui_drop", kSampleKit);
    ASSERT_TRUE(viewer.Started());
    HDROP drop = PlaceDropInProcess(viewer.ProcessId(), viewer.Folder() + L"kit-away.jpg");
    ASSERT_NE(drop, nullptr);
    PostMessageW(viewer.Main(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    ASSERT_TRUE(viewer.WaitForValue("CurrentStyle", "7"));
    const StateReport state = viewer.State();
    EXPECT_EQ(state.Value("ModelLoaded"), "1");
    const std::wstring expected = viewer.Folder() + L"kit-away.jpg";
    EXPECT_EQ(state.Value("KitPath"), std::string(expected.begin(), expected.end()));
    EXPECT_EQ(MaterialFields(state, 0).at(0), 1.0);

    // A file that is not a picture is refused with a message and changes nothing.
    drop = PlaceDropInProcess(viewer.ProcessId(), viewer.Folder() + L"kit.3ds");
    ASSERT_NE(drop, nullptr);
    PostMessageW(viewer.Main(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    HWND box = viewer.WaitForWindow(L"Maglorin");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(ViewerProcess::MessageText(box).find(L"kit.3ds"), std::wstring::npos);
    ViewerProcess::Press(box, IDOK);
    EXPECT_EQ(viewer.State().Value("KitPath"), std::string(expected.begin(), expected.end()));
}

TEST(MainWindow, KeepsItsSizeForTheNextRun) {
    {
        ViewerProcess first(L"ui_settings", kSampleKit);
        ASSERT_TRUE(first.Started());
        SetWindowPos(first.Main(), nullptr, 0, 0, 700, 520, SWP_NOZORDER | SWP_NOMOVE);
        for (int i = 0; i < 100; ++i) {
            RECT area{};
            GetWindowRect(first.Main(), &area);
            if (area.right - area.left == 700) break;
            Sleep(50);
        }
        first.Command(kCmdExit);
        ASSERT_TRUE(first.WaitForExit(20));
    }
    ViewerProcess second(L"ui_settings", kSampleKit, L"", true);
    ASSERT_TRUE(second.Started());
    RECT area{};
    GetWindowRect(second.Main(), &area);
    EXPECT_EQ(area.right - area.left, 700);
    EXPECT_EQ(area.bottom - area.top, 520);
}

}  // namespace
}  // namespace maglorin::test_support
