#include "extraction_progress_win32.h"

#include <windows.h>

namespace maglorin {

void ExtractionProgress::OverallStart(std::uint64_t totalBytes) {
    total_.store(totalBytes);
    window_.ShowProgress();
    window_.SetProgress(0);
}

void ExtractionProgress::ReleaseStart() {
    if (startEvent_ != nullptr) ::SetEvent(static_cast<HANDLE>(startEvent_));
}

bool ExtractionProgress::SetCompleted(std::uint64_t bytesDone) {
    window_.SetProgress(Permille(bytesDone, total_.load()));
    return window_.CancelRequested();
}

int ExtractionProgress::Permille(std::uint64_t done, std::uint64_t total) {
    if (total == 0 || done >= total) return 1000;
    // In floating point: done * 1000 could overflow 64 bits for the largest totals.
    return static_cast<int>(static_cast<double>(done) * 1000.0 / static_cast<double>(total));
}

}  // namespace maglorin
