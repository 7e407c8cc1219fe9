#pragma once
// The terminal progress bar of decoder-extract, fed through the library's progress sink.

#include <cstdint>
#include <cstdio>

#include "extraction_context.h"

namespace maglorin::extract_tool {

class ProgressBar final : public ExtractProgressSink {
public:
    ProgressBar(std::FILE* out, bool enabled) : out_(out), enabled_(enabled) {}

    void SetTotal(std::uint64_t totalBytes) override;
    bool SetCompleted(std::uint64_t bytesDone) override;
    bool IsCancelled() override { return false; }

    // Ends the bar's line, if one was drawn.
    void Close();

    // Bytes done over all folders: the library counts from 0 again in each folder.
    std::uint64_t Overall() const { return base_ + lastInFolder_; }

private:
    void Draw();

    std::FILE* out_;
    bool enabled_;
    std::uint64_t total_ = 0;
    std::uint64_t base_ = 0;          // bytes of the folders already done
    std::uint64_t lastInFolder_ = 0;  // last count reported for the current folder
    int drawnPercent_ = -1;
};

}  // namespace maglorin::extract_tool
