#include "child_process_win32.h"

namespace maglorin::test_support {
namespace {

inline constexpr DWORD kPollMs = 100;

struct WindowSearch {
    DWORD processId;
    const wchar_t* windowClass;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    if (owner == search->processId && IsWindowVisible(window) && std::wstring(name) == search->windowClass) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

ChildProcess::ChildProcess(const std::wstring& commandLine, const std::wstring& folder) {
    std::wstring line = commandLine;  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        startError_ = GetLastError();
        return;
    }
    CloseHandle(info.hThread);
    process_.Reset(info.hProcess);
    processId_ = info.dwProcessId;
}

ChildProcess::~ChildProcess() {
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), kProgramLimitMs);
    }
}

std::optional<DWORD> ChildProcess::Wait(DWORD limitMs) {
    if (!process_ || WaitForSingleObject(process_.Get(), limitMs) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(process_.Get(), &code)) {
        return std::nullopt;
    }
    return code;
}

HWND ChildProcess::WaitForWindow(const wchar_t* windowClass, DWORD limitMs) const {
    WindowSearch search{processId_, windowClass, nullptr};
    for (DWORD waited = 0; waited <= limitMs; waited += kPollMs) {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr || WaitForSingleObject(process_.Get(), 0) != WAIT_TIMEOUT) {
            return search.found;
        }
        Sleep(kPollMs);
    }
    return nullptr;
}

test_support::ProgramRun RunToEnd(const std::wstring& program, const std::wstring& arguments) {
    test_support::RunOptions options;
    options.maximumSeconds = kProgramLimitMs / 1000;
    return test_support::RunProgram(program, Quoted(program) + L" " + arguments, options);
}

std::optional<DWORD> ExitCodeOf(const std::wstring& program, const std::wstring& arguments) {
    const test_support::ProgramRun run = RunToEnd(program, arguments);
    if (!run.started || !run.finished) {
        return std::nullopt;
    }
    return run.exitCode;
}

std::wstring Msiexec() {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\msiexec.exe";
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

}  // namespace maglorin::test_support
