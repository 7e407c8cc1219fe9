#pragma once
// LowSpaceQuestion: what setup answers when a file does not fit on the extraction volume, both
// for its own copies and as the extraction library's DiskSpaceHandler. With the user interface
// disabled it stops at once; otherwise it asks Retry/Cancel until the space is there or the user
// gives up. The question itself is asked through RetryPrompt (a message box in setup, a script
// in tests).

#include <cstdint>

#include "extraction_context.h"
#include "extraction_paths.h"
#include "free_space.h"

namespace maglorin {

class RetryPrompt {
public:
    virtual ~RetryPrompt() = default;
    // Shows the text with Retry and Cancel; true = Retry.
    [[nodiscard]] virtual bool AskRetry(PathTextView text) = 0;
};

// "There is not enough space in folder:<folder>\r\nPlease free some space ..." (the folder
// without the "\\?\" prefix).
PathText LowSpaceText(PathTextView folder);

class LowSpaceQuestion final : public DiskSpaceHandler {
public:
    // Both must outlive the question; prompt may be null only when the user interface is disabled.
    LowSpaceQuestion(bool userInterfaceEnabled, RetryPrompt* prompt, FreeSpaceQuery& freeSpace)
        : userInterfaceEnabled_(userInterfaceEnabled), prompt_(prompt), freeSpace_(freeSpace) {}

    // True = go on: the space is there now. False = stop.
    [[nodiscard]] bool Ask(PathTextView folder, std::uint64_t bytesNeeded);

    // The library's question: nonzero = go on. Called on the extraction worker thread.
    [[nodiscard]] std::int32_t OnLowDiskSpace(const PathChar* outputFolder, std::uint64_t bytesNeeded) override;

private:
    bool userInterfaceEnabled_;
    RetryPrompt* prompt_;
    FreeSpaceQuery& freeSpace_;
};

}  // namespace maglorin
