#pragma once
// Where the items of an archive go on disk: joining the output folder and an item's name, the
// refusal of names that would leave the output folder, and the chain of directories to create.

#include <cstddef>
#include <optional>
#include <vector>

#include "platform.h"

namespace maglorin::decoder {

// Longest joined path, in UTF-16 code units without the terminator.
inline constexpr std::size_t kMaxJoinedPathChars = 511;

// The output folder of the context: the text up to its terminator, or empty when the field
// holds no terminator within its kOutputFolderChars units.
std::optional<PathString> OutputFolderOf(const ExtractionContext& context);

// True when the item's name stays inside the output folder: not absolute, no drive letter or
// other ':', no ".." part (nor a part of dots and spaces that Windows would shorten into one),
// no reserved device name, and at least one real part. Both '/' and '\' separate parts.
[[nodiscard]] bool IsSafeItemName(const PathString& name);

// Output folder + one separator + name with every '/' or '\' turned into the separator.
// Empty when the result would exceed kMaxJoinedPathChars.
std::optional<PathString> JoinItemPath(const PathString& outputFolder, const PathString& name);

// The directories to create, in order, for a directory path that ends with the separator:
// every prefix ending before a separator, after skipping the leading separators and '?' and
// the part up to the next separator (the drive, the server of a network path, or on POSIX the
// first folder below the root).
std::vector<PathString> DirectoryChain(const PathString& directoryPath);

// The folders a file item lies in, below the output folder, outermost first: for "a/b/c.txt"
// the joined "a" and "a/b". Nothing outside the output folder is ever listed; the name must
// have passed IsSafeItemName and JoinItemPath (empty otherwise).
std::vector<PathString> ParentFoldersInside(const PathString& outputFolder, const PathString& fileName);

}  // namespace maglorin::decoder
