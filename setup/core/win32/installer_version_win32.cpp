#include "installer_version_win32.h"

#include <windows.h>

#include <string>
#include <vector>

namespace maglorin {

VersionNumber InstalledInstallerVersion() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    const std::wstring path = std::wstring(folder, length) + L"\\msi.dll";
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<unsigned char> data(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return {};
    void* block = nullptr;
    UINT bytes = 0;
    if (!::VerQueryValueW(data.data(), L"\\", &block, &bytes) || bytes < sizeof(VS_FIXEDFILEINFO)) return {};
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(block);
    return VersionNumber(static_cast<std::int32_t>(HIWORD(info->dwFileVersionMS)),
                         static_cast<std::int32_t>(LOWORD(info->dwFileVersionMS)),
                         static_cast<std::int32_t>(HIWORD(info->dwFileVersionLS)),
                         static_cast<std::int32_t>(LOWORD(info->dwFileVersionLS)));
}

}  // namespace maglorin
