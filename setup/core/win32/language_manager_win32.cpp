#include "language_manager_win32.h"

#include <algorithm>

namespace maglorin {

LanguageManager::LanguageManager(std::vector<std::uint16_t> builtIn, std::vector<std::uint16_t> libraries,
                                 LibraryCopier copier)
    : builtIn_(std::move(builtIn)), available_(builtIn_), copier_(std::move(copier)) {
    available_.insert(available_.end(), libraries.begin(), libraries.end());
}

bool LanguageManager::IsAvailable(std::uint16_t languageId) const {
    return std::find(available_.begin(), available_.end(), languageId) != available_.end();
}

bool LanguageManager::Use(std::uint16_t languageId) {
    if (std::find(builtIn_.begin(), builtIn_.end(), languageId) != builtIn_.end()) {
        library_.Reset();
        chosen_ = 0;
    } else {
        std::wstring path;
        if (!IsAvailable(languageId) || !copier_ || !copier_(languageId, path)) return false;
        // As data only: its references are not resolved and none of its code runs.
        LibraryHandle library(::LoadLibraryExW(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES));
        if (!library) return false;
        library_ = std::move(library);
        chosen_ = languageId;
    }
    if (onSwitch_) onSwitch_();
    return true;
}

namespace {

using LanguageQuery = LANGID(WINAPI*)();

std::uint16_t InterfaceLanguage(HMODULE kernel, const char* name) {
    if (kernel == nullptr) return 0;
    const auto query = reinterpret_cast<LanguageQuery>(reinterpret_cast<void*>(::GetProcAddress(kernel, name)));
    return query != nullptr ? query() : 0;
}

}  // namespace

SystemLanguageIds CurrentSystemLanguages() {
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    SystemLanguageIds ids;
    ids.systemDefault = ::GetSystemDefaultLangID();
    ids.userDefault = ::GetUserDefaultLangID();
    ids.systemInterface = InterfaceLanguage(kernel, "GetSystemDefaultUILanguage");
    ids.userInterface = InterfaceLanguage(kernel, "GetUserDefaultUILanguage");
    return ids;
}

}  // namespace maglorin
