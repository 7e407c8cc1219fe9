#pragma once
// ProgressPipe: the progress object of a group extraction started by another program
// ("/groupsextract:" with "/callbackid:"). It reports to that program over a named pipe and
// takes a "CLOSE" reply as the user's cancel. The protocol is portable; the pipe itself is a
// PipeTransport (win32/progress_pipe_transport_win32.h in setup, a recorder in tests).
//
// Every message is UTF-16 text without terminator, written in one write; after each one a
// reply is read. A message is one part of a command: the command number, then its arguments,
// each sent as signed decimal text (64-bit values as two numbers, low part first).

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "extraction_context.h"
#include "extraction_paths.h"

namespace maglorin {

inline constexpr std::int32_t kPipeOverallStart = 0x0B000000;
inline constexpr std::int32_t kPipeItemNumber = 0x08000000;
inline constexpr std::int32_t kPipeItemText = 0x09000000;
inline constexpr std::int32_t kPipeItemProgress = 0x0A000000;
inline constexpr std::int32_t kPipeItemTotals = 0x07000000;
inline constexpr std::size_t kPipeReplyBytes = 32656;  // the longest reply read

class PipeTransport {
public:
    virtual ~PipeTransport() = default;
    [[nodiscard]] virtual bool Send(PathTextView message) = 0;   // one write
    [[nodiscard]] virtual bool Receive(PathText& reply) = 0;     // one read of at most kPipeReplyBytes
};

// "\\.\pipe\ToServer" followed by the callback id.
PathText ProgressPipeName(PathTextView callbackId);

PathText DecimalText(std::int32_t value);

// The two signed 32-bit numbers a 64-bit value is sent as, low part first.
std::pair<std::int32_t, std::int32_t> SplitForPipe(std::uint64_t value);

// "/groupsextract:" value: cut at every ';'; each piece before a ';' is a decimal id, with a
// leading '-' for a negative one; text after the last ';' is not used. A piece that is not a
// whole decimal number in 32 bits is left out rather than read as group 0.
std::vector<std::int32_t> ParseGroupIds(PathTextView value);

// "/out:" value: without its first and last characters when it still begins with a double
// quote, ending in '\'.
PathText OutFolderValue(PathTextView value);

class ProgressPipe final : public ExtractProgressSink {
public:
    // signalStart sets the event handed to AttachStartSignal (the pipe has no window to wait
    // for, so the worker may start as soon as the total is sent). Both must outlive the object.
    ProgressPipe(PipeTransport& transport, std::function<void(void*)> signalStart)
        : transport_(transport), signalStart_(std::move(signalStart)) {}

    void OverallStart(std::uint64_t totalBytes) override;
    void ReleaseStart() override;
    void Finish() override;
    void AttachStartSignal(void* startEvent) override { startEvent_ = startEvent; }
    void BeginItem(const PathChar* text, std::int32_t number) override;
    void SetTotal(std::uint64_t) override {}
    [[nodiscard]] bool SetCompleted(std::uint64_t bytesDone) override;
    [[nodiscard]] bool IsCancelled() override { return cancelled_; }
    void ItemTotals(const PathChar* text, std::uint64_t bytes) override;

    // False once a write or read failed: the caller is gone and nothing more is sent.
    [[nodiscard]] bool Connected() const { return connected_; }

private:
    // One message and its reply; true when the reply is "CLOSE" (which only some messages heed,
    // so the answer may be left unread; a failure shows in Connected()).
    bool Exchange(PathTextView message);
    bool ExchangeNumber(std::int32_t value) { return Exchange(DecimalText(value)); }
    // The two halves; the reply to the high part decides.
    bool ExchangeWide(std::uint64_t value);

    PipeTransport& transport_;
    std::function<void(void*)> signalStart_;
    void* startEvent_ = nullptr;
    std::atomic<bool> cancelled_{false};
    bool connected_ = true;
    std::uint64_t runningTotal_ = 0;  // bytes of the items before the current one
    std::uint64_t lastDone_ = 0;      // the last count reported for the current item
};

}  // namespace maglorin
