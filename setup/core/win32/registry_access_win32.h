#pragma once
// The pieces every registry reader of setup shares: the root and view of a parsed location as
// the registry functions take them, and the stored bytes of a string value as text.

#include <windows.h>

#include <string>
#include <vector>

#include "registry_location.h"

namespace maglorin {

HKEY RegistryRootKey(RegistryRoot root);

// KEY_WOW64_32KEY or KEY_WOW64_64KEY for a forced view; 0 for the process's own.
REGSAM RegistryViewAccess(RegistryView view);

// Up to the first NUL, or every whole character when none is stored (an odd last byte is
// dropped): a value written without its terminator is still read safely.
std::u16string RegistryTextOfValue(const std::vector<BYTE>& data, DWORD size);

}  // namespace maglorin
