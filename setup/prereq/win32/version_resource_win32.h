#pragma once
// What a file's version resource says: its fixed file version, and a string of its string
// table (ProductName) in the first translation it lists.

#include <optional>
#include <string>
#include <string_view>

#include "version_number.h"

namespace maglorin {

// The fixed file version; nullopt when the file has no version resource or cannot be read.
std::optional<VersionNumber> ReadFileVersion(std::u16string_view path);

// A string of the version resource ("ProductName"), looked up under the first translation of
// "\VarFileInfo\Translation" (1033 with code page 1250 when the file lists none); nullopt when
// the file has no resource or no such string.
std::optional<std::u16string> ReadVersionString(std::u16string_view path, std::u16string_view name);

// The running program's own file.
std::u16string RunningProgramPath();

}  // namespace maglorin
