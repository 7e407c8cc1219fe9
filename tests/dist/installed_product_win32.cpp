#include "installed_product_win32.h"

#include <msi.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>

#include "dist_facts.h"
#include "child_process_win32.h"
#include "win32_handles.h"

namespace maglorin::test_support {
namespace {

inline constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::wstring ShellFolder(int id) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return std::wstring();
    }
    return std::wstring(path) + L"\\";
}

std::wstring ParentFolder(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L'\\', path.size() - 2);
    return slash == std::wstring::npos ? path : path.substr(0, slash + 1);
}

std::optional<std::wstring> MachineString(const std::wstring& path, const std::wstring& name, REGSAM view) {
    RegistryKeyHandle key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, key.Receive()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    wchar_t value[1024] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    return std::wstring(value);
}

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};

}  // namespace

const std::vector<std::wstring>& ProductFiles() {
    static const std::vector<std::wstring> files = {L"maglorin.exe", L"kit.3ds",      L"BG.jpg",
                                                    L"kit-home.jpg", L"kit-away.jpg", L"kit-template.png"};
    return files;
}

std::wstring BinFolder() {
    wchar_t path[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, path);
    std::wstring folder = path;
    if (folder.back() != L'\\') {
        folder += L'\\';
    }
    return folder;
}

std::wstring DistFolder() { return ParentFolder(BinFolder()) + L"dist\\"; }
std::wstring TestDataFolder() { return BinFolder() + L"testdata\\dist\\"; }
std::wstring InstallFolder() { return ShellFolder(CSIDL_PROGRAM_FILES) + L"Maglorin\\"; }
std::wstring AppDataFolder() { return ShellFolder(CSIDL_APPDATA); }

std::optional<std::wstring> FindShortcutFolder() {
    // Per-machine installs put it in the all-users menu; Wine's installer uses the user's.
    for (int menu : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
        const std::wstring folder = ShellFolder(menu) + L"Maglorin\\";
        if (FolderExists(folder)) {
            return folder;
        }
    }
    return std::nullopt;
}

std::optional<std::wstring> FindShortcut() {
    for (int menu : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
        const std::wstring file = ShellFolder(menu) + L"Maglorin\\Maglorin.lnk";
        if (FileExists(file)) {
            return file;
        }
    }
    return std::nullopt;
}

std::optional<std::wstring> ShortcutTarget(const std::wstring& shortcut) {
    IShellLinkW* rawLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&rawLink)))) {
        return std::nullopt;
    }
    std::unique_ptr<IShellLinkW, ComRelease> link(rawLink);
    IPersistFile* rawFile = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile)))) {
        return std::nullopt;
    }
    std::unique_ptr<IPersistFile, ComRelease> file(rawFile);
    wchar_t target[MAX_PATH] = {};
    if (FAILED(file->Load(shortcut.c_str(), STGM_READ)) ||
        FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) {
        return std::nullopt;
    }
    return std::wstring(target);
}

std::optional<std::wstring> UninstallEntryValue(const std::wstring& name) {
    // The installer service writes the entry in the system's own registry view.
    return MachineString(std::wstring(kUninstallKey) + kProductCode, name, KEY_WOW64_64KEY);
}

std::optional<std::wstring> RememberedInstallFolder() {
    // Written by the database's own component, in the view of the product's bitness.
    return MachineString(L"Software\\Maglorin\\Installer", L"InstallFolder", 0);
}

int ProductState() { return MsiQueryProductStateW(kProductCode); }

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    char block[65536];
    DWORD got = 0;
    while (ReadFile(file.Get(), block, sizeof(block), &got, nullptr) && got > 0) {
        bytes.append(block, got);
    }
    return bytes;
}

void RemoveTree(const std::wstring& folder) {
    std::wstring base = folder;
    if (base.back() != L'\\') {
        base += L'\\';
    }
    WIN32_FIND_DATAW found{};
    FindHandle search(FindFirstFileW((base + L"*").c_str(), &found));
    if (search) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(base + name);
            } else {
                SetFileAttributesW((base + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW((base + name).c_str());
            }
        } while (FindNextFileW(search.Get(), &found));
    }
    search.Reset();
    RemoveDirectoryW(base.c_str());
}

bool SameText(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

std::optional<DWORD> StartAndCloseViewer(const std::wstring& program) {
    ChildProcess viewer(Quoted(program), ParentFolder(program));
    const HWND main = viewer.WaitForWindow(L"MaglorinMain");
    if (main == nullptr) {
        return std::nullopt;
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
    return viewer.Wait();
}

void EnsureProductAbsent() {
    if (ProductState() == INSTALLSTATE_DEFAULT) {
        (void)ExitCodeOf(Msiexec(), L"/x " + std::wstring(kProductCode) + L" /qn");
    }
}

}  // namespace maglorin::test_support
