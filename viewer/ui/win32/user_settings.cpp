#include "ui/win32/user_settings.h"

#include <windows.h>

#include <vector>

#include "win32_handles.h"

namespace maglorin::win32 {

namespace {

constexpr const wchar_t* kSettingsKey = L"Software\\Maglorin";

int ReadNumber(HKEY key, const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD) {
        return 0;
    }
    // A size beyond any screen is not a size the window should take.
    return value <= 32767 ? static_cast<int>(value) : 0;
}

std::wstring ReadText(HKEY key, const wchar_t* name) {
    DWORD size = 0;
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ ||
        size == 0 || size > 65536) {
        return std::wstring();
    }
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS) {
        return std::wstring();
    }
    return std::wstring(buffer.data());
}

bool WriteNumber(HKEY key, const wchar_t* name, int value) {
    const DWORD number = static_cast<DWORD>(value);
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number)) ==
           ERROR_SUCCESS;
}

bool WriteText(HKEY key, const wchar_t* name, const std::wstring& text) {
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes) ==
           ERROR_SUCCESS;
}

}  // namespace

UserSettings LoadUserSettings() {
    UserSettings settings;
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &raw) != ERROR_SUCCESS) return settings;
    RegistryKeyHandle key(raw);
    settings.windowWidth = ReadNumber(key.Get(), L"WindowWidth");
    settings.windowHeight = ReadNumber(key.Get(), L"WindowHeight");
    settings.textureFolder = ReadText(key.Get(), L"TextureFolder");
    settings.pictureFolder = ReadText(key.Get(), L"PictureFolder");
    settings.exportFolder = ReadText(key.Get(), L"ExportFolder");
    return settings;
}

bool SaveUserSettings(const UserSettings& settings) {
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    RegistryKeyHandle key(raw);
    bool ok = WriteNumber(key.Get(), L"WindowWidth", settings.windowWidth);
    ok = WriteNumber(key.Get(), L"WindowHeight", settings.windowHeight) && ok;
    ok = WriteText(key.Get(), L"TextureFolder", settings.textureFolder) && ok;
    ok = WriteText(key.Get(), L"PictureFolder", settings.pictureFolder) && ok;
    ok = WriteText(key.Get(), L"ExportFolder", settings.exportFolder) && ok;
    return ok;
}

}  // namespace maglorin::win32
