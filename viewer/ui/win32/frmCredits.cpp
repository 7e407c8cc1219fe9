#include "ui/win32/frmCredits.h"

namespace maglorin::win32 {

namespace {

constexpr const wchar_t* kCreditsClass = L"MaglorinCredits";
constexpr const wchar_t* kCreditsText =
    L"Maglorin (Beta 0.1)\r\n\r\n"
    L"A football-kit previewer with its own software renderer.\r\n\r\n"
    L"Contributors:\r\n"
    L"the Maglorin developers";

}  // namespace

bool frmCredits::RegisterClass(HINSTANCE instance) {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = Proc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = kCreditsClass;
    cls.cbWndExtra = sizeof(LONG_PTR);
    return RegisterClassExW(&cls) != 0;
}

void frmCredits::Show(HINSTANCE instance, TopLevelWindows& windows) {
    // One credits window: showing it again brings the open one to the front.
    if (HWND open = FindWindowW(kCreditsClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(open, &owner);
        if (owner == GetCurrentProcessId()) {
            SetForegroundWindow(open);
            return;
        }
    }
    HWND window = CreateWindowExW(0, kCreditsClass, L"Maglorin - Credits",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 360, 220,
                                  nullptr, nullptr, instance, &windows);
    if (window == nullptr) return;
    HWND text = CreateWindowExW(0, L"STATIC", kCreditsText, WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 16, 330, 150,
                                window, nullptr, instance, nullptr);
    SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    ShowWindow(window, SW_SHOWNORMAL);
}

LRESULT CALLBACK frmCredits::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        auto* windows = static_cast<TopLevelWindows*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(windows));
        windows->Opened();
        return 0;
    }
    case WM_DESTROY:
        if (auto* windows = reinterpret_cast<TopLevelWindows*>(GetWindowLongPtrW(window, 0))) windows->Closed();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace maglorin::win32
