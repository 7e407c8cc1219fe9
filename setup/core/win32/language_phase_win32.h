#pragma once
// The language step of the installation: which language setup speaks and whether the choice is
// fixed. Today setup speaks its built-in base language; "/exelang" naming a built-in language
// fixes it. Language libraries from the payload and the language dialog plug in here.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "general_options.h"
#include "package_records.h"

namespace maglorin {

struct LanguagePhaseRequest {
    std::optional<std::u16string> requestedLanguage;  // the "/exelang" value
    bool quiet = false;
    PackageFlags packageFlags = PackageFlags::None;
    std::vector<std::uint16_t> builtInLanguages;      // from the version resource, base first
    std::vector<std::uint16_t> libraryLanguages;      // from the payload
};

struct LanguagePhaseResult {
    bool cancelled = false;        // the user cancelled the choice: the run ends with exit code 0
    std::uint16_t languageId = 0;  // 0: a built-in language is in use
    bool notFixed = true;          // nobody fixed the language explicitly
    HMODULE textSource = nullptr;  // null: the program's own texts
};

[[nodiscard]] LanguagePhaseResult ChooseLanguage(const LanguagePhaseRequest& request);

}  // namespace maglorin
