#include "status_window_win32.h"

#include <commctrl.h>

namespace maglorin {

namespace {

constexpr wchar_t kClassName[] = L"TorvexaSetupStatus";
constexpr int kWidth = 360;
constexpr int kHeight = 150;
constexpr int kCancelId = 2;  // IDCANCEL

LRESULT CALLBACK StatusProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0;  // the flow decides when the window goes
    if (message == WM_COMMAND && LOWORD(wParam) == kCancelId) {
        if (auto* status = reinterpret_cast<StatusWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA))) {
            status->RequestCancel();
            ::EnableWindow(status->CancelButton(), FALSE);
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void RegisterStatusClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = StatusProcedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32514));  // IDC_WAIT
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassExW(&windowClass);  // fails harmlessly when already registered
}

// Lets the window paint: the flow runs on this thread and does not pump messages otherwise.
void PumpPending() {
    MSG message;
    for (int i = 0; i < 64 && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace

void StatusWindow::Show(std::wstring_view title, std::wstring_view text) {
    const std::wstring titleText(title);
    const std::wstring labelText(text);
    if (!window_) {
        RegisterStatusClass();
        const int x = (::GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
        const int y = (::GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
        window_.Reset(::CreateWindowExW(0, kClassName, titleText.c_str(), WS_POPUP | WS_CAPTION | WS_BORDER, x, y,
                                        kWidth, kHeight, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
        if (!window_) return;
        ::SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        label_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 25, kWidth - 30, 24,
                                   window_.Get(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    }
    ::SetWindowTextW(window_.Get(), titleText.c_str());
    ::SetWindowTextW(label_, labelText.c_str());
    ::ShowWindow(window_.Get(), SW_SHOW);
    ::UpdateWindow(window_.Get());
    PumpPending();
}

void StatusWindow::ShowProgress() {
    if (!window_ || bar_ != nullptr) return;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    bar_ = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 55, kWidth - 30, 16, window_.Get(),
                             nullptr, instance, nullptr);
    ::SendMessageW(bar_, PBM_SETRANGE32, 0, 1000);
    cancel_ = ::CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, kWidth / 2 - 45, 80,
                                80, 24, window_.Get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelId)),
                                instance, nullptr);
    ::SendMessageW(cancel_, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    PumpPending();
}

void StatusWindow::SetProgress(int permille) {
    if (bar_ != nullptr) ::PostMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(permille), 0);
}

void StatusWindow::Hide() {
    if (window_) ::ShowWindow(window_.Get(), SW_HIDE);
    PumpPending();
}

}  // namespace maglorin
