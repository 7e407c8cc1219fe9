#pragma once
// Restarting from a fixed disk: a package started from a removable drive with its files beside
// it copies setup to the temporary folder and runs the copy, so the drive may be removed while
// the installer runs. The copy deletes itself at exit through a small script. These are the
// decisions and texts; win32/restart_win32.h does the copying, starting and running.

#include <string>
#include <string_view>

#include "command_options.h"
#include "package_records.h"

namespace maglorin {

// Two backslashes followed by a server name.
bool IsServerPath(std::u16string_view path);

// Not already a restarted copy, the files lie beside setup, and the package's drive is neither
// a network share nor a fixed disk.
bool NeedsFixedDiskRestart(bool restarted, PackageFlags flags, std::u16string_view packagePath,
                           bool packageDriveIsFixed);

// What a stored command line of this run keeps: the interface options the user gave
// ("/exenoui", "/exebasicui", "/exelang", "/exelog:", "/username:") and the option tail, each
// after a blank. "/password:" is never written: a stored or started command line can be read by
// others, so a later run asks again when it needs the password.
std::u16string KeptOptionsAndTail(const ParsedCommandLine& parsed);

// The command line of the copy: its own path and "/OriginalPath:" with the package path, then
// the interface options the user gave ("/exenoui", "/exebasicui", "/exelang", "/exelog:",
// "/username:") and the option tail. "/password:" is never written: the command line of a
// process can be read by others, so the copy asks again when it needs the password.
std::u16string RestartCommandLine(std::u16string_view copyPath, std::u16string_view packagePath,
                                  const ParsedCommandLine& parsed);

// Set in the copy's environment by the run that made it: the copy's own path. Only a copy whose
// path equals this marker and lies in the temporary folder deletes itself, so
// "setup.exe /OriginalPath:..." typed by hand never removes the user's own file.
inline constexpr std::u16string_view kRestartMarkerVariable = u"TORVEXA_SETUP_TEMPORARY_COPY";

bool IsOwnTemporaryCopy(std::u16string_view runningPath, std::u16string_view temporaryFolder,
                        std::u16string_view restartMarker);

// The script that deletes the copy (short path, system code page) once the process has ended,
// then itself. Lines end with "\r\n" except the last. The retry loop is bounded: a copy that
// cannot be deleted (still locked, read-only medium) does not leave a script spinning forever.
inline constexpr int kSelfDeleteTries = 2000;
std::string SelfDeleteScript(std::string_view copyShortPath, std::string_view scriptPath);

}  // namespace maglorin
