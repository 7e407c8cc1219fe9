#pragma once
// The small window that tells the user what setup is doing ("Preparing...", "Checking
// integrity (MD5)..."). Shown only with the user interface enabled; lives on the main thread.

#include <atomic>
#include <string>
#include <string_view>

#include "win32_handles.h"

namespace maglorin {

class StatusWindow {
public:
    StatusWindow() = default;
    StatusWindow(const StatusWindow&) = delete;
    StatusWindow& operator=(const StatusWindow&) = delete;

    // Creates the window on first use, shows it with the text and lets it paint.
    void Show(std::wstring_view title, std::wstring_view text);
    void Hide();
    HWND Window() const { return window_.Get(); }

    // A progress bar and a Cancel button under the text (after Show). SetProgress may be called
    // from any thread: it posts to the bar. The Cancel button sets the request once.
    void ShowProgress();
    void SetProgress(int permille);
    bool CancelRequested() const { return cancelRequested_.load(); }
    void RequestCancel() { cancelRequested_.store(true); }
    HWND CancelButton() const { return cancel_; }

private:
    WindowHandle window_;
    HWND label_ = nullptr;   // children of window_, destroyed with it
    HWND bar_ = nullptr;
    HWND cancel_ = nullptr;
    std::atomic<bool> cancelRequested_{false};
};

}  // namespace maglorin
