#pragma once
// The launch conditions: system checks the configuration asks for before anything is installed.
// A failed condition has shown its message; the run then ends with exit code 0. The checks
// themselves plug in here; until they do, every package passes.

#include "configuration_file.h"
#include "setup_log.h"
#include "user_messages.h"

namespace maglorin {

struct LaunchConditionsRequest {
    const ConfigurationFile* configuration = nullptr;  // null: the package has none
    bool requireInternetConnection = false;            // MainAppURL is set
    std::u16string productName;
    UserMessages* messages = nullptr;
    SetupLog* log = nullptr;
};

struct LaunchConditionsResult {
    bool passed = true;
};

[[nodiscard]] LaunchConditionsResult EvaluateLaunchConditions(const LaunchConditionsRequest& request);

}  // namespace maglorin
