#pragma once
// The numbers typed into the material editor's boxes: read in the user's number format, shown
// in their shortest decimal form. Text that is not a number counts as 0.

#include <string>
#include <string_view>

namespace maglorin {

// True when `text` (surrounding blanks ignored) is a decimal number: optional sign, digits with
// at most one `decimalSeparator`, optional exponent (E or e, optional sign, digits).
bool IsNumericField(std::wstring_view text, wchar_t decimalSeparator);

// The value of a numeric field as a single-precision real; 0 for anything else (including
// values beyond the single-precision range).
float ParseFieldValue(std::wstring_view text, wchar_t decimalSeparator);

// The shortest text that reads back as `value`, with the user's decimal separator.
std::wstring FormatFieldValue(float value, wchar_t decimalSeparator);

}  // namespace maglorin
