#include "entry_name_check.h"

#include <array>
#include <string_view>

namespace maglorin {

namespace {

[[nodiscard]] bool IsSeparator(PathChar c) { return c == u'\\' || c == u'/'; }

[[nodiscard]] bool IsForbiddenCharacter(PathChar c) {
    switch (c) {
    case u':': case u'<': case u'>': case u'"': case u'|': case u'?': case u'*':
        return true;
    default:
        return static_cast<std::uint32_t>(c) < 0x20;
    }
}

PathChar UpperAscii(PathChar c) { return (c >= u'a' && c <= u'z') ? static_cast<PathChar>(c - 32) : c; }

[[nodiscard]] bool EqualsIgnoringAsciiCase(PackageNameView text, std::string_view ascii) {
    if (text.size() != ascii.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (UpperAscii(text[i]) != static_cast<PathChar>(ascii[i])) {
            return false;
        }
    }
    return true;
}

// Windows treats these as devices whatever the folder and whatever follows the first dot.
[[nodiscard]] bool IsDeviceName(PackageNameView component) {
    PackageNameView stem = component.substr(0, component.find(u'.'));
    while (!stem.empty() && stem.back() == u' ') {
        stem.remove_suffix(1);
    }
    static constexpr std::array<std::string_view, 6> kFixed = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (std::string_view device : kFixed) {
        if (EqualsIgnoringAsciiCase(stem, device)) {
            return true;
        }
    }
    if (stem.size() == 4) {
        const bool serialOrPrinter = EqualsIgnoringAsciiCase(stem.substr(0, 3), "COM") ||
                                     EqualsIgnoringAsciiCase(stem.substr(0, 3), "LPT");
        const PathChar digit = stem[3];
        // The superscript digits 1, 2 and 3 count as digits here too.
        const bool isDigit = (digit >= u'0' && digit <= u'9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
        return serialOrPrinter && isDigit;
    }
    return false;
}

[[nodiscard]] bool IsSafeComponent(PackageNameView component) {
    if (component.empty() || component.back() == u'.' || component.back() == u' ') {
        return false;  // also every "." and ".." component
    }
    for (PathChar c : component) {
        if (IsForbiddenCharacter(c)) {
            return false;
        }
    }
    return !IsDeviceName(component);
}

}  // namespace

[[nodiscard]] bool IsSafeEntryName(PackageNameView name) {
    if (name.empty()) {
        return false;
    }
    std::size_t start = 0;
    while (true) {
        std::size_t end = start;
        while (end < name.size() && !IsSeparator(name[end])) {
            ++end;
        }
        // A leading separator (absolute or network path) gives an empty first component.
        if (!IsSafeComponent(name.substr(start, end - start))) {
            return false;
        }
        if (end == name.size()) {
            return true;
        }
        start = end + 1;
    }
}

}  // namespace maglorin
