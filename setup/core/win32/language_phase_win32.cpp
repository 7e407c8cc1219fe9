#include "language_phase_win32.h"

#include <windows.h>

#include <cstring>

#include "msi_library_win32.h"
#include "win32_handles.h"

namespace maglorin {

namespace {

bool UseRequested(const LanguagePhaseRequest& request) {
    if (!request.requestedLanguage) return false;
    const auto id = LeadingLanguageId(*request.requestedLanguage);
    if (!id || !request.manager->IsAvailable(*id)) return false;  // unavailable values are ignored
    static_cast<void>(request.manager->Use(*id));
    request.manager->Fix();
    return true;
}

// An installed language counts only when setup can speak it; otherwise the choice stays open.
bool UseInstalled(const LanguagePhaseRequest& request) {
    const std::uint16_t id = request.installedLanguage ? request.installedLanguage() : 0;
    if (id == 0 || !request.manager->IsAvailable(id)) return false;
    if (!request.manager->Use(id)) return false;
    request.manager->Fix();
    return true;
}

std::uint16_t ReadInstallLanguage(const std::wstring& productCode, REGSAM view, const wchar_t* valueName) {
    const std::wstring key = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + productCode;
    RegistryKeyHandle handle;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | view, handle.Receive()) != ERROR_SUCCESS) return 0;
    DWORD type = 0;
    wchar_t text[32] = {};
    DWORD bytes = sizeof(text) - sizeof(wchar_t);
    if (::RegQueryValueExW(handle.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes) !=
        ERROR_SUCCESS) {
        return 0;
    }
    if (type == REG_DWORD && bytes == sizeof(DWORD)) {
        DWORD number = 0;
        std::memcpy(&number, text, sizeof(number));
        return static_cast<std::uint16_t>(number);
    }
    if (type != REG_SZ) return 0;
    const std::wstring value(text);
    return LeadingLanguageId(std::u16string(value.begin(), value.end())).value_or(0);
}

}  // namespace

LanguagePhaseResult ChooseLanguage(const LanguagePhaseRequest& request) {
    LanguagePhaseResult result;
    LanguageManager& manager = *request.manager;
    if (UseRequested(request) || request.quiet || UseInstalled(request)) return result;
    if (request.hideStatus) request.hideStatus();
    if (!manager.HasLibraries()) return result;
    const bool userFirst = HasFlag(request.packageFlags, PackageFlags::UserLanguageFirst);
    std::uint16_t taken = DefaultLanguageChoice(manager.Available(), request.system, userFirst);
    if (taken != manager.BaseLanguage()) static_cast<void>(manager.Use(taken));
    if (HasFlag(request.packageFlags, PackageFlags::AskLanguage) && request.ask) {
        const std::optional<std::uint16_t> selected = request.ask(manager.Available(), taken);
        if (!selected) {
            result.cancelled = true;
            return result;
        }
        taken = *selected;
        manager.Fix();
    }
    if (taken != (manager.Chosen() == 0 ? manager.BaseLanguage() : manager.Chosen())) {
        static_cast<void>(manager.Use(taken));
    }
    return result;
}

std::uint16_t InstalledProductLanguage(std::u16string_view upgradeCode) {
    if (upgradeCode.empty()) return 0;
    MsiLibrary msi;
    if (!msi.Load()) return 0;
    const std::vector<std::u16string> products = msi.RelatedProducts(upgradeCode);
    if (products.empty()) return 0;
    if (const auto installed = msi.ProductInfo(products.front(), u"InstalledLanguage"); installed && !installed->empty()) {
        return LeadingLanguageId(*installed).value_or(0);
    }
    const std::wstring productCode(products.front().begin(), products.front().end());
    // InstallLanguage first; the installer service itself records the product's language as the
    // number "Language", which is all an installed copy may have.
    for (const wchar_t* valueName : {L"InstallLanguage", L"Language"}) {
        for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
            if (const std::uint16_t id = ReadInstallLanguage(productCode, view, valueName)) return id;
        }
    }
    return 0;
}

}  // namespace maglorin
