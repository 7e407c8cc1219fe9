#pragma once
// The named lock that keeps two runs of the same package build apart: "Torvexa_" followed by the
// package digest. Held, not owned, until the process ends.

#include <string_view>

#include "win32_handles.h"

namespace maglorin {

struct SingleInstanceLock {
    MutexHandle handle;          // may be invalid when the lock could not be created at all
    bool alreadyExisted = false;  // another process holds it
};

SingleInstanceLock TakeSingleInstanceLock(std::wstring_view packageDigest);

}  // namespace maglorin
