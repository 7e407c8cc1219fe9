// exit_code_runner: runs a program and checks its full exit code, for command tests.
//   exit_code_runner EXPECTED PROGRAM [ARGUMENTS...]
// Prints "dialog: CAPTION | TEXT" for every dialog box the program opened (each answered with
// OK) and "exit code: N"; exits 0 when N equals EXPECTED (a signed decimal), else 1.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "exit_code_runner.h"

namespace {

std::wstring Quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
    return L"\"" + argument + L"\"";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: exit_code_runner EXPECTED PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const long expected = std::wcstol(argv[1], nullptr, 10);
    const std::wstring program = argv[2];
    std::wstring commandLine = Quoted(program);
    for (int i = 3; i < argc; ++i) commandLine += L" " + Quoted(argv[i]);
    const maglorin::test_support::ProgramRun run = maglorin::test_support::RunProgram(program, commandLine);
    if (!run.started) {
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", program.c_str(), ::GetLastError());
        return 1;
    }
    for (const auto& dialog : run.dialogs) {
        std::wprintf(L"dialog: %ls | %ls\n", dialog.caption.c_str(), dialog.text.c_str());
    }
    if (!run.finished) std::wprintf(L"stopped: the program outlived its time\n");
    std::wprintf(L"exit code: %ld\n", static_cast<long>(maglorin::test_support::SignedExitCode(run)));
    return run.finished && maglorin::test_support::SignedExitCode(run) == expected ? 0 : 1;
}
