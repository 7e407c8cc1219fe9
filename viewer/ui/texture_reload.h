#pragma once
// When a picture shown on the model is read again after its file changed on disk. The window
// hears from the system that something in the file's folder changed; only then does it look at
// the file's size and write time, and it reads the file once those have rested for a moment (an
// editor writes in several steps). A read that fails (a file caught half-written, or still held
// by its writer) keeps the picture shown and is tried again a few times with growing pauses,
// then waits for the next change.

#include <cstdint>

namespace maglorin {

// One version of a file as the system describes it: there or not, its size and its last write
// time (in the system's units).
struct FileStamp {
    bool present = false;
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// A changed file is read once its stamp has stayed the same this long.
inline constexpr std::uint64_t kReloadSettleMs = 150;
// Pause before the first retry of a failed read; each further retry waits twice as long.
inline constexpr std::uint64_t kReloadFirstRetryMs = 250;
// Failed reads of one version of the file that are tried again before waiting for a change.
inline constexpr int kReloadMaxRetries = 4;

class TextureReloadPlan {
public:
    // Follows a newly opened file whose stamp was `shown` when its picture was read.
    void Start(const FileStamp& shown);
    void Stop();
    bool Active() const { return active_; }

    // The file's folder reported a change at `nowMs`; `stamp` is the file's stamp read after it.
    void FolderChanged(const FileStamp& stamp, std::uint64_t nowMs);
    // True when the file has to be looked at again now (a change has rested long enough or a
    // retry is due); the caller then reads its stamp and asks ReadNow.
    bool CheckDue(std::uint64_t nowMs) const;
    // With the file's stamp at a due check: true when the file is to be decoded now. A stamp
    // that moved since the change was noticed starts the rest period again.
    [[nodiscard]] bool ReadNow(const FileStamp& stamp, std::uint64_t nowMs);
    // The outcome of decoding the version with `stamp`.
    void Decoded(const FileStamp& stamp, bool ok, std::uint64_t nowMs);

    // Failed reads of the pending version so far (0 when none is pending).
    int Retries() const { return retries_; }

private:
    void Pend(const FileStamp& stamp, std::uint64_t dueMs);

    bool active_ = false;
    FileStamp shown_;
    bool pending_ = false;
    FileStamp pendingStamp_;
    std::uint64_t dueMs_ = 0;
    int retries_ = 0;
    bool abandoned_ = false;  // the version below failed every retry
    FileStamp abandonedStamp_;
};

}  // namespace maglorin
