#pragma once
// The launch conditions: system checks the configuration asks for before anything is installed.
// A condition that is not met has shown its message and the run ends with exit code 0; a value
// in setup.ini that no table maps is the package's fault and ends it with 1.

#include "configuration_file.h"
#include "message_routine_win32.h"
#include "setup_log.h"

namespace maglorin {

struct LaunchConditionsRequest {
    const ConfigurationFile* configuration = nullptr;  // null: the package has none
    bool requireInternetConnection = false;            // MainAppURL is set
    std::u16string productName;
    MessageRoutine* messages = nullptr;  // texts in the user's language, warning box or debugger
    SetupLog* log = nullptr;
};

struct LaunchConditionsResult {
    bool passed = true;
    int exitCode = 0;  // when not passed: 0 for a condition not met, 1 for a broken package
};

[[nodiscard]] LaunchConditionsResult EvaluateLaunchConditions(const LaunchConditionsRequest& request);

}  // namespace maglorin
