#pragma once
// Runs a Windows program from a test and reports its full 32-bit exit code (Wine's own exit
// status keeps only the low 8 bits). While the program runs, every dialog box it opens (message
// boxes) is recorded - caption and text - and answered with OK (or Cancel when it has no OK), so
// a run with a user interface never blocks a test. The wait is bounded.

#include <cstdint>
#include <string>
#include <vector>

namespace maglorin::test_support {

struct DialogRecord {
    std::wstring caption;
    std::wstring text;  // the longest static text of the box
};

struct ProgramRun {
    bool started = false;
    bool finished = false;      // false: it outlived the bound and was stopped
    std::uint32_t exitCode = 0;
    std::vector<DialogRecord> dialogs;
};

struct RunOptions {
    std::wstring workingFolder;         // empty: the caller's
    unsigned maximumSeconds = 120;      // then the program is stopped
};

// commandLine is the whole command line, program path first (quoted when it holds blanks).
ProgramRun RunProgram(const std::wstring& program, const std::wstring& commandLine, const RunOptions& options = {});

// The exit code as the signed number the program returned.
inline std::int32_t SignedExitCode(const ProgramRun& run) { return static_cast<std::int32_t>(run.exitCode); }

}  // namespace maglorin::test_support
