#include "jar_unpacking.h"

namespace maglorin {

namespace {

PathChar LowerAscii(PathChar c) { return (c >= u'A' && c <= u'Z') ? static_cast<PathChar>(c + 32) : c; }

[[nodiscard]] bool EndsWithIgnoringCase(PathTextView text, std::string_view ending) {
    if (text.size() < ending.size()) {
        return false;
    }
    const PathTextView tail = text.substr(text.size() - ending.size());
    for (std::size_t i = 0; i < ending.size(); ++i) {
        if (LowerAscii(tail[i]) != static_cast<PathChar>(ending[i])) {
            return false;
        }
    }
    return true;
}

constexpr std::string_view kPackEnding = ".pack";

}  // namespace

[[nodiscard]] bool IsPackedJarName(PathTextView fileName) {
    if (!EndsWithIgnoringCase(fileName, kPackEnding)) {
        return false;
    }
    const PathTextView rest = fileName.substr(0, fileName.size() - kPackEnding.size());
    return rest.ends_with(PathFromAscii(".jar"));
}

PathText UnpackedJarPath(PathTextView packedPath) {
    return PathText(packedPath.substr(0, packedPath.size() - kPackEnding.size()));
}

PathText UnpackCommandArguments(PathTextView logFile, PathTextView packedFile, PathTextView targetFile) {
    const PathText quote = PathFromAscii("\"");
    return PathFromAscii("--verbose --log-file=") + quote + PathText(logFile) + quote +
           PathFromAscii(" --remove-pack-file ") + quote + PathText(packedFile) + quote + PathFromAscii(" ") + quote +
           PathText(targetFile) + quote;
}

PathText JarUnpackFailureText(PathTextView targetFileName, PathTextView logText) {
    return PathFromAscii("The ") + PathText(targetFileName) + PathFromAscii(" file can't be unpacked. Error message: ") +
           PathText(logText);
}

PathText JavaRuntimeMissingText() {
    return PathFromAscii("The Java Runtime Environment version 1.5 or later must be installed in order to unpack "
                         "JAR files.");
}

}  // namespace maglorin
