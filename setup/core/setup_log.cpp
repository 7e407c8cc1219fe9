#include "setup_log.h"

#include <algorithm>
#include <array>

namespace maglorin {

namespace {

constexpr std::u16string_view kMask = u"****";
constexpr std::u16string_view kPasswordOption = u"/password:";
constexpr std::array<std::u16string_view, 3> kSecretNameParts = {u"PASSWORD", u"PASSWD", u"PWD"};

char16_t Upper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool IsPropertyNameChar(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_' ||
           c == u'.';
}

bool NamesSecret(std::u16string_view name) {
    std::u16string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(), Upper);
    return std::any_of(kSecretNameParts.begin(), kSecretNameParts.end(),
                       [&](std::u16string_view part) { return upper.find(part) != std::u16string::npos; });
}

// The value starting at `start`: up to the closing double quote when it opens with one (the
// quotes stay), else up to the next blank. Returns [begin, end) of the characters to mask.
std::pair<std::size_t, std::size_t> ValueRange(std::u16string_view text, std::size_t start) {
    if (start < text.size() && text[start] == u'"') {
        const std::size_t close = text.find(u'"', start + 1);
        return {start + 1, close == std::u16string_view::npos ? text.size() : close};
    }
    const std::size_t blank = text.find(u' ', start);
    return {start, blank == std::u16string_view::npos ? text.size() : blank};
}

bool StartsWithNoCase(std::u16string_view text, std::size_t at, std::u16string_view prefix) {
    if (text.size() - at < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Upper(text[at + i]) != Upper(prefix[i])) return false;
    }
    return true;
}

}  // namespace

bool SetupLog::Open(const std::filesystem::path& file) {
#ifdef _WIN32
    file_.reset(_wfopen(file.c_str(), L"ab"));
#else
    file_.reset(std::fopen(file.c_str(), "ab"));
#endif
    return file_ != nullptr;
}

void SetupLog::Write(std::u16string_view line) {
    if (!file_) return;
    std::u16string oneLine(line);
    std::replace(oneLine.begin(), oneLine.end(), u'\r', u' ');
    std::replace(oneLine.begin(), oneLine.end(), u'\n', u' ');
    const std::string bytes = Utf8FromUtf16(oneLine) + "\r\n";
    std::fwrite(bytes.data(), 1, bytes.size(), file_.get());
    std::fflush(file_.get());
}

std::u16string SetupLog::MaskSecrets(std::u16string_view commandLine) {
    std::u16string out;
    std::size_t copied = 0;
    std::size_t at = 0;
    while (at < commandLine.size()) {
        std::size_t valueStart = std::u16string_view::npos;
        if (StartsWithNoCase(commandLine, at, kPasswordOption)) {
            valueStart = commandLine.find_first_not_of(u' ', at + kPasswordOption.size());
            if (valueStart == std::u16string_view::npos) valueStart = commandLine.size();
        } else if (commandLine[at] == u'=') {
            std::size_t nameStart = at;
            while (nameStart > 0 && IsPropertyNameChar(commandLine[nameStart - 1])) --nameStart;
            if (!NamesSecret(commandLine.substr(nameStart, at - nameStart))) {
                // An ordinary property: its value is data, not names, so skip it whole.
                const auto [begin, end] = ValueRange(commandLine, at + 1);
                at = std::max(end, begin);
                continue;
            }
            valueStart = at + 1;
        }
        if (valueStart == std::u16string_view::npos) {
            ++at;
            continue;
        }
        const auto [begin, end] = ValueRange(commandLine, valueStart);
        out.append(commandLine.substr(copied, begin - copied));
        out.append(kMask);
        copied = end;
        at = std::max(end, at + 1);
    }
    out.append(commandLine.substr(std::min(copied, commandLine.size())));
    return out;
}

std::string Utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

}  // namespace maglorin
