#pragma once
// Texts the flow builds from string-table patterns and from the package: "%s" filled in order,
// and the "/listlangs" list.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "payload_reader.h"

namespace maglorin {

// Each "%s" takes the next argument; "%s" without an argument left stays as it is. Nothing
// else in the pattern is special, so a "%" inside an argument is never read as a directive.
std::u16string FormatText(std::u16string_view pattern, std::initializer_list<std::u16string_view> arguments);

// The program's file name without folder and extension ("C:\dist\setup.exe" gives "setup").
std::u16string ProgramBaseName(std::u16string_view programPath);

// The language of every language library of the payload (type-12 entries), in table order: the
// value of the leading decimal digits of its name. Names without leading digits, or whose value
// is no 16-bit id, are left out.
std::vector<std::uint16_t> LibraryLanguages(const std::vector<PayloadEntry>& entries);

// One "%d-%s" line per language (id and its name), joined by "\r\n".
std::u16string LanguageListText(const std::vector<std::uint16_t>& languages,
                                const std::function<std::u16string(std::uint16_t)>& languageName);

}  // namespace maglorin
