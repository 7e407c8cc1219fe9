#pragma once
// The file name of each turntable frame: the --out text holds one printf-style integer field
// ("kit-%03d.png"), which we expand ourselves: the user's text is never handed to printf.

#include <optional>
#include <string>

namespace maglorin::render_tool {

// "kit-%03d.png" reads as prefix "kit-", width 3, zero-padded, suffix ".png". "%%" in the text
// stands for one "%" in the prefix or suffix.
struct FrameNamePattern {
    std::string prefix;
    std::string suffix;
    int width = 0;          // least number of characters of the number
    bool zeroPad = false;   // pad with '0' (else with spaces, as printf does)
};

// Widest field a pattern may ask for.
inline constexpr int kMostFieldWidth = 10;

// Reads `text`: exactly one field of the forms %d, %0Nd or %Nd (N up to kMostFieldWidth) in the
// file name part (after the last '/' or '\'), "%%" for a literal percent sign, nothing else that
// starts with '%', and a name ending in ".png" (any case). Empty with the reason otherwise.
[[nodiscard]] std::optional<FrameNamePattern> ParseFrameNamePattern(const std::string& text, std::string& error);

// The file name of frame `index` (>= 0).
std::string FrameFileName(const FrameNamePattern& pattern, int index);

// True when `path` ends in `extension` (given in lower case, with its dot) in any case.
bool HasExtension(const std::string& path, const std::string& extension);

}  // namespace maglorin::render_tool
