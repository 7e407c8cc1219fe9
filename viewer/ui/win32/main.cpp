// maglorin.exe [PICTURE]: the kit previewer. With a picture file named on the command line
// (file associations, "Open with") the model is loaded and the picture put on the kit at once.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "image/error_notice.h"
#include "scene/scene.h"
#include "ui/win32/frmMain.h"
#if defined(MAGLORIN_TEST_BUILD)
#include "ui/win32/test_channel.h"
#endif
#include "ui/win32/text_encoding.h"
#include "ui/win32/user_settings.h"
#include "win32_handles.h"

namespace {

std::wstring PictureArgument() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return std::wstring();
    const maglorin::LocalMemoryHandle owned(arguments);
    std::wstring picture = count >= 2 ? arguments[1] : L"";
    if (picture.empty()) return picture;
    // A name relative to the current folder is shown and remembered as a full path.
    const DWORD length = GetFullPathNameW(picture.c_str(), 0, nullptr, nullptr);
    if (length == 0) return picture;
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(picture.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length) return picture;
    full.resize(written);
    return full;
}

int RunMessageLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    using namespace maglorin;
    using namespace maglorin::win32;
    ComScope com;
    // The surfaces' own error texts become message boxes.
    SetErrorNotifier([](std::string_view text) {
        MessageBoxW(GetActiveWindow(), Utf8ToWide(text).c_str(), kProgramName, MB_OK | MB_ICONERROR);
    });
    if (!frmMain::RegisterClasses(instance)) return 1;

    // The scene lives as long as the program: every window works on this one.
    Scene scene;
    UserSettings settings = LoadUserSettings();
    TopLevelWindows windows;
    frmMain main(scene, instance, windows, settings);
#if defined(MAGLORIN_TEST_BUILD)
    // The test build only: the window tests' query channel.
    TestChannel channelStorage;
    if (TestChannel* channel = TestChannel::FromEnvironment(channelStorage)) {
        channel->Attach(main, scene);
        main.AttachCopyDataHandler(channel);
    }
#endif
    if (!main.Create(showCommand)) return 1;
    const std::wstring picture = PictureArgument();
    if (!picture.empty()) main.OpenKitTexture(picture);
    const int code = RunMessageLoop();
    SetErrorNotifier(nullptr);
    return code;
}
