#include "single_instance_lock_win32.h"

#include <string>

namespace maglorin {

SingleInstanceLock TakeSingleInstanceLock(std::wstring_view packageDigest) {
    const std::wstring name = L"Torvexa_" + std::wstring(packageDigest);
    SingleInstanceLock lock;
    lock.handle.Reset(::CreateMutexW(nullptr, FALSE, name.c_str()));
    lock.alreadyExisted = ::GetLastError() == ERROR_ALREADY_EXISTS;
    return lock;
}

}  // namespace maglorin
