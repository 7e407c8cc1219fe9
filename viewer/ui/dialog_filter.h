#pragma once
// File-type lists of the open and save dialogs. The window writes them as one text with "|"
// between description and pattern and between entries ("24-bit Bitmap |*.bmp"); the system takes
// NUL-separated entries ending in a double NUL.

#include <string>
#include <string_view>

namespace maglorin {

// Appends a "|" when the text does not end with one, then turns every "|" into a NUL. The
// returned string's own terminator supplies the final NUL of the list.
std::wstring ConvertFilter(std::wstring_view filter);

}  // namespace maglorin
