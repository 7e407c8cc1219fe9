#pragma once
// The progress object extraction reports to while setup's status window is shown: a bar that
// follows the unpacked bytes and a Cancel button that stops the extraction (result 14). The
// library calls it on the worker thread; the main thread keeps the window alive meanwhile.

#include <atomic>
#include <cstdint>

#include "extraction_context.h"
#include "status_window_win32.h"

namespace maglorin {

class ExtractionProgress final : public ExtractProgressSink {
public:
    explicit ExtractionProgress(StatusWindow& window) : window_(window) {}

    void OverallStart(std::uint64_t totalBytes) override;
    void Unused1() override {}
    void ReleaseStart() override;
    // On the thread that asked for the extraction: the window goes with the work done.
    void Finish() override { window_.Hide(); }
    void AttachStartSignal(void* startEvent) override { startEvent_ = startEvent; }
    void BeginItem(const PathChar*, std::int32_t) override {}
    void Unused2() override {}
    void SetTotal(std::uint64_t totalBytes) override { total_.store(totalBytes); }
    bool SetCompleted(std::uint64_t bytesDone) override;
    bool IsCancelled() override { return window_.CancelRequested(); }
    void ItemTotals(const PathChar*, std::uint64_t) override {}

    // Parts per thousand of `done` in `total`, never beyond 1000 (an empty total counts as done).
    static int Permille(std::uint64_t done, std::uint64_t total);

private:
    StatusWindow& window_;
    void* startEvent_ = nullptr;  // owned by the extractor
    std::atomic<std::uint64_t> total_{0};
};

}  // namespace maglorin
