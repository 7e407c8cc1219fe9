#pragma once
// "/cmdloc <root\key\value>": the real command line is stored in a registry string value (by a
// caller whose own command line would be too long or would show secrets). It is read once and
// removed.

#include <string>

namespace maglorin {

// The stored command line when `commandLine` is exactly "/cmdloc" and a location whose key can
// be opened; the value is then deleted, and the key too when no values are left in it. Otherwise
// the command line itself.
std::wstring ResolveIndirectCommandLine(const std::wstring& commandLine);

}  // namespace maglorin
