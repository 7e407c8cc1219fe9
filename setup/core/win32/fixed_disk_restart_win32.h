#pragma once
// The system's side of the restart from a fixed disk: the drive type, the copy of setup in the
// temporary folder and its start, and the script that removes the copy when it ends.

#include <string>

#include "command_options.h"
#include "setup_log.h"

namespace maglorin {

// The drive of the path (its first three characters) is a fixed disk.
bool IsOnFixedDisk(const std::wstring& path);

// Copies the running program to the temporary folder under its own name (an existing copy is
// overwritten after its attributes are cleared) and starts it without waiting, marked as this
// flow's copy. Answers the exit code of this run: 0 when the copy runs, 1 when the copy or the
// start failed.
[[nodiscard]] int RestartFromTemporaryCopy(const std::wstring& programPath, const std::wstring& packagePath,
                                           const ParsedCommandLine& parsed, SetupLog& log);

// The short path of the running program when it is the temporary copy this flow made (see
// IsOwnTemporaryCopy); empty otherwise, and then nothing is deleted at exit.
std::string SelfDeleteRecord(const std::wstring& programPath);

// Writes the self-delete script for the record and runs it hidden, without waiting. Nothing
// happens when the script cannot be written.
void ScheduleSelfDelete(const std::string& copyShortPath);

}  // namespace maglorin
