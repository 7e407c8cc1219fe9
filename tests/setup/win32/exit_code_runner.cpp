#include "exit_code_runner.h"

#include <windows.h>

#include <algorithm>

namespace maglorin::test_support {

namespace {

constexpr DWORD kPollMilliseconds = 100;

struct DialogSearch {
    DWORD processId = 0;
    std::vector<HWND> dialogs;
};

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

bool IsClass(HWND window, const wchar_t* name) {
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    return ::lstrcmpiW(className, name) == 0;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && ::IsWindowVisible(window) && IsClass(window, L"#32770")) {
        search->dialogs.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM parameter) {
    auto* text = reinterpret_cast<std::wstring*>(parameter);
    if (IsClass(child, L"Static")) {
        std::wstring candidate = WindowText(child);
        if (candidate.size() > text->size()) *text = std::move(candidate);
    }
    return TRUE;
}

// Records and answers every visible dialog of the process; a dialog already answered but still
// open is not recorded twice.
void AnswerDialogs(DWORD processId, std::vector<HWND>& answered, std::vector<DialogRecord>& records) {
    DialogSearch search{processId, {}};
    ::EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    for (HWND dialog : search.dialogs) {
        if (std::find(answered.begin(), answered.end(), dialog) == answered.end()) {
            DialogRecord record{WindowText(dialog), {}};
            ::EnumChildWindows(dialog, LongestStatic, reinterpret_cast<LPARAM>(&record.text));
            records.push_back(std::move(record));
            answered.push_back(dialog);
        }
        const int button = ::GetDlgItem(dialog, IDOK) != nullptr ? IDOK : IDCANCEL;
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }
}

}  // namespace

ProgramRun RunProgram(const std::wstring& program, const std::wstring& commandLine, const RunOptions& options) {
    ProgramRun run;
    std::wstring mutableLine = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          options.workingFolder.empty() ? nullptr : options.workingFolder.c_str(), &startup,
                          &process)) {
        return run;
    }
    run.started = true;
    std::vector<HWND> answered;
    const unsigned maximumPolls = options.maximumSeconds * (1000 / kPollMilliseconds);
    for (unsigned poll = 0; poll < maximumPolls; ++poll) {
        if (::WaitForSingleObject(process.hProcess, kPollMilliseconds) == WAIT_OBJECT_0) {
            run.finished = true;
            break;
        }
        AnswerDialogs(process.dwProcessId, answered, run.dialogs);
    }
    if (!run.finished) ::TerminateProcess(process.hProcess, 0xDEAD);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    run.exitCode = exitCode;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return run;
}

}  // namespace maglorin::test_support
