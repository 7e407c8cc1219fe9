#pragma once
// The program runs while any of its top-level windows (the main window, the credits window) is
// open; the last one to close ends the message loop.

#include <windows.h>

namespace maglorin::win32 {

class TopLevelWindows {
public:
    void Opened() { ++open_; }
    void Closed() {
        if (--open_ <= 0) PostQuitMessage(0);
    }

private:
    int open_ = 0;
};

}  // namespace maglorin::win32
