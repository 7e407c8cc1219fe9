#pragma once
// SetupSession: the one object that owns setup's process-wide state for a run, from the parsed
// command line to the exit code. Run() serves the one run mode the options ask for; the
// installation sequence walks its steps in order, each either going on or ending the run.

#include <memory>
#include <optional>
#include <string>

#include "command_options.h"
#include "configuration_file.h"
#include "general_options.h"
#include "message_routine_win32.h"
#include "payload_extractor.h"
#include "payload_reader.h"
#include "setup_log.h"
#include "single_instance_lock_win32.h"
#include "language_manager_win32.h"
#include "status_window_win32.h"

namespace maglorin {

class SetupSession {
public:
    // The command line without the program name ("/cmdloc" already resolved).
    explicit SetupSession(const std::wstring& commandLine);
    SetupSession(const SetupSession&) = delete;
    SetupSession& operator=(const SetupSession&) = delete;

    // Runs the chosen mode; answers the process exit code.
    int Run();

    // The short path (system code page) of this run's own temporary copy, to delete at exit;
    // empty unless this is the copy the restart made.
    const std::string& SelfDeleteRecord() const { return selfDeleteRecord_; }

private:
    int ShowHelp();
    int ListLanguages();
    int ExtractToFolder();
    int ExtractMainPackage();
    int DeleteMainPackage();
    int ExtractGroups();
    int Install();

    // Installation steps; each answers the exit code when the run ends there.
    std::optional<int> OpenPackage();
    std::optional<int> ReadConfiguration();
    void FixUserInterfaceLevel();
    std::optional<int> TakeLock();
    void FindSamePackage();
    std::optional<int> CheckIntegrity();
    std::optional<int> CheckInstallerVersion();
    std::optional<int> RestartFromFixedDisk();
    int LaunchAfterChecks();

    // Opens the package and reads its configuration for the extraction commands; the extractor
    // then stands ready. Answers the reader's or configuration's result.
    int PrepareExtraction(bool userInterfaceEnabled);
    [[nodiscard]] int CreateExtractor(bool userInterfaceEnabled);  // 5 when no sub-folder can be named
    void ShowStatus(SetupStringId text);
    [[nodiscard]] bool ChooseSessionLanguage();
    void Step(std::u16string_view text) { log_.Write(u"step: " + std::u16string(text)); }
    std::wstring PackageFolder() const;

    SetupLog log_;
    MessageRoutine messages_{log_};
    ParsedCommandLine parsed_;
    std::wstring programPath_;
    std::wstring packagePath_;
    std::wstring productName_;
    std::wstring windowTitle_;
    bool restarted_ = false;
    std::string selfDeleteRecord_;
    bool quiet_ = false;

    PayloadReader reader_;  // declared before the extractor: the clean-up at exit needs it
    bool hasConfiguration_ = false;
    ConfigurationFile configuration_;
    GeneralOptions general_;
    std::unique_ptr<PayloadExtractor> extractor_;
    std::unique_ptr<LanguageManager> languages_;  // after the extractor: its library goes before the files
    SingleInstanceLock lock_;
    StatusWindow status_;
    bool samePackageInstalled_ = false;
    std::u16string samePackageProductCode_;
};

}  // namespace maglorin
