#include "launch_conditions_phase_win32.h"

namespace maglorin {

LaunchConditionsResult EvaluateLaunchConditions(const LaunchConditionsRequest& request) {
    if (request.log != nullptr) request.log->Write(u"launch conditions: none evaluated by this build");
    return LaunchConditionsResult{};
}

}  // namespace maglorin
