#include "launch_test_support_win32.h"

#include <windows.h>

#include <fstream>

#include "installer_launch_win32.h"
#include "msi_library_win32.h"

namespace maglorin::test_support {

std::filesystem::path Data(const std::string& name) {
    return std::filesystem::absolute(std::filesystem::path(L"testdata\\launch") / name);
}

std::u16string DataText(const std::string& name) {
    const std::wstring wide = Data(name).wstring();
    return std::u16string(wide.begin(), wide.end());
}

std::u16string PackageCodeOf(const std::string& database) {
    std::ifstream in(Data(database + ".packagecode"));
    std::string code;
    std::getline(in, code);
    return std::u16string(code.begin(), code.end());
}

std::u16string FreshFolder(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::absolute(std::filesystem::path(L"testdata\\launch-work") / name);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    const std::wstring wide = folder.wstring() + L"\\";
    return std::u16string(wide.begin(), wide.end());
}

std::optional<std::uint32_t> Msiexec(const std::u16string& options) {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    const std::wstring program = std::wstring(folder, length) + L"\\msiexec.exe";
    return RunAndWait(std::u16string(program.begin(), program.end()), options);
}

void EnsureRemoved(const std::u16string& productCode) {
    MsiLibrary msi;
    if (msi.Load() && msi.ProductState(productCode) == kProductStateInstalled) {
        (void)Msiexec(u" /x " + productCode + u" /qn");
    }
}

}  // namespace maglorin::test_support
