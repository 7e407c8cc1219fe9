#pragma once
// The prerequisites: other installers that must be present before the main application. The
// phase detects each one, downloads and checks what must be downloaded, runs the installers with
// their command lines, stores their exit codes in properties and requests a restart when an
// installer asks for one. It sets the exit code and gives a result; a result other than 0 skips
// the instance choice and the installer launch.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "configuration_file.h"
#include "installer_command_line.h"
#include "setup_log.h"
#include "user_messages.h"

namespace maglorin {

class PayloadExtractor;

struct PrerequisitesRequest {
    const ConfigurationFile* configuration = nullptr;  // null: the package has none
    bool userInterfaceEnabled = true;
    // The full user interface: the user chooses in the wizard, which shows the progress and the
    // result itself (showProgress and cancelRequested are not used then). Otherwise every
    // missing prerequisite is taken.
    bool wizard = false;
    std::u16string productName;         // in the wizard's title and welcome text
    std::function<void()> beforeWizard;  // e.g. hides the status window; may be null
    UserMessages* messages = nullptr;
    SetupLog* log = nullptr;
    PayloadExtractor* extractor = nullptr;  // null: no payload files can be run
    std::u16string packageFolder;           // SETUPEXEDIR for the references
    std::u16string options;                 // GeneralOptions' letters
    std::u16string downloadFolder;          // GeneralOptions' DownloadFolder (references allowed)
    std::u16string proxyUserName, proxyPassword;
    // Texts of the string table (the restart question); null: the built-in English ones.
    std::function<std::u16string(int id)> textOf;
    // Registers setup to run again after the restart; null: nothing is registered.
    std::function<void()> registerResume;
    // Asks (unless `silent`) and restarts the system; answers true when the user declined.
    // Null: the system's own restart. Tests replace it: a real restart ends the session.
    std::function<bool(bool silent)> askAndRestart;
    // Shows "Downloading %s" / "Installing %s" (string id and the prerequisite's name); null:
    // nothing is shown.
    std::function<void(int id, const std::u16string& name)> showProgress;
    // Whether the user asked to cancel; asked before each download and each installer.
    std::function<bool()> cancelRequested;
    // Pause after an installer that ended with 3010 or a system failure code.
    std::uint32_t pauseAfterFailureMs = 2000;
};

struct PrerequisitesOutcome {
    std::int32_t result = 0;                 // 0: go on to the installer
    std::optional<std::int32_t> exitCode;    // set when the prerequisites decide the exit code
    bool stopRun = false;                    // end the run now with exit code -1
    std::vector<PrerequisiteResultProperty> resultProperties;
};

[[nodiscard]] PrerequisitesOutcome RunPrerequisites(const PrerequisitesRequest& request);

// Whether a prerequisite that applies to this system installs the Windows Installer service
// itself (its first search looks for "[SystemFolder]msi.dll"): then an older installed service
// does not stop the run.
bool PrerequisiteProvidesInstallerService(const ConfigurationFile* configuration);

}  // namespace maglorin
