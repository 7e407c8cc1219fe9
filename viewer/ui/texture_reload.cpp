#include "ui/texture_reload.h"

namespace maglorin {

void TextureReloadPlan::Start(const FileStamp& shown) {
    active_ = true;
    shown_ = shown;
    pending_ = false;
    retries_ = 0;
    abandoned_ = false;
}

void TextureReloadPlan::Stop() {
    active_ = false;
    pending_ = false;
    retries_ = 0;
}

void TextureReloadPlan::Pend(const FileStamp& stamp, std::uint64_t dueMs) {
    pending_ = true;
    pendingStamp_ = stamp;
    dueMs_ = dueMs;
}

void TextureReloadPlan::FolderChanged(const FileStamp& stamp, std::uint64_t nowMs) {
    if (!active_) return;
    if (pending_ && stamp == pendingStamp_) return;  // another file of the folder: the wait goes on
    if (!pending_ && stamp == shown_) return;        // the picture shown is this version already
    if (abandoned_ && stamp == abandonedStamp_) return;  // known unreadable: only a new version counts
    retries_ = 0;
    Pend(stamp, nowMs + kReloadSettleMs);
}

bool TextureReloadPlan::CheckDue(std::uint64_t nowMs) const { return active_ && pending_ && nowMs >= dueMs_; }

bool TextureReloadPlan::ReadNow(const FileStamp& stamp, std::uint64_t nowMs) {
    if (!CheckDue(nowMs)) return false;
    if (stamp != pendingStamp_) {
        // Still being written: wait until it rests.
        retries_ = 0;
        Pend(stamp, nowMs + kReloadSettleMs);
        return false;
    }
    if (!stamp.present || stamp.size == 0 || stamp == shown_) {
        // Gone or emptied (a save that replaces or truncates the file brings it back with a
        // change of its own), or back to the version shown.
        pending_ = false;
        retries_ = 0;
        return false;
    }
    return true;
}

void TextureReloadPlan::Decoded(const FileStamp& stamp, bool ok, std::uint64_t nowMs) {
    if (!active_) return;
    if (ok) {
        shown_ = stamp;
        pending_ = false;
        retries_ = 0;
        abandoned_ = false;
        return;
    }
    if (retries_ >= kReloadMaxRetries) {
        // This version cannot be read: the next change of the file is awaited.
        pending_ = false;
        retries_ = 0;
        abandoned_ = true;
        abandonedStamp_ = stamp;
        return;
    }
    const std::uint64_t pause = kReloadFirstRetryMs << retries_;
    ++retries_;
    Pend(stamp, nowMs + pause);
}

}  // namespace maglorin
