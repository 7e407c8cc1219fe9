#include "progress_pipe.h"

#include <limits>

namespace maglorin {

namespace {

[[nodiscard]] bool IsDigit(PathChar c) { return c >= u'0' && c <= u'9'; }

// A whole signed decimal number in 32 bits, or false.
[[nodiscard]] bool ParseDecimal(PathTextView piece, std::int32_t& value) {
    const bool negative = !piece.empty() && piece.front() == u'-';
    if (negative) {
        piece.remove_prefix(1);
    }
    if (piece.empty()) {
        return false;
    }
    std::int64_t magnitude = 0;
    for (PathChar c : piece) {
        if (!IsDigit(c)) {
            return false;
        }
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            return false;
        }
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    value = static_cast<std::int32_t>(signedValue);
    return true;
}

}  // namespace

PathText ProgressPipeName(PathTextView callbackId) {
    return PathFromAscii("\\\\.\\pipe\\ToServer") + PathText(callbackId);
}

PathText DecimalText(std::int32_t value) { return PathFromAscii(std::to_string(value)); }

std::pair<std::int32_t, std::int32_t> SplitForPipe(std::uint64_t value) {
    return {static_cast<std::int32_t>(static_cast<std::uint32_t>(value)),
            static_cast<std::int32_t>(static_cast<std::uint32_t>(value >> 32))};
}

std::vector<std::int32_t> ParseGroupIds(PathTextView value) {
    std::vector<std::int32_t> ids;
    for (std::size_t end = value.find(u';'); end != PathTextView::npos; end = value.find(u';')) {
        std::int32_t id = 0;
        if (ParseDecimal(value.substr(0, end), id)) {
            ids.push_back(id);
        }
        value.remove_prefix(end + 1);
    }
    return ids;
}

PathText OutFolderValue(PathTextView value) {
    PathText folder(value);
    if (!folder.empty() && folder.front() == u'"') {
        folder = folder.size() >= 2 ? folder.substr(1, folder.size() - 2) : PathText();
    }
    if (folder.empty() || folder.back() != u'\\') {
        folder += u'\\';
    }
    return folder;
}

bool ProgressPipe::Exchange(PathTextView message) {
    if (!connected_) {
        return false;
    }
    PathText reply;
    if (!transport_.Send(message) || !transport_.Receive(reply)) {
        connected_ = false;
        return false;
    }
    return reply == PathFromAscii("CLOSE");
}

bool ProgressPipe::ExchangeWide(std::uint64_t value) {
    const auto [low, high] = SplitForPipe(value);
    ExchangeNumber(low);
    return ExchangeNumber(high);
}

void ProgressPipe::OverallStart(std::uint64_t totalBytes) {
    ExchangeNumber(kPipeOverallStart);
    if (ExchangeWide(totalBytes)) {
        cancelled_ = true;
    }
}

void ProgressPipe::ReleaseStart() {
    if (signalStart_ && startEvent_ != nullptr) {
        signalStart_(startEvent_);
    }
}

void ProgressPipe::Finish() { Exchange(PathFromAscii("CLOSE")); }

void ProgressPipe::BeginItem(const PathChar* text, std::int32_t number) {
    runningTotal_ += lastDone_;
    lastDone_ = 0;
    ExchangeNumber(kPipeItemNumber);
    ExchangeNumber(number);
    ExchangeNumber(kPipeItemText);
    Exchange(text != nullptr ? PathTextView(text) : PathTextView());
}

bool ProgressPipe::SetCompleted(std::uint64_t bytesDone) {
    lastDone_ = bytesDone;
    ExchangeNumber(kPipeItemProgress);
    if (ExchangeWide(runningTotal_ + bytesDone)) {
        cancelled_ = true;
    }
    // The cancel takes effect at the next cancel query, as the caller asked it to.
    return false;
}

void ProgressPipe::ItemTotals(const PathChar* text, std::uint64_t bytes) {
    ExchangeNumber(kPipeItemTotals);
    Exchange(text != nullptr ? PathTextView(text) : PathTextView());
    if (ExchangeWide(bytes)) {
        cancelled_ = true;
    }
}

}  // namespace maglorin
