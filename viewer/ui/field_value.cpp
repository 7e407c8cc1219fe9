#include "ui/field_value.h"

#include <charconv>
#include <cmath>
#include <string>

namespace maglorin {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Number of digits at the start of `text`.
std::size_t DigitRun(std::wstring_view text) {
    std::size_t n = 0;
    while (n < text.size() && IsDigit(text[n])) ++n;
    return n;
}

}  // namespace

bool IsNumericField(std::wstring_view text, wchar_t decimalSeparator) {
    text = Trim(text);
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) text.remove_prefix(1);
    const std::size_t whole = DigitRun(text);
    text.remove_prefix(whole);
    std::size_t fraction = 0;
    if (!text.empty() && text.front() == decimalSeparator) {
        text.remove_prefix(1);
        fraction = DigitRun(text);
        text.remove_prefix(fraction);
    }
    if (whole + fraction == 0) return false;
    if (!text.empty() && (text.front() == L'e' || text.front() == L'E')) {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) text.remove_prefix(1);
        const std::size_t exponent = DigitRun(text);
        if (exponent == 0) return false;
        text.remove_prefix(exponent);
    }
    return text.empty();
}

float ParseFieldValue(std::wstring_view text, wchar_t decimalSeparator) {
    if (!IsNumericField(text, decimalSeparator)) return 0.0f;
    // Checked above to hold only digits, signs, one separator and an exponent mark: plain ASCII.
    std::string ascii;
    for (wchar_t c : Trim(text)) {
        ascii.push_back(c == decimalSeparator ? '.' : static_cast<char>(c));
    }
    if (!ascii.empty() && ascii.front() == '+') ascii.erase(0, 1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size()) return 0.0f;
    if (!(std::fabs(value) <= 3.4028234663852886e38)) return 0.0f;
    return static_cast<float>(value);
}

std::wstring FormatFieldValue(float value, wchar_t decimalSeparator) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::wstring text;
    if (error != std::errc()) return L"0";
    for (const char* p = buffer; p != end; ++p) {
        text.push_back(*p == '.' ? decimalSeparator : static_cast<wchar_t>(*p));
    }
    return text;
}

}  // namespace maglorin
