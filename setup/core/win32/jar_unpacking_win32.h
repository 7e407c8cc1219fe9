#pragma once
// The system's side of JAR unpacking: the packed files under the unpack folders, the search for
// unpack200.exe (a bundled runtime, then the installed Java runtimes of version 1.5 or later),
// and the runs of the unpacker.

#include <optional>
#include <vector>

#include "jar_unpacking.h"

namespace maglorin {

struct PackedJar {
    PathText path;
    std::size_t folderIndex;  // into the unpack-folders list
};

// Recursively, in each folder (ending in '\') in order; links to folders are not followed.
std::vector<PackedJar> CollectPackedJars(const std::vector<PathText>& folders);

// "jre\bin\unpack200.exe", then "jre64\bin\unpack200.exe" below the first unpack folder, then
// the runtimes registered under HKLM "Software\JavaSoft\Java Runtime Environment\" (JavaHome),
// first in the default registry view, then in the 64-bit one.
std::optional<PathText> FindUnpackProgram(PathTextView firstUnpackFolder);

}  // namespace maglorin
