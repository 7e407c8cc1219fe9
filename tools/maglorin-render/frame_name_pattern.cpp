#include "frame_name_pattern.h"

#include <cctype>

namespace maglorin::render_tool {

namespace {

struct Field {
    int width = 0;
    bool zeroPad = false;
    std::size_t length = 0;  // characters from '%' to 'd', both included
};

// The field starting at text[at] == '%' (not "%%"); empty when it is not %d, %0Nd or %Nd.
std::optional<Field> ReadField(const std::string& text, std::size_t at) {
    Field field;
    std::size_t i = at + 1;
    if (i < text.size() && text[i] == '0') {
        field.zeroPad = true;
        ++i;
    }
    const std::size_t digitsFrom = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && i - digitsFrom < 3) {
        field.width = field.width * 10 + (text[i] - '0');
        ++i;
    }
    if (i >= text.size() || text[i] != 'd' || field.width > kMostFieldWidth) return std::nullopt;
    field.length = i - at + 1;
    return field;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// The characters of a refused field: from '%' to its conversion letter (at most 8 characters).
std::string FieldText(const std::string& text, std::size_t at) {
    std::size_t end = at + 1;
    while (end < text.size() && end - at < 8 && !std::isalpha(static_cast<unsigned char>(text[end]))) ++end;
    return text.substr(at, end < text.size() ? end - at + 1 : end - at);
}

}  // namespace

bool HasExtension(const std::string& path, const std::string& extension) {
    if (path.size() < extension.size()) return false;
    const std::size_t from = path.size() - extension.size();
    for (std::size_t i = 0; i < extension.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(path[from + i])) != extension[i]) return false;
    }
    return true;
}

std::optional<FrameNamePattern> ParseFrameNamePattern(const std::string& text, std::string& error) {
    const std::size_t nameFrom = text.find_last_of("/\\") == std::string::npos ? 0 : text.find_last_of("/\\") + 1;
    FrameNamePattern pattern;
    bool seen = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string& part = seen ? pattern.suffix : pattern.prefix;
        if (text[i] != '%') {
            part += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '%') {
            part += '%';
            ++i;
            continue;
        }
        const std::optional<Field> field = ReadField(text, i);
        if (!field) {
            error = "--out " + Quoted(text) + ": " + Quoted(FieldText(text, i)) +
                    " is not a frame number field (use %d, %0Nd or %Nd with N up to " +
                    std::to_string(kMostFieldWidth) + ", and %% for a percent sign)";
            return std::nullopt;
        }
        if (seen) {
            error = "--out " + Quoted(text) + " has more than one frame number field";
            return std::nullopt;
        }
        if (i < nameFrom) {
            error = "--out " + Quoted(text) + ": the frame number field must be in the file name, not the folder";
            return std::nullopt;
        }
        seen = true;
        pattern.width = field->width;
        pattern.zeroPad = field->zeroPad;
        i += field->length - 1;
    }
    if (!seen) {
        error = "--out " + Quoted(text) + " needs a frame number field for --turntable (e.g. kit-%03d.png)";
        return std::nullopt;
    }
    if (!HasExtension(pattern.suffix, ".png")) {
        error = "--out " + Quoted(text) + ": turntable frames are written as .png only";
        return std::nullopt;
    }
    return pattern;
}

std::string FrameFileName(const FrameNamePattern& pattern, int index) {
    std::string number = std::to_string(index);
    if (static_cast<int>(number.size()) < pattern.width) {
        number.insert(0, static_cast<std::size_t>(pattern.width) - number.size(), pattern.zeroPad ? '0' : ' ');
    }
    return pattern.prefix + number + pattern.suffix;
}

}  // namespace maglorin::render_tool
