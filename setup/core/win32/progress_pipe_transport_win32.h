#pragma once
// The client end of the progress pipe of "/groupsextract:": "\\.\pipe\ToServer<id>", opened for
// reading and writing. One WriteFile per message, one ReadFile per reply.

#include <memory>

#include "progress_pipe.h"
#include "win32_handles.h"

namespace maglorin {

class ProgressPipeTransport final : public PipeTransport {
public:
    // nullptr when the pipe cannot be opened.
    static std::unique_ptr<ProgressPipeTransport> Connect(PathTextView callbackId);

    [[nodiscard]] bool Send(PathTextView message) override;
    [[nodiscard]] bool Receive(PathText& reply) override;

private:
    explicit ProgressPipeTransport(FileHandle pipe) : pipe_(std::move(pipe)) {}
    FileHandle pipe_;
};

// What a ProgressPipe calls to let the worker start: SetEvent on the handed event.
void SignalStartEvent(void* event);

}  // namespace maglorin
