#pragma once
// Conversions between the window's UTF-16 texts and the UTF-8 strings of the portable core, and
// the folders the window needs.

#include <string>
#include <string_view>

namespace maglorin::win32 {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

// The program's own folder, ending in "\".
std::wstring ProgramFolder();
// The user's pictures folder followed by "\"; "" when the system cannot name it.
std::wstring PicturesFolder();
// The folder part of a path, ending in "\"; "" when there is none.
std::wstring FolderOfPath(const std::wstring& path);

}  // namespace maglorin::win32
