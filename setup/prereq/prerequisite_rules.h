#pragma once
// The decisions of the prerequisites phase that need no machine: whether a prerequisite applies,
// what the run does with it, where a download is kept, whether a downloaded file may be run,
// the text of a site shortcut and the code the phase ends with. Portable.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "os_identity.h"
#include "prerequisite_list.h"

namespace maglorin {

// False when the machine's system is excluded by the prerequisite's system lists (as the launch
// conditions read them: a family name, or ", "-separated system names) or its language list does
// not hold the system's default language.
bool PrerequisiteApplies(const Prerequisite& prerequisite, const OsIdentity& os, std::uint16_t languageId);

// The detection status for a prerequisite that applies, from its searches' verdict.
int StatusAfterSearches(const Prerequisite& prerequisite, bool present);

// `localFileReady`: a Url prerequisite's file already sits in its local place with the expected
// size.
int PrerequisiteAction(const Prerequisite& prerequisite, bool localFileReady);

// An address naming a local file ("file://C:\x.exe" -> "C:\x.exe"); nullopt for anything else.
std::optional<std::u16string> LocalFileAddress(std::u16string_view address);

// The file name an address ends with: its last path component, without a query or a fragment;
// empty when there is none ("http://host/", "http://host").
std::u16string AddressFileName(std::u16string_view address);

// Where a download is kept: the download folder, the folder part of `Folder` and the name after
// its "?" (else the address's file name). Empty when no file name can be formed, or when a part
// would climb out of the download folder ("..") or name another drive or root.
std::u16string DownloadLocalPlace(std::u16string_view downloadFolder, std::u16string_view folder,
                                  std::u16string_view address);

enum class FileVerdict { Accepted, WrongSize, WrongDigest };

// `actualMd5` is the file's digest in lower-case hex. A configured digest matches without regard
// to the case of its letters; one that is not 32 hex digits never matches.
FileVerdict VerifyPrerequisiteFile(const Prerequisite& prerequisite, std::uint64_t actualSize,
                                   std::string_view actualMd5);

// The text of an Internet shortcut to `address`; carriage returns and line feeds in the address
// are dropped, so the file always holds exactly its two lines.
std::u16string UrlShortcutText(std::u16string_view address);

// What the prerequisites hand to the main flow.
struct PrerequisitesVerdict {
    std::int32_t result = 0;               // 0: go on to the installer
    std::optional<std::int32_t> exitCode;  // set when the phase decides the exit code
    bool stopRun = false;                  // end with -1
};

struct PrerequisitesEnd {
    bool cancelled = false;
    bool restartStarted = false;   // the restart was requested (or the user asked to restart later)
    bool mandatoryMissing = false; // a mandatory prerequisite is still not present
};

// Cancel: -1 and the run stops. A restart that was started or left to the user: exit code 3010,
// the installer is not started (the run resumes after the restart). A mandatory prerequisite
// still missing: exit code 1, no installer. Otherwise the installer goes on.
PrerequisitesVerdict DecidePrerequisitesEnd(const PrerequisitesEnd& end);

// Exit codes after which the phase pauses before the next installer: 3010 (restart needed) and
// the system's failure codes from 0xC0000000 up.
bool PausesAfterExitCode(std::uint32_t exitCode);

}  // namespace maglorin

namespace maglorin {

// Without a choice by the user every prerequisite that is missing here is chosen; present ones
// and those that do not apply are left out.
bool ChosenByDefault(const Prerequisite& prerequisite);

// The user may not leave out a mandatory prerequisite that is not present.
bool MayBeLeftOut(const Prerequisite& prerequisite);

// After the installers ran and the chosen ones were detected again: a mandatory one that was
// chosen and is still not present keeps the main installation back.
bool MandatoryStillMissing(const std::vector<Prerequisite>& prerequisites);

// Whether any prerequisite has something to do (run, download or open a site).
bool AnythingToDo(const std::vector<Prerequisite>& prerequisites);

}  // namespace maglorin
