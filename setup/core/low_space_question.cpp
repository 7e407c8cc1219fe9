#include "low_space_question.h"

namespace maglorin {

PathText LowSpaceText(PathTextView folder) {
    return PathFromAscii("There is not enough space in folder:") + WithoutLongPathPrefix(folder) +
           PathFromAscii("\r\nPlease free some space and press Retry or press Cancel to abort the installation.");
}

bool LowSpaceQuestion::Ask(PathTextView folder, std::uint64_t bytesNeeded) {
    if (!userInterfaceEnabled_ || prompt_ == nullptr) {
        return false;
    }
    const PathText text = LowSpaceText(folder);
    while (prompt_->AskRetry(text)) {
        if (HasRoomFor(freeSpace_, folder, bytesNeeded)) {
            return true;
        }
    }
    return false;
}

std::int32_t LowSpaceQuestion::OnLowDiskSpace(const PathChar* outputFolder, std::uint64_t bytesNeeded) {
    if (outputFolder == nullptr) {
        return 0;
    }
    return Ask(PathTextView(outputFolder), bytesNeeded) ? 1 : 0;
}

}  // namespace maglorin
