// A stand-in prerequisite installer for the tests: appends its whole command line to a record
// file, optionally creates a registry key under HKEY_CURRENT_USER (so that a search finds it
// installed), and ends with the exit code it was given.
//   prereq_sample.exe <record file> <exit code> [<key under HKCU>]
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "win32_handles.h"

// Records the command line, marks the key and answers the exit code to end with.
static int Record(LPWSTR* arguments, int count) {
    if (count < 3) return 255;
    const std::wstring line = std::wstring(GetCommandLineW()) + L"\r\n";
    const maglorin::FileHandle record(CreateFileW(arguments[1], FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!record.IsValid()) return 254;
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), text.data(), bytes, nullptr, nullptr);
    DWORD written = 0;
    if (!WriteFile(record.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) return 253;
    if (count >= 4) {
        HKEY created = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, arguments[3], 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr) != ERROR_SUCCESS) {
            return 252;
        }
        const maglorin::RegistryKeyHandle key(created);
    }
    return static_cast<int>(std::wcstol(arguments[2], nullptr, 10));
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return 255;
    const int code = Record(arguments, count);
    LocalFree(arguments);
    return code;
}
