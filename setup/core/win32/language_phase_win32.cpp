#include "language_phase_win32.h"

#include <algorithm>

namespace maglorin {

namespace {

// The value of the leading decimal digits; nullopt without digits or beyond a 16-bit id.
std::optional<std::uint16_t> LeadingLanguageId(std::u16string_view text) {
    std::uint32_t value = 0;
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= u'0' && text[digits] <= u'9') {
        value = value * 10 + static_cast<std::uint32_t>(text[digits] - u'0');
        if (value > 0xFFFF) return std::nullopt;
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

}  // namespace

LanguagePhaseResult ChooseLanguage(const LanguagePhaseRequest& request) {
    LanguagePhaseResult result;
    if (request.requestedLanguage) {
        const auto id = LeadingLanguageId(*request.requestedLanguage);
        const auto& builtIn = request.builtInLanguages;
        if (id && std::find(builtIn.begin(), builtIn.end(), *id) != builtIn.end()) {
            result.notFixed = false;  // the program's own texts are in that language already
        }
    }
    return result;
}

}  // namespace maglorin
