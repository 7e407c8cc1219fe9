#include "indirect_command_line_win32.h"

#include <windows.h>

#include <vector>

#include "command_options.h"
#include "extraction_paths.h"
#include "win32_handles.h"

namespace maglorin {

namespace {

HKEY RootKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
        case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
        case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RegistryRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
        case RegistryRoot::Users: return HKEY_USERS;
    }
    return HKEY_USERS;
}

// Full access first (to delete the value afterwards), then read access.
RegistryKeyHandle OpenKey(HKEY root, const std::wstring& path) {
    RegistryKeyHandle key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS, key.Receive()) == ERROR_SUCCESS) return key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.Receive()) == ERROR_SUCCESS) return key;
    return RegistryKeyHandle();
}

bool ReadString(HKEY key, const std::wstring& name, std::wstring& text) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
        ERROR_SUCCESS) {
        return false;
    }
    buffer.back() = L'\0';  // stored text need not end in a terminator
    text.assign(buffer.data());
    return true;
}

bool HasValues(HKEY key) {
    DWORD values = 0;
    return ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                              nullptr, nullptr) != ERROR_SUCCESS ||
           values > 0;
}

}  // namespace

std::wstring ResolveIndirectCommandLine(const std::wstring& commandLine) {
    const auto location = IndirectCommandLineLocation(Utf16FromPath(commandLine));
    if (!location) return commandLine;
    const HKEY root = RootKey(location->root);
    const std::wstring keyPath = PathFromUtf16(location->key);
    RegistryKeyHandle key = OpenKey(root, keyPath);
    if (!key) return commandLine;
    const std::wstring valueName = PathFromUtf16(location->valueName);
    std::wstring stored;
    if (!ReadString(key.Get(), valueName, stored)) return commandLine;
    ::RegDeleteValueW(key.Get(), valueName.c_str());
    const bool empty = !HasValues(key.Get());
    key.Reset();
    if (empty && !keyPath.empty()) ::RegDeleteKeyW(root, keyPath.c_str());
    return stored;
}

}  // namespace maglorin
