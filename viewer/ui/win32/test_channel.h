#pragma once
// TEST-ONLY query channel, off unless the environment variable MAGLORIN_TEST_CHANNEL names a
// reply file when the program starts. The Windows test driver sends WM_COPYDATA requests
// (dwData kTestChannelTag, UTF-8 text) to the main window:
//   "state"   write the frame state the window cannot show (model transform, camera, styles,
//             switches, materials, menus as attached, frame count, the frame's centre pixel,
//             decodes of a changed picture, keys held) to the reply file
//   "pause"   / "resume"  suspend and resume the timer's frames, so a test counts ticks exactly
//   "tick N"  run N frame ticks now, each reading the keyboard as the timer would
//   "decodes" write "DecodeCount=N": how often a changed picture file was decoded so far
// Only the viewer's test build (maglorin-test.exe) has it; the shipped maglorin.exe does not.

#include <windows.h>

#include <string>

#include "scene/scene.h"
#include "ui/win32/frmMain.h"

namespace maglorin::win32 {

inline constexpr ULONG_PTR kTestChannelTag = 0x4D47;  // "MG"

class TestChannel final : public CopyDataHandler {
public:
    // Null when the channel is off (the variable is not set).
    static TestChannel* FromEnvironment(TestChannel& storage);

    void Attach(frmMain& window, Scene& scene);
    // Answers one request; 1 when it was understood, 0 otherwise.
    LRESULT Handle(const COPYDATASTRUCT* request) override;

private:
    std::string StateReport() const;
    bool WriteReply(const std::string& text) const;

    std::wstring replyFile_;
    frmMain* window_ = nullptr;
    Scene* scene_ = nullptr;
};

}  // namespace maglorin::win32
