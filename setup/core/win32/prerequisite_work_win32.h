#pragma once
// What the prerequisites phase asks of the machine for one prerequisite: detection through the
// searches, the file checks before a run, a download, a site shortcut, an installer's run and
// the system's restart.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "detection_search.h"
#include "download_result.h"
#include "download_sink.h"
#include "detection_system_win32.h"
#include "msi_library_win32.h"
#include "prerequisite_rules.h"
#include "reference_lookups_win32.h"
#include "reference_resolver.h"
#include "setup_log.h"

namespace maglorin {

class PrerequisiteMachine {
public:
    PrerequisiteMachine(std::u16string packageFolder, SetupLog& log);

    // Sets the detection status (and the found texts) from the system lists, the language and
    // the searches.
    void Detect(Prerequisite& prerequisite);
    std::u16string Resolve(std::u16string_view text) const { return resolver_.Resolve(text); }
    ProgramHost& Programs() { return programs_; }

private:
    class Log final : public SearchLog {
    public:
        explicit Log(SetupLog& log) : log_(log) {}
        void Write(std::u16string_view line) override { log_.Write(line); }

    private:
        SetupLog& log_;
    };

    SetupLog& log_;
    Log searchLog_;
    MsiLibrary msi_;
    SystemDetection detection_;
    SystemReferenceLookups lookups_;
    ReferenceResolver resolver_;
    ShellProgramHost programs_;
    SearchEvaluator evaluator_;
    OsIdentity os_;
    std::uint16_t languageId_;
};

// The file's size and lower-case hex MD5 digest; nullopt when it cannot be read.
struct FileFacts {
    std::uint64_t size = 0;
    std::string md5;
};
std::optional<FileFacts> ReadFileFacts(const std::u16string& path);

// Whether the file sits at `path` with the expected size (any size when none is expected).
bool LocalFileReady(const Prerequisite& prerequisite, const std::u16string& path);

// Checks a file before it may be run. A file that fails is deleted when `deleteOnFailure`.
[[nodiscard]] bool CheckBeforeRun(const Prerequisite& prerequisite, const std::u16string& path, bool deleteOnFailure,
                                  SetupLog& log);

struct DownloadRequest {
    std::u16string address;
    std::u16string localPath;
    bool quiet = false;
    std::u16string proxyUserName, proxyPassword;
    DownloadSink* sink = nullptr;        // null: no progress is shown
    CredentialPrompt* prompt = nullptr;  // null: credentials only from the command line
    HWND owner = nullptr;                // parent of the download's dialogs
};
[[nodiscard]] DownloadResult DownloadPrerequisite(const DownloadRequest& request);

// Writes an Internet shortcut to `address` in the temporary folder ("URL....tmp.url"); its path,
// or nullopt when it cannot be written (nothing is left behind then).
std::optional<std::u16string> WriteUrlShortcut(const std::u16string& address);
// Writes the shortcut and opens it with the shell.
[[nodiscard]] bool OpenSiteShortcut(const std::u16string& address, SetupLog& log);

// Asks (unless silent) with `question` and `caption` over `owner` (null: the active window) and
// restarts the system; true when the user declined.
bool AskAndRestartSystem(bool silent, const std::u16string& question, const std::u16string& caption,
                         HWND owner = nullptr);

}  // namespace maglorin
