// setup.exe: the process entry. Sets up what the whole run shares (component objects, the
// rich-text control of the dialogs), resolves "/cmdloc", runs one SetupSession and, after it is
// torn down, removes this program when it is the temporary copy a restart made.

#include <windows.h>
#include <objbase.h>

#include <memory>
#include <string>

#include "fixed_disk_restart_win32.h"
#include "indirect_command_line_win32.h"
#include "setup_session_win32.h"
#include "win32_handles.h"

namespace {

struct ComScope {
    ComScope() : initialised(SUCCEEDED(::CoInitialize(nullptr))) {}
    ~ComScope() {
        if (initialised) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool initialised;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    const ComScope com;
    ::InitCommonControls();
    const maglorin::LibraryHandle richEdit(::LoadLibraryW(L"RICHED20.DLL"));
    const std::wstring arguments = maglorin::ResolveIndirectCommandLine(commandLine != nullptr ? commandLine : L"");
    int exitCode = 0;
    std::string selfDeleteRecord;
    {
        maglorin::SetupSession session(arguments);
        exitCode = session.Run();
        selfDeleteRecord = session.SelfDeleteRecord();
    }
    maglorin::ScheduleSelfDelete(selfDeleteRecord);
    return exitCode;
}
