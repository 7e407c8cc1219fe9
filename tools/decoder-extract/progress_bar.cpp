#include "progress_bar.h"

namespace maglorin::extract_tool {

void ProgressBar::SetTotal(std::uint64_t totalBytes) {
    total_ = totalBytes;
    Draw();
}

bool ProgressBar::SetCompleted(std::uint64_t bytesDone) {
    if (bytesDone < lastInFolder_) {
        base_ += lastInFolder_;  // a new folder started
    }
    lastInFolder_ = bytesDone;
    if (base_ + lastInFolder_ > total_) {
        // The closing report carries the total itself.
        base_ = 0;
        lastInFolder_ = total_;
    }
    Draw();
    return false;
}

void ProgressBar::Draw() {
    if (!enabled_ || total_ == 0) {
        return;
    }
    const int percent = static_cast<int>(Overall() * 100 / total_);
    if (percent == drawnPercent_) {
        return;
    }
    drawnPercent_ = percent;
    constexpr int kWidth = 40;
    char bar[kWidth + 1];
    for (int i = 0; i < kWidth; ++i) {
        bar[i] = i < percent * kWidth / 100 ? '#' : '.';
    }
    bar[kWidth] = '\0';
    std::fprintf(out_, "\r[%s] %3d%%  %.1f of %.1f MB", bar, percent, Overall() / 1e6, total_ / 1e6);
    std::fflush(out_);
}

void ProgressBar::Close() {
    if (enabled_ && drawnPercent_ >= 0) {
        std::fputc('\n', out_);
    }
}

}  // namespace maglorin::extract_tool
