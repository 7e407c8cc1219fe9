#include "message_routine_win32.h"

#include "extraction_paths.h"
#include "result_messages.h"
#include "setup_resources_win32.h"

namespace maglorin {

namespace {

// Another program's window never owns our message box: when that program closes its window, the
// system would take the box down with it, unanswered, and the message would be lost.
bool OwnedByThisProcess(HWND window) {
    DWORD processId = 0;
    return window != nullptr && ::GetWindowThreadProcessId(window, &processId) != 0 &&
           processId == ::GetCurrentProcessId();
}

}  // namespace

std::wstring MessageRoutine::Text(SetupStringId id) const { return LoadSetupText(id, textSource_); }

void MessageRoutine::Show(std::wstring_view text, UINT icon, bool topmost, const wchar_t* caption) {
    const std::wstring message(text);
    log_.Write(u"message: " + Utf16FromPath(message));
    if (!userInterfaceEnabled_) {
        ::OutputDebugStringW(message.c_str());
        return;
    }
    HWND owner = ::GetActiveWindow();
    HWND foreground = nullptr;
    if (owner == nullptr) {
        foreground = ::GetForegroundWindow();
        owner = OwnedByThisProcess(foreground) ? foreground : nullptr;
    }
    ::MessageBoxW(owner, message.c_str(), caption, MB_OK | icon | (topmost ? MB_TOPMOST : 0));
    if (foreground != nullptr) ::SetForegroundWindow(foreground);
}

int MessageRoutine::ShowResult(int result) {
    if (const auto id = ResultMessage(result)) Show(Text(*id), MB_ICONERROR, false);
    if (result != 0) {
        const std::string digits = std::to_string(result);
        log_.Write(u"result: " + std::u16string(digits.begin(), digits.end()));
    }
    return ExitCodeForResult(result);
}

}  // namespace maglorin
