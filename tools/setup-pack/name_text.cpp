#include "name_text.h"

#include <cstdint>

namespace maglorin {

namespace {

// Decodes one UTF-8 sequence at text[i]; false for malformed, overlong or surrogate sequences.
bool DecodeUtf8(std::string_view text, std::size_t& i, std::uint32_t& codePoint) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    int extra = 0;
    std::uint32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        ++i;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1, codePoint = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, codePoint = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, codePoint = lead & 0x07, minimum = 0x10000;
    } else {
        return false;
    }
    if (i + extra >= text.size()) {
        return false;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto next = static_cast<std::uint8_t>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            return false;
        }
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    i += extra + 1;
    return codePoint >= minimum && codePoint <= 0x10FFFF && !(codePoint >= 0xD800 && codePoint <= 0xDFFF);
}

void AppendUtf8(std::uint32_t codePoint, std::string& out) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

}  // namespace

bool Utf8ToPackageName(std::string_view text, PackageName& name) {
    name.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        std::uint32_t codePoint = 0;
        if (!DecodeUtf8(text, i, codePoint)) {
            return false;
        }
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            name.push_back(static_cast<PathChar>(0xD800 + (codePoint >> 10)));
            name.push_back(static_cast<PathChar>(0xDC00 + (codePoint & 0x3FF)));
        } else {
            name.push_back(static_cast<PathChar>(codePoint));
        }
    }
    return true;
}

std::string PackageNameToUtf8(PackageNameView name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        std::uint32_t unit = static_cast<std::uint16_t>(name[i]);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < name.size()) {
            const std::uint32_t low = static_cast<std::uint16_t>(name[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), out);
                ++i;
                continue;
            }
        }
        AppendUtf8(unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit, out);
    }
    return out;
}

}  // namespace maglorin
