#pragma once
// The "Installer Language" dialog: a sorted drop-down list of languages, OK and Cancel.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace maglorin {

// A language's display name: the system's native name with its first letter in upper case.
std::wstring NativeLanguageName(std::uint16_t languageId);

// The selected language, or nullopt when the user cancelled.
std::optional<std::uint16_t> AskLanguage(HWND owner, const std::wstring& caption, const std::vector<std::uint16_t>& languages,
                                         std::uint16_t preselected);

}  // namespace maglorin
