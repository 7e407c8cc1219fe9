#include "windows_bitness_win32.h"

namespace maglorin {

namespace {

template <typename Function>
Function Kernel32Function(const char* name) {
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return kernel ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(kernel, name))) : nullptr;
}

bool Is64BitProcess() { return sizeof(void*) == 8; }

bool IsWow64() {
    using IsWow64Function = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64 = Kernel32Function<IsWow64Function>("IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(::GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

bool IsWindows64Bit() { return Is64BitProcess() || IsWow64(); }

FileSystemRedirectionOff::FileSystemRedirectionOff() {
    if (Is64BitProcess() || !IsWow64()) {
        return;
    }
    using DisableFunction = BOOL(WINAPI*)(PVOID*);
    if (const auto disable = Kernel32Function<DisableFunction>("Wow64DisableWow64FsRedirection")) {
        disabled_ = disable(&oldValue_) != FALSE;
    }
}

FileSystemRedirectionOff::~FileSystemRedirectionOff() {
    if (!disabled_) {
        return;
    }
    using RevertFunction = BOOL(WINAPI*)(PVOID);
    if (const auto revert = Kernel32Function<RevertFunction>("Wow64RevertWow64FsRedirection")) {
        revert(oldValue_);
    }
}

}  // namespace maglorin
