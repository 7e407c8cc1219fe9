#include "ui/win32/text_encoding.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "win32_handles.h"

namespace maglorin::win32 {

std::wstring Utf8ToWide(std::string_view text) {
    if (text.empty()) return std::wstring();
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty()) return std::string();
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

std::wstring ProgramFolder() {
    // Long enough for any path the system allows.
    std::vector<wchar_t> buffer(32768);
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return std::wstring();
    return FolderOfPath(std::wstring(buffer.data(), length));
}

std::wstring PicturesFolder() {
    ItemIdListHandle list;
    PIDLIST_ABSOLUTE raw = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_MYPICTURES, &raw)) || raw == nullptr) {
        return std::wstring();
    }
    list.Reset(raw);
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(list.Get(), path)) return std::wstring();
    std::wstring folder(path);
    return folder.empty() ? folder : folder + L"\\";
}

std::wstring FolderOfPath(const std::wstring& path) {
    const std::size_t at = path.find_last_of(L"\\/");
    return at == std::wstring::npos ? std::wstring() : path.substr(0, at + 1);
}

}  // namespace maglorin::win32
