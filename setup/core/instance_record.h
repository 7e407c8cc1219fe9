#pragma once
// The product instances a package can install: the base instance of STARTUP and the numbered
// instances of INSTANCES, each applied through its own transform.

#include <string>
#include <vector>

#include "configuration_file.h"
#include "version_number.h"

namespace maglorin {

struct InstanceRecord {
    std::u16string transformName;  // empty for the base instance
    std::u16string productCode;
    VersionNumber version;         // ProductVersion for the base instance; 0.0.0.0 until an installed one is known
    // Filled by the installer launch from what the installer service reports.
    std::u16string installedProductName;
    std::u16string installedLocation;
    bool installed = false;
    bool olderInstalled = false;
};

// The base instance first, then inst1, inst2, ... while each has its key in INSTANCES and its
// own section with a ProductCode. Empty when STARTUP lacks ProductCode or ProductVersion.
std::vector<InstanceRecord> ReadInstances(const ConfigurationFile& file);

}  // namespace maglorin
