#include "message_text.h"

namespace maglorin {

std::u16string FormatText(std::u16string_view pattern, std::initializer_list<std::u16string_view> arguments) {
    std::u16string out;
    auto next = arguments.begin();
    std::size_t at = 0;
    while (at < pattern.size()) {
        const std::size_t directive = pattern.find(u"%s", at);
        if (directive == std::u16string_view::npos || next == arguments.end()) {
            out.append(pattern.substr(at));
            break;
        }
        out.append(pattern.substr(at, directive - at)).append(*next++);
        at = directive + 2;
    }
    return out;
}

std::u16string ProgramBaseName(std::u16string_view programPath) {
    const std::size_t separator = programPath.find_last_of(u"\\/");
    std::u16string_view name = separator == std::u16string_view::npos ? programPath : programPath.substr(separator + 1);
    const std::size_t dot = name.rfind(u'.');
    if (dot != std::u16string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::u16string(name);
}

std::vector<std::uint16_t> LibraryLanguages(const std::vector<PayloadEntry>& entries) {
    std::vector<std::uint16_t> languages;
    for (const PayloadEntry& entry : entries) {
        if (entry.type != PayloadFileType::LanguageLibrary) continue;
        std::uint32_t value = 0;
        std::size_t digits = 0;
        while (digits < entry.name.size() && entry.name[digits] >= u'0' && entry.name[digits] <= u'9' &&
               value <= 0xFFFF) {
            value = value * 10 + static_cast<std::uint32_t>(entry.name[digits] - u'0');
            ++digits;
        }
        if (digits > 0 && value <= 0xFFFF) languages.push_back(static_cast<std::uint16_t>(value));
    }
    return languages;
}

std::u16string LanguageListText(const std::vector<std::uint16_t>& languages,
                                const std::function<std::u16string(std::uint16_t)>& languageName) {
    std::u16string text;
    for (std::size_t i = 0; i < languages.size(); ++i) {
        if (i > 0) text.append(u"\r\n");
        const std::string id = std::to_string(languages[i]);
        text.append(std::u16string(id.begin(), id.end())).append(u"-").append(languageName(languages[i]));
    }
    return text;
}

}  // namespace maglorin
