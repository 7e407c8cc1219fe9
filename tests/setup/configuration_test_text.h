#pragma once
// Builds setup.ini sources for the configuration tests: UTF-16LE bytes behind a byte-order mark.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace maglorin::test_support {

inline std::vector<std::byte> Utf16LeBytes(std::u16string_view text) {
    std::vector<std::byte> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::byte>(c & 0xFF));
        bytes.push_back(static_cast<std::byte>(c >> 8));
    }
    return bytes;
}

inline std::vector<std::byte> IniSource(std::u16string_view text) {
    std::vector<std::byte> bytes = {std::byte{0xFF}, std::byte{0xFE}};
    const std::vector<std::byte> body = Utf16LeBytes(text);
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

// Readable failure messages for UTF-16 text (ASCII shown as is, the rest as \uXXXX).
inline std::string Printable(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c >= 32 && c < 127) {
            out += static_cast<char>(c);
        } else {
            static const char kHex[] = "0123456789ABCDEF";
            out += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
        }
    }
    return out;
}

}  // namespace maglorin::test_support
