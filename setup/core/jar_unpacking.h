#pragma once
// Unpacking of packed JAR files ("name.jar.pack") after extraction, when PackJars is set: the
// portable rules and texts. The search for the unpacker and the runs are in
// win32/jar_unpacking_win32.h.

#include "extraction_paths.h"

namespace maglorin {

// A file name that ends in ".pack" (any case) and whose remaining name ends in ".jar".
[[nodiscard]] bool IsPackedJarName(PathTextView fileName);

// The file the unpacker writes: the packed path without ".pack".
PathText UnpackedJarPath(PathTextView packedPath);

// --verbose --log-file="LOG" --remove-pack-file "PACKED" "TARGET"
PathText UnpackCommandArguments(PathTextView logFile, PathTextView packedFile, PathTextView targetFile);

PathText JarUnpackFailureText(PathTextView targetFileName, PathTextView logText);
PathText JavaRuntimeMissingText();

}  // namespace maglorin
