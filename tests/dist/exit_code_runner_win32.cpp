// run-exit-code COMMAND-LINE: runs the command line, waits for it and prints its full 32-bit
// exit code as "exit code N" (decimal, unsigned) on the standard output. For scripts under Wine,
// whose own exit status keeps only the low 8 bits. Its own exit status is 0 when the program ran,
// 2 when it could not be started, 3 when it did not end within the limit.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "process_runner_win32.h"

namespace {

// The command line after our own program name, exactly as given, so quoting stays intact. The
// program name ends at its closing quote when it starts with one, else at the first blank.
std::wstring ArgumentsAfterProgramName(const std::wstring& line) {
    std::size_t at = 0;
    if (!line.empty() && line[0] == L'"') {
        const std::size_t close = line.find(L'"', 1);
        at = close == std::wstring::npos ? line.size() : close + 1;
    } else {
        at = std::min(line.find_first_of(L" \t"), line.size());
    }
    at = std::min(line.find_first_not_of(L" \t", at), line.size());
    return line.substr(at);
}

}  // namespace

int wmain(int argc, wchar_t**) {
    using maglorin::disttest::ChildProcess;
    if (argc < 2) {
        std::fputs("usage: run-exit-code PROGRAM [ARGUMENT...]\n", stderr);
        return 2;
    }
    ChildProcess child(ArgumentsAfterProgramName(GetCommandLineW()));
    if (!child.Started()) {
        std::fprintf(stderr, "run-exit-code: cannot start (error %lu)\n", child.StartError());
        return 2;
    }
    const auto code = child.Wait();
    if (!code) {
        std::fputs("run-exit-code: the program did not end\n", stderr);
        return 3;
    }
    std::printf("exit code %lu\n", *code);
    return 0;
}
