#include "version_number.h"

namespace maglorin {

namespace {

constexpr std::int64_t kLargestPart = 2147483647;
constexpr std::int32_t kPartMaximum = 65535;

[[nodiscard]] bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

void AppendDecimal(std::int32_t value, std::u16string& out) {
    std::string digits = std::to_string(value);
    out.append(digits.begin(), digits.end());
}

}  // namespace

VersionNumber VersionNumber::Parse(std::u16string_view text) {
    VersionNumber version;
    std::size_t at = 0;
    while (version.partCount_ < 4 && at < text.size()) {
        if (!IsDigit(text[at])) {
            ++at;
            continue;
        }
        std::int64_t value = 0;
        for (; at < text.size() && IsDigit(text[at]); ++at) {
            value = value * 10 + (text[at] - u'0');
            if (value > kLargestPart) {
                return VersionNumber();  // one overflowing part spoils the whole number
            }
        }
        version.parts_[version.partCount_++] = static_cast<std::int32_t>(value);
    }
    return version;
}

bool VersionNumber::IsZero() const {
    for (std::int32_t part : parts_) {
        if (part != 0) return false;
    }
    return true;
}

bool VersionNumber::IsAllMaximum() const {
    for (std::int32_t part : parts_) {
        if (part != kPartMaximum) return false;
    }
    return true;
}

std::u16string VersionNumber::ToText() const {
    int shown = 4;
    if (!IsZero()) {
        shown = 2;
        for (int i = 0; i < 4; ++i) {
            if (parts_[i] != 0 && parts_[i] != kPartMaximum && i + 1 > shown) shown = i + 1;
        }
    }
    std::u16string text;
    for (int i = 0; i < shown; ++i) {
        if (i > 0) text += u'.';
        AppendDecimal(parts_[i], text);
    }
    return text;
}

}  // namespace maglorin
