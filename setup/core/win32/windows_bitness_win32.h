#pragma once
// Whether setup runs on 64-bit Windows, and the switch that lets a 32-bit process start the
// system's native programs there.

#include <windows.h>

namespace maglorin {

// True on 64-bit Windows: always for a 64-bit process; for a 32-bit one when it runs under
// WOW64 (IsWow64Process, bound by name: older systems lack it).
bool IsWindows64Bit();

// Switches off the file-system redirection of a 32-bit process on 64-bit Windows for its
// lifetime, so "[SystemFolder]" names the native system folder. Does nothing in a 64-bit
// process or on 32-bit Windows.
class FileSystemRedirectionOff {
public:
    FileSystemRedirectionOff();
    ~FileSystemRedirectionOff();
    FileSystemRedirectionOff(const FileSystemRedirectionOff&) = delete;
    FileSystemRedirectionOff& operator=(const FileSystemRedirectionOff&) = delete;

private:
    PVOID oldValue_ = nullptr;
    bool disabled_ = false;
};

}  // namespace maglorin
