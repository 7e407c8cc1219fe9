#pragma once
// Whether the package brings the Windows Installer service itself as a prerequisite: then an
// older installed service does not stop the run, the prerequisite updates it first.

#include "configuration_file.h"

namespace maglorin {

// A prerequisite listed in PREREQUISITES (keys "App1", "App2", ... up to the first missing
// number, each naming its section) whose first search string is "[SystemFolder]msi.dll" (any
// case). Whether the prerequisite applies to this system is the prerequisites' own decision:
// a listed one counts here.
bool ListsInstallerServicePrerequisite(const ConfigurationFile& configuration);

}  // namespace maglorin
