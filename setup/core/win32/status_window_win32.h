#pragma once
// The small window that tells the user what setup is doing ("Preparing...", "Checking
// integrity (MD5)..."). Shown only with the user interface enabled; lives on the main thread.

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

private:
    WindowHandle window_;
    HWND label_ = nullptr;  // child of window_, destroyed with it
};

}  // namespace maglorin
