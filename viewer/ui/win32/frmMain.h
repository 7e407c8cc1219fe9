#pragma once
// The viewer's main window "Maglorin (Beta 0.1)": the canvas that shows each finished frame, the
// "Texture" group (Open button and path), the kit picture, the help line and the menus. It owns
// start-up, the canvas size, loading the model with a kit texture, the visual style and display
// switches, the BMP and PNG export, the material editor and the credits window, and reading the
// shown picture again when its file changes. The frame loop (timer, keys, wheel, the changed
// picture) is in frame_loop.cpp, the export in export_bitmap.cpp.

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "image/decoded_picture.h"
#include "scene/scene.h"
#include "ui/win32/main_menu.h"
#include "ui/win32/texture_watch.h"
#include "ui/win32/top_level_windows.h"
#include "ui/win32/user_settings.h"
#include "win32_handles.h"

namespace maglorin::win32 {

inline constexpr const wchar_t* kMainWindowTitle = L"Maglorin (Beta 0.1)";
// Title of every message box of the main window.
inline constexpr const wchar_t* kProgramName = L"Maglorin";

// Answers WM_COPYDATA requests sent to the main window. The shipped program attaches none; the
// test build of the viewer attaches its query channel (test_channel.h).
class CopyDataHandler {
public:
    virtual ~CopyDataHandler() = default;
    virtual LRESULT Handle(const COPYDATASTRUCT* request) = 0;
};

class frmMain {
public:
    frmMain(Scene& scene, HINSTANCE instance, TopLevelWindows& windows, UserSettings& settings);
    ~frmMain();
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    static bool RegisterClasses(HINSTANCE instance);
    // Creates and shows the window; Form_Load runs while it is created.
    bool Create(int showCommand);
    HWND Window() const { return window_; }

    // Opens a kit texture without the dialog (command line, dropped file): loads the model when
    // none is loaded, then puts the picture on materials 0 to 2.
    void OpenKitTexture(const std::wstring& path);

    void AttachCopyDataHandler(CopyDataHandler* handler) { copyDataHandler_ = handler; }

    // Used by the test channel (test builds only observe through it).
    const MainMenu& Menu() const { return menu_; }
    bool TimerRunning() const { return tmrProcess_.Running(); }
    long long FrameCount() const { return frameCount_; }
    void PauseTicks(bool paused) { ticksPaused_ = paused; }
    void RunTicks(int count);
    HWND Canvas() const { return picCanvas_; }
    const std::wstring& KitPath() const { return kitPath_; }
    // Decodes of a changed picture file so far (failed ones included).
    long long ReloadDecodeCount() const { return reloadDecodes_; }

private:
    static LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CanvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMain(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleCanvas(HWND canvas, UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(UINT command);

    // Form, menu and control events.
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void SizeCanvas();
    void cmdTexture_Click();
    void mnuOpenTexture_Click();
    void mnuVisualStyle_Click(int index);
    void mnuLight_Click();
    void mnuDoubleSide_Click();
    void mnuExportBMP_Click();
    void mnuMaterialEditor_Click();
    void mnuCredits_Click();
    void mnuExit_Click();
    void picCanvas_MouseDown(int button, POINT screenPoint);
    void tmrProcess_Timer();

    // Steps shared by the events.
    void CreateControls();
    void LayoutControls();
    void LoadBackgroundPicture();
    bool LoadModel();
    void ApplyKitTexture(const std::wstring& path);
    void ShowMenuState();
    void StartFrames();
    void DrawFrame();
    void PresentFrame(HDC dc);
    void ProcessInput();
    void TakeWheelMessage(WPARAM wParam, LPARAM lParam);
    void DropFiles(HDROP drop);
    void ShowKitPicture(const DecodedPicture& picture);
    void WatchPicture(const std::wstring& path, std::vector<std::int32_t> materials, bool kit);
    void MaterialPictureChosen(std::int32_t index, const std::wstring& path);
    void ReloadChangedPicture();
    int Message(const std::wstring& text, UINT flags);

    Scene& scene_;
    HINSTANCE instance_;
    TopLevelWindows& windows_;
    UserSettings& settings_;
    CopyDataHandler* copyDataHandler_ = nullptr;

    HWND window_ = nullptr;
    HWND picCanvas_ = nullptr;
    HWND groupTexture_ = nullptr;
    HWND cmdTexture_ = nullptr;
    HWND Path_ = nullptr;
    HWND Label1_ = nullptr;
    HWND Label2_ = nullptr;
    HWND Kit_ = nullptr;
    HWND Image1_ = nullptr;

    MainMenu menu_;
    MenuHandle menuBar_;  // detached from the window before it is destroyed
    IconHandle icon_;
    BitmapHandle kitBitmap_;
    BitmapHandle image1Bitmap_;
    WindowTimer tmrProcess_;

    DecodedPicture backgroundPicture_;  // BG.jpg as decoded; empty when it could not be read
    std::wstring backgroundProblem_;    // shown once after start-up when not empty
    std::wstring kitPath_;
    TextureWatch textureWatch_;               // the picture file shown on the materials below
    std::vector<std::int32_t> watchedMaterials_;
    bool watchingKit_ = false;                // the file is the kit texture (shown in `Kit` too)
    long long reloadDecodes_ = 0;
    std::deque<int> wheelNotches_;      // pending wheel notches over the canvas, oldest first
    long long frameCount_ = 0;
    bool ticksPaused_ = false;
    bool closing_ = false;
    bool framesSuspended_ = false;      // the timer was stopped because the window is minimised
};

}  // namespace maglorin::win32
