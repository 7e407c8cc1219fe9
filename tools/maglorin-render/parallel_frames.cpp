#include "parallel_frames.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace maglorin::render_tool {

namespace {

// What the workers share: the next item to hand out and the outcome so far.
class WorkQueue {
public:
    WorkQueue(int count, const FrameWork& work, const FrameProgress& progress)
        : count_(count), work_(work), progress_(progress) {}

    // Takes items until none are left or one has failed.
    void Drain() {
        for (;;) {
            const int index = next_.fetch_add(1);
            if (index >= count_ || failed_.load()) return;
            std::string error;
            bool ok = false;
            try {
                ok = work_(index, error);
            } catch (const std::exception& e) {
                error = e.what();
            }
            std::lock_guard<std::mutex> lock(mutex_);
            if (!ok) {
                if (failedIndex_ < 0 || index < failedIndex_) {
                    failedIndex_ = index;
                    error_ = error.empty() ? "item " + std::to_string(index) + " failed" : error;
                }
                failed_.store(true);
                continue;
            }
            ++done_;
            if (progress_) progress_(done_, count_);
        }
    }

    bool Failed(std::string& error) const {
        if (!failed_.load()) return false;
        error = error_;
        return true;
    }

private:
    const int count_;
    const FrameWork& work_;
    const FrameProgress& progress_;
    std::atomic<int> next_{0};
    std::atomic<bool> failed_{false};
    std::mutex mutex_;  // guards the fields below and the progress calls
    int done_ = 0;
    int failedIndex_ = -1;
    std::string error_;
};

}  // namespace

int WorkerCount(std::optional<int> requested, int count) {
    int workers = requested ? *requested : static_cast<int>(std::thread::hardware_concurrency());
    workers = std::max(workers, 1);
    return std::max(1, std::min(workers, count));
}

bool RunFrameWork(int count, int workers, const FrameWork& work, const FrameProgress& progress, std::string& error) {
    WorkQueue queue(count, work, progress);
    std::vector<std::thread> threads;
    for (int i = 1; i < workers; ++i) {
        try {
            threads.emplace_back([&queue] { queue.Drain(); });
        } catch (const std::system_error&) {
            break;  // fewer threads than asked for: the ones running take the remaining items
        }
    }
    queue.Drain();
    for (std::thread& thread : threads) thread.join();
    return !queue.Failed(error);
}

}  // namespace maglorin::render_tool
