#include "prerequisites_phase_win32.h"

#include "installer_service_prerequisite.h"

namespace maglorin {

PrerequisitesOutcome RunPrerequisites(const PrerequisitesRequest& request) {
    if (request.log != nullptr) request.log->Write(u"prerequisites: none looked at by this build");
    return PrerequisitesOutcome{};
}

bool PrerequisiteProvidesInstallerService(const ConfigurationFile* configuration) {
    return configuration != nullptr && ListsInstallerServicePrerequisite(*configuration);
}

}  // namespace maglorin
