// The frame loop of the main window: one frame per timer tick while a model is loaded. Each tick
// takes one pending wheel notch over the canvas, applies the held keys (read with GetKeyState at
// the moment of the tick), projects the meshes, draws the frame and shows it on the canvas. When
// the file of the picture shown changed on disk, the tick reads it again first: the view, the
// style and the material settings stay, only the picture is new. A file that cannot be read
// (caught half-written) keeps the picture shown and says nothing; it is tried again later.
//
// The timer message is the lowest-priority message of the thread, so menus, dialogs and resizing
// always run between ticks; a minimised window draws nothing.
#include <windows.h>

#include "geometry/projection.h"
#include "geometry/view_control.h"
#include "render/modVisualisation.h"
#include "ui/win32/frmMain.h"
#include "ui/win32/picture_file.h"

namespace maglorin::win32 {

namespace {

// Which of the controls' keys the thread's keyboard state reports as held.
HeldKeys ReadHeldKeys() {
    HeldKeys keys;
    for (int code : kControlKeys) {
        if (GetKeyState(code) & 0x8000) keys.Press(code);
    }
    return keys;
}

}  // namespace

void frmMain::tmrProcess_Timer() {
    if (ticksPaused_ || closing_) return;
    if (scene_.ModelLoaded == kFalse16 || IsIconic(window_)) return;
    ReloadChangedPicture();
    ProcessInput();
    if (closing_) return;
    DrawFrame();
    WindowDc dc(picCanvas_);
    PresentFrame(dc.Get());
}

void frmMain::RunTicks(int count) {
    const bool paused = ticksPaused_;
    ticksPaused_ = false;
    for (int i = 0; i < count && !closing_; ++i) tmrProcess_Timer();
    ticksPaused_ = paused;
}

void frmMain::ReloadChangedPicture() {
    if (!textureWatch_.ReloadDue()) return;
    ++reloadDecodes_;
    DecodedPicture picture;
    std::wstring error;
    const bool ok = LoadPictureFile(textureWatch_.Path(), picture, error);
    textureWatch_.Decoded(ok);
    if (!ok) return;
    for (std::int32_t k : watchedMaterials_) PutPictureOnMaterial(scene_, k, picture);
    if (watchingKit_) ShowKitPicture(picture);
}

void frmMain::TakeWheelMessage(WPARAM wParam, LPARAM lParam) {
    if (scene_.WheelMouse == kFalse16 || scene_.ModelLoaded == kFalse16) return;
    // Only notches turned while the pointer is over the canvas zoom the model.
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (WindowFromPoint(point) != picCanvas_) return;
    const short delta = static_cast<short>(HIWORD(wParam));
    if (delta == 0) return;
    // A spun wheel can queue many notches; more than a second's worth is not kept.
    if (wheelNotches_.size() < 64) wheelNotches_.push_back(delta < 0 ? -1 : 1);
}

void frmMain::ProcessInput() {
    if (!wheelNotches_.empty()) {
        WheelZoom(scene_, wheelNotches_.front());
        wheelNotches_.pop_front();
    }
    // Keys typed into another window (the material editor's boxes, a dialog) do not drive the
    // model: only the keyboard state of the active main window counts.
    if (GetActiveWindow() != window_) {
        scene_.KeyStep = 5.0f;
        return;
    }
    const ViewInputResult result = ApplyHeldKeys(scene_, ReadHeldKeys());
    if (result.closeRequested) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        closing_ = true;
    }
}

void frmMain::DrawFrame() {
    ProjectVertices(scene_);
    RenderFrame(scene_);
    ++frameCount_;
}

void frmMain::PresentFrame(HDC dc) {
    const clsDIB& frame = scene_.FrameSurface;
    if (scene_.ModelLoaded == kFalse16 || !frame.Live()) {
        // Nothing is drawn before the first model load: the canvas stays empty.
        RECT all{};
        GetClientRect(picCanvas_, &all);
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        return;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = frame.Width();
    info.bmiHeader.biHeight = -frame.Height();  // the frame is stored top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(frame.Width()), static_cast<DWORD>(frame.Height()), 0, 0, 0,
                      static_cast<UINT>(frame.Height()), frame.Data(), &info, DIB_RGB_COLORS);
}

}  // namespace maglorin::win32
