#pragma once
// Starts Windows programs from the tests and reads their full 32-bit exit code (Wine's own exit
// status keeps only the low 8 bits), with a bound on every wait so a hung program fails its test
// instead of hanging the run.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "win32_handles.h"

namespace maglorin::disttest {

// Long enough for an install under a loaded Wine; only a program that hangs reaches it.
inline constexpr DWORD kProgramLimitMs = 5 * 60 * 1000;

class ChildProcess {
public:
    // Starts `commandLine` (program path quoted by the caller) in `folder` (empty: ours).
    ChildProcess(const std::wstring& commandLine, const std::wstring& folder = L"");
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    // Ends a program that is still running: a failed test leaves nothing behind.
    ~ChildProcess();

    bool Started() const { return process_.IsValid(); }
    DWORD StartError() const { return startError_; }
    DWORD ProcessId() const { return processId_; }
    // Waits up to `limitMs` for the program to end; its exit code, or none when it still runs.
    std::optional<DWORD> Wait(DWORD limitMs = kProgramLimitMs);
    // A visible top-level window of this process with class `windowClass`; null when none shows
    // within `limitMs`.
    HWND WaitForWindow(const wchar_t* windowClass, DWORD limitMs = 60000) const;

private:
    ProcessHandle process_;
    DWORD processId_ = 0;
    DWORD startError_ = 0;
};

// Runs a program to its end: its exit code, or none when it cannot start or does not end.
std::optional<DWORD> RunProgram(const std::wstring& commandLine, const std::wstring& folder = L"");

// The text of a message box's static text control ("" when it has none).
std::wstring MessageBoxText(HWND box);

// "\"path\"": a path quoted for a command line.
std::wstring Quoted(const std::wstring& path);

}  // namespace maglorin::disttest
