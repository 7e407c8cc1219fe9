#include "setup_resources_win32.h"

#include <cstdio>

#include "extraction_paths.h"

namespace maglorin {

namespace {

std::wstring ModulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR parameter) {
    reinterpret_cast<std::vector<std::uint16_t>*>(parameter)->push_back(language);
    return TRUE;
}

}  // namespace

std::wstring LoadSetupText(SetupStringId id, HMODULE source) {
    const wchar_t* text = nullptr;
    // With a zero buffer size the call hands out a pointer into the read-only resource.
    const int length = ::LoadStringW(source != nullptr ? source : ::GetModuleHandleW(nullptr), id,
                                     reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text != nullptr ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

std::wstring ProductNameFromVersionResource() {
    const std::wstring path = ModulePath(nullptr);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<unsigned char> data(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return {};
    WORD language = 1033;
    WORD codePage = 1250;
    void* translation = nullptr;
    UINT translationBytes = 0;
    if (::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &translation, &translationBytes) &&
        translationBytes >= 2 * sizeof(WORD)) {
        language = static_cast<const WORD*>(translation)[0];
        codePage = static_cast<const WORD*>(translation)[1];
    }
    wchar_t query[64];
    std::swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\ProductName", language, codePage);
    void* value = nullptr;
    UINT valueChars = 0;
    if (!::VerQueryValueW(data.data(), query, &value, &valueChars) || value == nullptr) return {};
    return std::wstring(static_cast<const wchar_t*>(value));
}

std::vector<std::uint16_t> BuiltInLanguages() {
    std::vector<std::uint16_t> languages;
    ::EnumResourceLanguagesW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1), CollectLanguage,
                             reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

std::u16string LanguageName(std::uint16_t languageId) {
    wchar_t name[128] = {};
    if (::GetLocaleInfoW(MAKELCID(languageId, SORT_DEFAULT), LOCALE_SLANGUAGE, name, 128) > 0) {
        return Utf16FromPath(name);
    }
    const std::string digits = std::to_string(languageId);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace maglorin
