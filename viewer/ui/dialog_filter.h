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

// The extension a save dialog adds to a name typed without one while file type `index` (counted
// from 1) of `filter` is chosen: that of the entry's first pattern ("png" for "*.png;*.apng"). Empty
// when the entry does not exist or its first pattern names no single extension ("*.*", "*").
std::wstring FilterDefaultExtension(std::wstring_view filter, unsigned index);

// The number of description|pattern entries of `filter` (a trailing "|" ends the last one).
unsigned FilterEntryCount(std::wstring_view filter);

// `name` with "." and `extension` added when its last component has no extension (and
// `extension` is not empty), as a save dialog completes a typed name.
std::wstring WithDefaultExtension(std::wstring_view name, std::wstring_view extension);

}  // namespace maglorin
