#include "result_messages.h"

#include "extraction_result.h"
#include "installer_outcome.h"

namespace maglorin {

namespace {
constexpr int kResultUnsupportedVersion = 6;
}  // namespace

std::optional<SetupStringId> ResultMessage(int result) {
    switch (result) {
        case kResultSuccess:
        case kResultNotEnoughSpace:  // the user declined at the disk-space question
        case kResultCancelled:
            return std::nullopt;
        case kResultReadError: return kStringReadError;
        case kResultDamagedPackage: return kStringCorruptedArchive;
        case kResultUnsupportedVersion: return kStringUnsupportedVersion;
        case kResultInstallerNotStarted: return kStringInstallerNotStarted;
        default: return kStringExtractionError;
    }
}

int ExitCodeForResult(int result) {
    if (result == kResultSuccess) return 0;
    return result == kResultCancelled ? -1 : 1;
}

}  // namespace maglorin
