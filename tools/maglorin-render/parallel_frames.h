#pragma once
// Work items 0..count-1 (turntable frames, contact sheet cells) shared out to worker threads.
// Each item is independent; the first failure stops the handing out of further items.

#include <functional>
#include <optional>
#include <string>

namespace maglorin::render_tool {

// One item: true when done, false with the reason in `error`.
using FrameWork = std::function<bool(int index, std::string& error)>;
// Called after each finished item with the number finished so far, one call at a time.
using FrameProgress = std::function<void(int done, int count)>;

// Worker threads to use: `requested` when given, else one per core (at least 1); never more
// than `count`.
int WorkerCount(std::optional<int> requested, int count);

// Runs every item on `workers` threads (the calling thread is one of them). True when all
// succeeded; otherwise false with the error of the lowest failed index in `error` (items after
// a failure may not have run).
[[nodiscard]] bool RunFrameWork(int count, int workers, const FrameWork& work, const FrameProgress& progress,
                                std::string& error);

}  // namespace maglorin::render_tool
