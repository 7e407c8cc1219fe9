#pragma once
// Result codes of payload extraction. They continue the package reader's numbering
// (package_result.h); the main flow turns every code into a message.

#include "package_result.h"

namespace maglorin {

inline constexpr int kResultNotEnoughSpace = 10;     // the user declined to retry, or no one to ask
inline constexpr int kResultLibraryMissing = 11;     // decoder.dll missing, not loadable or incomplete
inline constexpr int kResultExtractionFailed = 13;   // an archive could not be opened or unpacked
inline constexpr int kResultCancelled = 14;          // the user stopped the extraction
inline constexpr int kResultUnpackCancelled = 16;    // the user stopped the JAR unpacking

// What ExtractAllFiles answered, in setup's numbering: 3 gives 13, 5 gives 14, 0 gives 0. Any
// other answer is not one the library gives; it is taken as a failure, never as success.
[[nodiscard]] int ArchiveExtractionResult(int extractAllFilesResult);

}  // namespace maglorin
