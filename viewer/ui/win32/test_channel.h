#pragma once
// TEST-ONLY query channel, off unless the environment variable MAGLORIN_TEST_CHANNEL names a
// reply file when the program starts. The Windows test driver sends WM_COPYDATA requests
// (dwData kTestChannelTag, UTF-8 text) to the main window:
//   "state"   write the frame state the window cannot show (model transform, camera, styles,
//             switches, materials, menus as attached, frame count, keys held) to the reply file
//   "pause"   / "resume"  suspend and resume the timer's frames, so a test counts ticks exactly
//   "tick N"  run N frame ticks now, each reading the keyboard as the timer would
// Nothing of it is reachable in a normal run.

#include <windows.h>

#include <string>

#include "scene/scene.h"

namespace maglorin::win32 {

class frmMain;

inline constexpr ULONG_PTR kTestChannelTag = 0x4D47;  // "MG"

class TestChannel {
public:
    // Null when the channel is off (the variable is not set).
    static TestChannel* FromEnvironment(TestChannel& storage);

    void Attach(frmMain& window, Scene& scene);
    // Answers one request; 1 when it was understood, 0 otherwise.
    LRESULT Handle(const COPYDATASTRUCT* request);

private:
    std::string StateReport() const;
    bool WriteReply(const std::string& text) const;

    std::wstring replyFile_;
    frmMain* window_ = nullptr;
    Scene* scene_ = nullptr;
};

}  // namespace maglorin::win32
