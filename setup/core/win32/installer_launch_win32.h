#pragma once
// The installer launch: the instance choice, the package path (the main package extracted, or
// the MainAppURL address), the InstallerCommandLine and the run of "[SystemFolder]msiexec.exe",
// whose exit code becomes setup's.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cleanup_rules.h"
#include "configuration_file.h"
#include "extraction_context.h"
#include "general_options.h"
#include "installer_command_line.h"
#include "installer_outcome.h"
#include "instance_choice.h"
#include "package_records.h"
#include "setup_log.h"
#include "user_messages.h"
#include "setup_string_ids.h"

namespace maglorin {

class PayloadExtractor;

// What the flow hands to the launch from its session. Pointers may be null where noted; every
// object must outlive the call.
struct InstallerLaunchRequest {
    std::u16string installerOptions;                  // the option tail, or MainAppCmdLine resolved
    std::u16string packagePath;                       // setup's package (the original of a restarted copy)
    std::u16string productName;                       // for the dialog texts
    const GeneralOptions* generalOptions = nullptr;   // null: the package has no configuration
    const ConfigurationFile* configuration = nullptr; // null: the package has no configuration
    PackageFlags packageFlags = PackageFlags::None;
    PayloadExtractor* extractor = nullptr;            // extracts the main package; takes the CleanupMode
    // null: extract without a progress window (see ShowsExtractionProgress for when one is shown)
    ExtractProgressSink* extractionProgress = nullptr;

    // Language: the chosen id (0 for a built-in language), whether it is still not fixed, whether
    // setup has a single built-in language, the available languages, and the default choice over
    // a candidate list (null: the chosen id stands).
    std::uint16_t languageId = 0;
    bool languageNotFixed = false;
    bool singleBuiltInLanguage = false;
    std::vector<std::uint16_t> availableLanguages;
    std::function<std::uint16_t(const std::vector<std::uint16_t>&)> defaultLanguageChoice;

    bool samePackageInstalled = false;   // found installed before the run
    std::u16string samePackageProductCode;
    std::int32_t prerequisitesResult = 0;  // 0: the prerequisites asked for nothing special
    std::vector<PrerequisiteResultProperty> prerequisiteResults;

    bool userInterfaceEnabled = true;
    UserMessages* messages = nullptr;    // required
    // The texts in the chosen language; null: the built-in texts of the string list.
    std::function<std::u16string(SetupStringId)> text;
    SetupLog* log = nullptr;             // null: nothing logged
    std::function<void()> removeResumeRegistration;               // null: nothing registered
    std::function<bool(const std::u16string& url)> urlReachable;  // "HEAD" test; null: used unchecked
    std::function<bool()> confirmUpgrade;  // null: a Yes/No message box (yes when quiet)
    // Null: the "Multiple Instances" dialog; tests answer for the user.
    std::function<std::optional<InstanceDialogChoice>(const InstanceSelection&)> chooseInstance;
};

struct InstallerLaunchOutcome {
    std::int32_t exitCode = 0;
    // A reader or extraction result still to be shown by the flow's message routine (0: none).
    std::int32_t resultToReport = 0;
    std::optional<CleanupMode> cleanupMode;  // already applied to the extractor when it is set
};

// The product code of an installed copy of this very package, through msi.dll; nullopt when the
// library cannot be loaded or nothing matches.
std::optional<std::u16string> FindSamePackageInstall(std::u16string_view upgradeCode,
                                                     std::u16string_view packageCode);

// Scans the installer options (the request's options lose a whole-word "/i"), reads the
// instances and asks the user when some are installed; a quiet run takes the preselected choice
// without asking. 0 go on, -1 cancelled. Every run that launches calls it first: the "/i" it
// takes out would otherwise stand beside the one the command line puts in.
[[nodiscard]] std::int32_t ChooseInstance(InstallerLaunchRequest& request, InstanceSelection& selection);

// Prepares the package path, builds the command line, runs msiexec.exe and applies the exit-code
// and clean-up rules.
[[nodiscard]] InstallerLaunchOutcome LaunchInstaller(InstallerLaunchRequest& request,
                                                     const InstanceSelection& selection);

// Starts a program with a command line and waits for it; nullopt when it cannot be started.
// A 32-bit process on 64-bit Windows starts it with the file-system redirection switched off.
std::optional<std::uint32_t> RunAndWait(const std::u16string& program, const std::u16string& commandLine);

}  // namespace maglorin
