#pragma once
// The credits window "Maglorin - Credits": the program's title and its contributors. Not modal
// and not owned by the main window, so it stays open when the main window closes.

#include <windows.h>

#include "ui/win32/top_level_windows.h"

namespace maglorin::win32 {

class frmCredits {
public:
    static bool RegisterClass(HINSTANCE instance);
    static void Show(HINSTANCE instance, TopLevelWindows& windows);

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace maglorin::win32
