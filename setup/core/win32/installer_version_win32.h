#pragma once
// The installed Windows Installer version: the file version of "[SystemFolder]msi.dll".

#include "version_number.h"

namespace maglorin {

// 0.0.0.0 when the file or its version cannot be read.
VersionNumber InstalledInstallerVersion();

}  // namespace maglorin
