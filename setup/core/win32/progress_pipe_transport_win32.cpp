#include "progress_pipe_transport_win32.h"

#include <vector>

namespace maglorin {

std::unique_ptr<ProgressPipeTransport> ProgressPipeTransport::Connect(PathTextView callbackId) {
    const PathText name = ProgressPipeName(callbackId);
    FileHandle pipe(::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!pipe) {
        return nullptr;
    }
    return std::unique_ptr<ProgressPipeTransport>(new ProgressPipeTransport(std::move(pipe)));
}

bool ProgressPipeTransport::Send(PathTextView message) {
    const DWORD bytes = static_cast<DWORD>(message.size() * sizeof(wchar_t));
    DWORD written = 0;
    return ::WriteFile(pipe_.Get(), message.data(), bytes, &written, nullptr) && written == bytes;
}

bool ProgressPipeTransport::Receive(PathText& reply) {
    std::vector<wchar_t> buffer(kPipeReplyBytes / sizeof(wchar_t));
    DWORD got = 0;
    // A reply longer than the buffer leaves ERROR_MORE_DATA; its first part is the reply.
    if (!::ReadFile(pipe_.Get(), buffer.data(), static_cast<DWORD>(buffer.size() * sizeof(wchar_t)), &got, nullptr) &&
        ::GetLastError() != ERROR_MORE_DATA) {
        return false;
    }
    reply.assign(buffer.data(), got / sizeof(wchar_t));
    return true;
}

void SignalStartEvent(void* event) { ::SetEvent(static_cast<HANDLE>(event)); }

}  // namespace maglorin
