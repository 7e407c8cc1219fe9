#include "download_address.h"

#include <algorithm>

namespace maglorin {
namespace {

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }

std::u16string LowerText(std::u16string text) {
    std::transform(text.begin(), text.end(), text.begin(), Lower);
    return text;
}

struct SchemeInfo {
    const char16_t* name;
    DownloadScheme scheme;
    std::uint16_t port;
};

inline constexpr SchemeInfo kSchemes[] = {
    {u"ftp", DownloadScheme::Ftp, 21},
    {u"gopher", DownloadScheme::Gopher, 70},
    {u"http", DownloadScheme::Http, 80},
    {u"https", DownloadScheme::Https, 443},
};

bool IsSchemeChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'+' ||
           c == u'-' || c == u'.';
}

bool ParsePort(const std::u16string& text, std::uint16_t& port) {
    if (text.empty() || text.size() > 5) {
        return false;
    }
    std::uint32_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
        value = value * 10 + static_cast<std::uint32_t>(c - u'0');
    }
    if (value == 0 || value > 65535) {
        return false;
    }
    port = static_cast<std::uint16_t>(value);
    return true;
}

// host, "[v6]" host, either with ":port".
bool SplitHostPort(const std::u16string& text, DownloadAddress& address) {
    std::u16string::size_type portColon = std::u16string::npos;
    if (!text.empty() && text[0] == u'[') {
        const auto close = text.find(u']');
        if (close == std::u16string::npos) {
            return false;
        }
        address.host = text.substr(1, close - 1);
        if (close + 1 < text.size()) {
            if (text[close + 1] != u':') {
                return false;
            }
            portColon = close + 1;
        }
    } else {
        portColon = text.find(u':');
        address.host = text.substr(0, portColon);
    }
    if (address.host.empty()) {
        return false;
    }
    return portColon == std::u16string::npos || ParsePort(text.substr(portColon + 1), address.port);
}

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    c = Lower(c);
    return (c >= u'a' && c <= u'f') ? c - u'a' + 10 : -1;
}

// "%20" and its kind become the character they stand for (7-bit characters only; anything else
// stays as written, so no byte sequence is guessed into a code page).
std::u16string DecodeEscapes(const std::u16string& text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            const int value = HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]);
            if (value < 0x80) {
                out.push_back(static_cast<char16_t>(value));
                i += 2;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace

bool SplitDownloadAddress(const std::u16string& text, DownloadAddress& address) {
    address = DownloadAddress{};
    const auto schemeEnd = text.find(u"://");
    if (schemeEnd == std::u16string::npos || schemeEnd == 0 ||
        !std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(schemeEnd), IsSchemeChar)) {
        return false;
    }
    const std::u16string scheme = LowerText(text.substr(0, schemeEnd));
    for (const SchemeInfo& info : kSchemes) {
        if (scheme == info.name) {
            address.scheme = info.scheme;
            address.port = info.port;
        }
    }
    const auto authorityStart = schemeEnd + 3;
    auto authorityEnd = text.find_first_of(u"/?#", authorityStart);
    if (authorityEnd == std::u16string::npos) {
        authorityEnd = text.size();
    }
    std::u16string authority = text.substr(authorityStart, authorityEnd - authorityStart);
    const auto at = authority.rfind(u'@');
    if (at != std::u16string::npos) {
        const std::u16string user = authority.substr(0, at);
        const auto colon = user.find(u':');
        address.userName = user.substr(0, colon);
        if (colon != std::u16string::npos) {
            address.password = user.substr(colon + 1);
        }
        authority.erase(0, at + 1);
    }
    if (!SplitHostPort(authority, address)) {
        return false;
    }
    const std::u16string rest = text.substr(authorityEnd, text.find(u'#', authorityEnd) - authorityEnd);
    address.path = (rest.empty() || rest[0] != u'/') ? u"/" + rest : rest;
    return true;
}

std::u16string FileNameFromAddress(const DownloadAddress& address) {
    const std::u16string path = address.path.substr(0, address.path.find(u'?'));
    const auto slash = path.rfind(u'/');
    std::u16string name = DecodeEscapes(slash == std::u16string::npos ? path : path.substr(slash + 1));
    const bool reserved = std::any_of(name.begin(), name.end(), [](char16_t c) {
        return c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos;
    });
    // A name of dots alone, or ending in a dot or blank, means something else to Windows.
    if (reserved || name.find_first_not_of(u'.') == std::u16string::npos || name.back() == u'.' ||
        name.back() == u' ') {
        return {};
    }
    return name;
}

std::u16string FormLocalPath(const std::u16string& localPath, const DownloadAddress& address) {
    if (localPath.empty()) {
        return {};
    }
    if (localPath.back() != u'\\' && localPath.back() != u'/') {
        return localPath;
    }
    const std::u16string name = FileNameFromAddress(address);
    return name.empty() ? std::u16string{} : localPath + name;
}

std::u16string WorkingFilePath(const std::u16string& localPath) { return localPath + u".part"; }

std::u16string RangeHeader(std::uint32_t offset) {
    if (offset == 0) {
        return {};
    }
    const std::string digits = std::to_string(offset);
    return u"Range: bytes=" + std::u16string(digits.begin(), digits.end()) + u"-\r\n";
}

}  // namespace maglorin
