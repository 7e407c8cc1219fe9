#pragma once
// Which language setup speaks when nobody fixed it: the candidate that best matches the
// system's four language ids, by preference slots. Also reads a language id from text.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace maglorin {

// The system's language ids; 0 stands for one the system does not report.
struct SystemLanguageIds {
    std::uint16_t systemDefault = 0;    // S
    std::uint16_t userDefault = 0;      // U
    std::uint16_t systemInterface = 0;  // SU
    std::uint16_t userInterface = 0;    // UU
};

// The primary language: the low 8 bits of a 16-bit language id.
constexpr std::uint16_t PrimaryLanguage(std::uint16_t languageId) { return languageId & 0xFF; }

// The candidate in the first filled preference slot (a later candidate replaces an earlier one
// in the same slot); the first candidate when no slot is filled; 0 without candidates. A system
// id of 0 matches no candidate.
std::uint16_t DefaultLanguageChoice(const std::vector<std::uint16_t>& candidates, const SystemLanguageIds& system,
                                    bool userLanguageFirst);

// The value of the leading decimal digits ("1031x" gives 1031); nullopt without digits or when
// the value is no 16-bit id.
std::optional<std::uint16_t> LeadingLanguageId(std::u16string_view text);

}  // namespace maglorin
