#pragma once
// The system's side of extraction's questions and messages: free bytes of a volume, the
// Retry/Cancel message box of the low-space question, and error messages.

#include "free_space.h"
#include "low_space_question.h"
#include "user_messages.h"

namespace maglorin {

// GetDiskFreeSpaceExW: the bytes available to the caller.
class SystemFreeSpace final : public FreeSpaceQuery {
public:
    std::optional<std::uint64_t> FreeBytes(PathTextView path) override;
};

// A message box with Retry and Cancel and the error icon, owned by the active window.
class MessageBoxRetryPrompt final : public RetryPrompt {
public:
    [[nodiscard]] bool AskRetry(PathTextView text) override;
};

// A message box with the error icon when the user interface is enabled; the debugger output
// when the run is quiet.
class SystemUserMessages final : public UserMessages {
public:
    explicit SystemUserMessages(bool userInterfaceEnabled) : userInterfaceEnabled_(userInterfaceEnabled) {}
    void ShowError(PathTextView text) override;

private:
    bool userInterfaceEnabled_;
};

}  // namespace maglorin
