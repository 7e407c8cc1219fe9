#include "detection_system_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "msi_library_win32.h"
#include "registry_access_win32.h"
#include "version_resource_win32.h"
#include "win32_handles.h"
#include "windows_bitness_win32.h"

namespace maglorin {

namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::u16string Narrow(const wchar_t* text, std::size_t length) { return std::u16string(text, text + length); }

// The installer service's component states (INSTALLSTATE).
constexpr std::int32_t kInstallStateUnknown = -1;
constexpr std::int32_t kInstallStateAbsent = 2;
constexpr std::int32_t kInstallStateLocal = 3;
constexpr std::int32_t kInstallStateSource = 4;

// Opened for reading only.
RegistryKeyHandle OpenKey(const RegistryLocation& location, RegistryView view) {
    RegistryKeyHandle key;
    const std::wstring path = Wide(location.key);
    if (RegOpenKeyExW(RegistryRootKey(location.root), path.c_str(), 0, KEY_READ | RegistryViewAccess(view), key.Receive()) !=
        ERROR_SUCCESS) {
        key.Reset();
    }
    return key;
}

std::optional<RegistryData> QueryValue(HKEY key, const std::wstring& name) {
    std::vector<BYTE> data(256);
    // The value may grow between two calls; a few rounds are enough for any honest writer.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(data.size());
        const LONG status = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
        if (status == ERROR_MORE_DATA) {
            data.assign(static_cast<std::size_t>(size) + 2, 0);
            continue;
        }
        if (status != ERROR_SUCCESS) return std::nullopt;
        RegistryData value;
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            value.kind = RegistryData::Kind::Text;
            value.text = RegistryTextOfValue(data, size);
        } else if (type == REG_DWORD && size == sizeof(DWORD)) {
            value.kind = RegistryData::Kind::Number;
            value.number = static_cast<std::uint32_t>(data[0] | (data[1] << 8) | (data[2] << 16)) |
                           (static_cast<std::uint32_t>(data[3]) << 24);
        }
        return value;
    }
    return std::nullopt;
}

}  // namespace

SystemDetection::SystemDetection(MsiLibrary* msi) : msi_(msi) {}
SystemDetection::~SystemDetection() = default;

bool SystemDetection::KeyExists(const RegistryLocation& key, RegistryView view) {
    return OpenKey(key, view).IsValid();
}

std::optional<std::vector<std::u16string>> SystemDetection::SubkeyNames(const RegistryLocation& key,
                                                                         RegistryView view) {
    const RegistryKeyHandle opened = OpenKey(key, view);
    if (!opened) return std::nullopt;
    std::vector<std::u16string> names;
    wchar_t name[MAX_PATH + 1];
    for (DWORD index = 0;; ++index) {
        DWORD length = MAX_PATH + 1;
        const LONG status = RegEnumKeyExW(opened.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) continue;  // longer than a path: not a version
        if (status != ERROR_SUCCESS) break;
        names.push_back(Narrow(name, length));
    }
    return names;
}

std::optional<RegistryData> SystemDetection::ReadValue(const RegistryLocation& value, RegistryView view) {
    const RegistryKeyHandle opened = OpenKey(value, view);
    if (!opened) return std::nullopt;
    return QueryValue(opened.Get(), Wide(value.valueName));
}

std::vector<std::u16string> SystemDetection::FixedDriveRoots() {
    std::vector<std::u16string> roots;
    const DWORD drives = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if ((drives & (1u << letter)) == 0) continue;
        const wchar_t root[] = {static_cast<wchar_t>(L'A' + letter), L':', L'\\', L'\0'};
        if (GetDriveTypeW(root) == DRIVE_FIXED) roots.push_back(Narrow(root, 3));
    }
    return roots;
}

bool SystemDetection::FileExists(std::u16string_view path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

VersionNumber SystemDetection::FileVersion(std::u16string_view path) {
    return ReadFileVersion(path).value_or(VersionNumber());
}

std::vector<std::u16string> SystemDetection::Subfolders(std::u16string_view folder) {
    std::vector<std::u16string> subfolders;
    WIN32_FIND_DATAW entry;
    const FindHandle find(FindFirstFileW((Wide(folder) + L"*").c_str(), &entry));
    if (!find) return subfolders;
    do {
        const std::wstring name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || name == L"." || name == L"..") continue;
        subfolders.push_back(std::u16string(folder) + Narrow(name.c_str(), name.size()) + u"\\");
    } while (FindNextFileW(find.Get(), &entry));
    return subfolders;
}

void SystemDetection::SetFileSystemRedirection(bool enabled) {
    if (enabled) {
        redirectionOff_.reset();
    } else if (!redirectionOff_) {
        redirectionOff_ = std::make_unique<FileSystemRedirectionOff>();
    }
}

bool SystemDetection::Is64BitWindows() { return IsWindows64Bit(); }

std::optional<std::u16string> SystemDetection::ProductVersionString(std::u16string_view productCode) {
    if (msi_ == nullptr || !msi_->IsLoaded()) return std::nullopt;
    return msi_->ProductInfo(productCode, u"VersionString");
}

std::vector<std::u16string> SystemDetection::RelatedProducts(std::u16string_view upgradeCode) {
    if (msi_ == nullptr || !msi_->IsLoaded()) return {};
    return msi_->RelatedProducts(upgradeCode);
}

ComponentInstallState SystemDetection::LocateComponent(std::u16string_view componentCode) {
    if (msi_ == nullptr || !msi_->IsLoaded()) return ComponentInstallState::Absent;
    switch (msi_->LocateComponent(componentCode).state) {
    case kInstallStateLocal: return ComponentInstallState::Local;
    case kInstallStateSource: return ComponentInstallState::Source;
    case kInstallStateUnknown:
    case kInstallStateAbsent: return ComponentInstallState::Absent;
    default: return ComponentInstallState::Other;
    }
}

std::optional<std::uint32_t> ShellProgramHost::RunAndWait(std::u16string_view program, std::u16string_view arguments,
                                                           bool hidden) {
    const std::wstring file = Wide(program);
    const std::wstring parameters = Wide(arguments);
    const std::size_t slash = file.rfind(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : file.substr(0, slash);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    info.nShow = hidden ? SW_HIDE : SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info) || info.hProcess == nullptr) return std::nullopt;
    const ProcessHandle process(info.hProcess);
    DWORD exitCode = 0;
    if (WaitForSingleObject(process.Get(), INFINITE) != WAIT_OBJECT_0 || !GetExitCodeProcess(process.Get(), &exitCode)) {
        return std::nullopt;
    }
    return exitCode;
}

}  // namespace maglorin
