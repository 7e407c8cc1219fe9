#pragma once
// A program the tests start and then work with while it runs (find its window, close it), and
// the runs to an end through the shared exit-code runner: setup's and msiexec's full 32-bit exit
// codes (Wine's own exit status keeps only the low 8 bits). Every wait is bounded, so a hung
// program fails its test instead of hanging the run.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "exit_code_runner.h"
#include "win32_handles.h"

namespace maglorin::test_support {

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

// Runs `program` (a full path) with `arguments` to its end; message boxes it opens are recorded
// and answered with OK.
test_support::ProgramRun RunToEnd(const std::wstring& program, const std::wstring& arguments);
// Its full exit code, or none when it could not start or did not end.
std::optional<DWORD> ExitCodeOf(const std::wstring& program, const std::wstring& arguments);

// [SystemFolder]msiexec.exe
std::wstring Msiexec();

// "\"path\"": a path quoted for a command line.
std::wstring Quoted(const std::wstring& path);

}  // namespace maglorin::test_support
