#pragma once
// UTF-16 text as the wide-character API takes it, and back: on Windows wchar_t is one UTF-16
// code unit, so the same buffer serves both without copying.

#include <cstddef>
#include <string>

namespace maglorin {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t holds one UTF-16 code unit");

inline const wchar_t* WideText(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

inline std::u16string FromWide(const wchar_t* text, std::size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace maglorin
