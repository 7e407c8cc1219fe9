#pragma once
// The captions of a contact sheet: a small bitmap font of our own (5 x 7 pixels per character,
// printable ASCII) and the fitting of a file name into the width of a cell.

#include <cstdint>
#include <string>

#include "image/decoded_picture.h"

namespace maglorin::render_tool {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
inline constexpr int kGlyphAdvance = kGlyphWidth + 1;  // one blank column between characters

// The printable form of `name`: every character outside printable ASCII becomes one '?' (a
// well-formed UTF-8 sequence counts as one character, any other byte as one).
std::string PrintableText(const std::string& name);

// `text` (printable ASCII) as it fits in `widthPixels`: unchanged when it fits, else cut and
// ended with "..." (only as much of "..." as fits when even that does not).
std::string FitText(const std::string& text, int widthPixels);

// Pixels `text` takes across: kGlyphAdvance per character less the last blank column.
int TextWidth(const std::string& text);

// Draws `text` with its top left at (left, top) in `colour`; pixels outside the picture are
// skipped. Characters outside printable ASCII draw as '?'.
void DrawText(DecodedPicture& picture, int left, int top, const std::string& text, std::uint32_t colour);

}  // namespace maglorin::render_tool
