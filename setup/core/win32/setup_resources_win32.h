#pragma once
// setup's own resources: texts of the string table by id, the product name of the version
// resource, the languages the version resource exists in and the system's names of languages.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "setup_string_ids.h"

namespace maglorin {

// The text under `id` in `source` (a loaded language library, or null for the program itself);
// empty when it has none.
std::wstring LoadSetupText(SetupStringId id, HMODULE source = nullptr);

// ProductName of the program's version resource, in its first listed translation (1033 / 1250
// when none is listed); empty when the resource has none.
std::wstring ProductNameFromVersionResource();

// The language ids in which the program's version resource exists, in enumeration order.
std::vector<std::uint16_t> BuiltInLanguages();

// The system's name of a language ("English (United States)"); the decimal id when it has none.
std::u16string LanguageName(std::uint16_t languageId);

}  // namespace maglorin
