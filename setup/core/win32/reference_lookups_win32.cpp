#include "reference_lookups_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <utility>
#include <vector>

#include "registry_access_win32.h"
#include "win32_handles.h"
#include "wide_text.h"

namespace maglorin {

namespace {

std::wstring ToWide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::optional<std::u16string> NonEmptyText(const wchar_t* text) {
    const std::size_t length = wcslen(text);
    if (length == 0) return std::nullopt;
    return FromWide(text, length);
}

// Runs a "fill this buffer, answer the length" query, growing the buffer while the answer says
// it needs more (the value may change between two calls).
template <typename Query>
std::optional<std::u16string> QueryText(Query query) {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 8; ++attempt) {
        const DWORD length = query(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::nullopt;
        if (length < buffer.size()) return FromWide(buffer.data(), length);
        buffer.assign(static_cast<std::size_t>(length) + 1, L'\0');
    }
    return std::nullopt;
}

std::optional<std::u16string> SystemDirectory() {
    return QueryText([](wchar_t* buffer, DWORD size) { return GetSystemDirectoryW(buffer, size); });
}

std::optional<std::u16string> ShellFolderFromShell(int folderNumber) {
    ItemIdListHandle list;
    wchar_t path[MAX_PATH + 1] = {};
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folderNumber, list.Receive())) ||
        !SHGetPathFromIDListW(list.Get(), path)) {
        return std::nullopt;
    }
    return NonEmptyText(path);
}

std::optional<std::u16string> QueryStringValue(HKEY key, const std::wstring& valueName) {
    std::vector<BYTE> data(256);
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(data.size());
        const LONG status = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, data.data(), &size);
        if (status == ERROR_MORE_DATA) {
            data.assign(static_cast<std::size_t>(size) + 2, 0);
            continue;
        }
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
        return RegistryTextOfValue(data, size);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::u16string> ReadRegistryString(const RegistryLocation& location, RegistryView view) {
    RegistryKeyHandle key;
    const std::wstring keyPath = ToWide(location.key);
    if (RegOpenKeyExW(RegistryRootKey(location.root), keyPath.c_str(), 0, KEY_QUERY_VALUE | RegistryViewAccess(view),
                      key.Receive()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return QueryStringValue(key.Get(), ToWide(location.valueName));
}

std::optional<std::u16string> ShellFolderFromShfolder(int folderNumber) {
    // Never through the DLL search path: only the system's own shfolder.dll.
    const std::optional<std::u16string> systemFolder = SystemDirectory();
    if (!systemFolder) return std::nullopt;
    const std::wstring libraryPath = ToWide(*systemFolder) + L"\\shfolder.dll";
    const LibraryHandle library(LoadLibraryW(libraryPath.c_str()));
    if (library.Get() == nullptr) return std::nullopt;
    using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
    const auto getFolderPath =
        reinterpret_cast<GetFolderPath>(reinterpret_cast<void*>(GetProcAddress(library.Get(), "SHGetFolderPathW")));
    wchar_t path[MAX_PATH + 1] = {};
    if (getFolderPath == nullptr || FAILED(getFolderPath(nullptr, folderNumber, nullptr, 0, path))) {
        return std::nullopt;
    }
    return NonEmptyText(path);
}

std::optional<std::u16string> SystemReferenceLookups::SystemFolder(SystemFolderKind kind) {
    switch (kind) {
    case SystemFolderKind::System: return SystemDirectory();
    case SystemFolderKind::Windows:
        return QueryText([](wchar_t* buffer, DWORD size) { return GetWindowsDirectoryW(buffer, size); });
    case SystemFolderKind::Temp:
        return QueryText([](wchar_t* buffer, DWORD size) { return GetTempPathW(size, buffer); });
    }
    return std::nullopt;
}

// setup.ini's program folders are the ones a 32-bit setup sees on any Windows, the 32-bit
// program files; a 64-bit build asks for those by their own numbers, so one file means the same
// folders in both builds. [ProgramFiles64Folder] names the 64-bit one.
int ShellFolderNumberOfThisWidth(int folderNumber) {
    if constexpr (sizeof(void*) == 8) {
        if (folderNumber == CSIDL_PROGRAM_FILES) return CSIDL_PROGRAM_FILESX86;
        if (folderNumber == CSIDL_PROGRAM_FILES_COMMON) return CSIDL_PROGRAM_FILES_COMMONX86;
    }
    return folderNumber;
}

std::optional<std::u16string> SystemReferenceLookups::ShellFolder(int folderNumber) {
    const int number = ShellFolderNumberOfThisWidth(folderNumber);
    if (std::optional<std::u16string> folder = ShellFolderFromShell(number)) return folder;
    return ShellFolderFromShfolder(number);
}

std::optional<std::u16string> SystemReferenceLookups::Environment(std::u16string_view name) {
    const std::wstring wideName = ToWide(name);
    return QueryText([&wideName](wchar_t* buffer, DWORD size) {
        return GetEnvironmentVariableW(wideName.c_str(), buffer, size);
    });
}

std::optional<std::u16string> SystemReferenceLookups::RegistryString(const RegistryLocation& location,
                                                                     RegistryView view) {
    return ReadRegistryString(location, view);
}

}  // namespace maglorin
