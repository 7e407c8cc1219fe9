#pragma once
// The prerequisites: other installers that must be present before the main application. The
// phase sets the exit code and gives a result; a result other than 0 skips the instance choice
// and the installer launch. Detection, the wizard, downloads and installs plug in here; until
// they do, a package's prerequisites are not looked at and the phase asks for nothing.

#include <cstdint>
#include <optional>
#include <vector>

#include "configuration_file.h"
#include "installer_command_line.h"
#include "setup_log.h"
#include "user_messages.h"

namespace maglorin {

struct PrerequisitesRequest {
    const ConfigurationFile* configuration = nullptr;  // null: the package has none
    bool userInterfaceEnabled = true;
    UserMessages* messages = nullptr;
    SetupLog* log = nullptr;
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
