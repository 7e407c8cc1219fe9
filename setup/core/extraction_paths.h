#pragma once
// Paths inside the extraction folder. Folders are kept with the "\\?\" prefix (so long paths
// work) unless they are network paths; the prefix is removed before a path is shown or handed
// on. Every path is UTF-16 text with '\' between folders.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "extraction_context.h"  // PathChar
#include "package_records.h"

namespace maglorin {

using PathText = std::basic_string<PathChar>;
using PathTextView = std::basic_string_view<PathChar>;

PathText PathFromAscii(std::string_view ascii);
PathText PathFromUtf16(std::u16string_view text);
std::u16string Utf16FromPath(PathTextView text);

// Two backslashes not followed by '?': a server share.
[[nodiscard]] bool IsNetworkPath(PathTextView path);
[[nodiscard]] bool HasLongPathPrefix(PathTextView path);

// A folder as extraction uses it: ending in '\', and with the "\\?\" prefix when it is a drive
// path ("C:\..."). Network paths and already prefixed folders keep their form; a relative folder
// is left without the prefix (the prefixed form only names absolute paths). Empty stays empty.
PathText ExtractionFolderForm(PathTextView folder);

// The path as shown to the user or handed to another program.
PathText WithoutLongPathPrefix(PathTextView path);

// folder + name, or nullopt when the name could leave the folder (absolute, drive, "..",
// device names, ...): the reader refuses such names, and this is the second check at the join.
std::optional<PathText> JoinEntryPath(PathTextView folder, PackageNameView name);

// The name up to and including its last '\' ('/' counts too); empty when it has no folder part.
PathTextView FolderPart(PathTextView name);

// The path with the extension of its last component replaced (or added when it has none).
PathText ReplaceExtension(PathTextView path, PathTextView extension);

// The folders of path's parent chain below its root, shortest first, each ending in '\':
// for "\\?\C:\a\b\file" these are "\\?\C:\a\" and "\\?\C:\a\b\". The root (drive, or server
// and share of a network path) is never listed.
std::vector<PathText> ParentFolderChain(PathTextView path);

// The 7-character package sub-folder: the 7 characters before the closing brace of
// DefaultProdCode, else the first 7 digits of the package digest. A code that does not give 7
// usable name characters falls back to the digest. The digest comes from the package's footer,
// which nothing has verified at this point: empty unless its first 7 characters are hexadecimal
// digits, and callers treat that as a damaged package.
std::optional<PathText> PackageSubFolderName(std::u16string_view defaultProdCode,
                                             std::string_view packageDigest);

}  // namespace maglorin
