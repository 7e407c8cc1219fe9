#pragma once
// Which names read from a package may become paths. Entry names are joined to the extraction
// folder and external names to the folder of setup; a name must stay below that folder.

#include "package_records.h"

namespace maglorin {

// True for a non-empty relative path of plain components separated by '\' (or '/'): no empty,
// "." or ".." component, no component of only dots and spaces or ending in a dot or space
// (Windows would strip those), no drive letter or other ':', no characters Windows forbids in
// names (control characters, < > " | ? *), no device name (CON, PRN, AUX, NUL, COM0-9, LPT0-9,
// CONIN$, CONOUT$, with or without an extension).
[[nodiscard]] bool IsSafeEntryName(PackageNameView name);

}  // namespace maglorin
