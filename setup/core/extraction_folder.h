#pragma once
// The configured extraction folder as written in setup.ini, tidied before its references are
// resolved (that happens when the folder is first used).

#include <string>
#include <string_view>

namespace maglorin {

// Splits the folder at "\", drops trailing blanks and dots from every part (a part left empty
// is dropped: it could only name the folder above or the same folder), and joins the parts with
// "\", ending in "\". A part ending in "]" is a folder reference whose value already ends in
// "\", so no separator follows it, not even at the end. A leading "\\?\" prefix, or the "\\" of
// a network path or the "\" of a drive root, is kept. Empty stays empty (the temporary folder
// is used then).
std::u16string NormaliseExtractionFolder(std::u16string_view folder);

}  // namespace maglorin
