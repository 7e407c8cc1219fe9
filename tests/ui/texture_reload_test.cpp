// When a changed picture file is read again: only after a change of the file itself, once it has
// rested, with bounded retries for a file caught half-written.
#include <gtest/gtest.h>

#include <vector>

#include "ui/texture_reload.h"

namespace maglorin {
namespace {

const FileStamp kShown{true, 1000, 50};
const FileStamp kNew{true, 2000, 60};

// Drives the plan the way the window does on each tick: a due check reads the stamp, a read
// decodes with the given outcome. Returns the number of decodes in [fromMs, toMs] (1 ms ticks).
struct Window {
    TextureReloadPlan plan;
    FileStamp file = kShown;
    std::vector<bool> outcomes;  // outcome of each decode in turn; true once the list is used up
    int decodes = 0;

    void Tick(std::uint64_t nowMs) {
        if (!plan.CheckDue(nowMs)) return;
        if (!plan.ReadNow(file, nowMs)) return;
        const bool ok = static_cast<std::size_t>(decodes) < outcomes.size() ? outcomes[static_cast<std::size_t>(decodes)] : true;
        ++decodes;
        plan.Decoded(file, ok, nowMs);
    }
    int Run(std::uint64_t fromMs, std::uint64_t toMs) {
        const int before = decodes;
        for (std::uint64_t t = fromMs; t <= toMs; ++t) Tick(t);
        return decodes - before;
    }
};

TEST(TextureReloadPlan, NothingIsReadWithoutAChangeOfTheFileItself) {
    Window w;
    w.plan.Start(kShown);
    EXPECT_EQ(w.Run(0, 5000), 0);
    // Another file of the folder changed: the watched one has the stamp shown.
    w.plan.FolderChanged(kShown, 100);
    EXPECT_EQ(w.Run(100, 5000), 0);
    // Not followed at all: changes are ignored.
    TextureReloadPlan idle;
    idle.FolderChanged(kNew, 0);
    EXPECT_FALSE(idle.CheckDue(10000));
}

TEST(TextureReloadPlan, AChangeIsReadOnceAfterItRests) {
    Window w;
    w.plan.Start(kShown);
    w.file = kNew;
    w.plan.FolderChanged(kNew, 1000);
    EXPECT_EQ(w.Run(1000, 1000 + kReloadSettleMs - 1), 0) << "not before the rest period";
    EXPECT_EQ(w.Run(1000 + kReloadSettleMs, 1000 + kReloadSettleMs), 1);
    EXPECT_EQ(w.Run(1000 + kReloadSettleMs + 1, 9000), 0) << "read once";
    // Further notices about the version shown change nothing.
    w.plan.FolderChanged(kNew, 9000);
    EXPECT_EQ(w.Run(9000, 12000), 0);
}

TEST(TextureReloadPlan, AFileStillBeingWrittenWaitsUntilItsStampRests) {
    Window w;
    w.plan.Start(kShown);
    w.file = FileStamp{true, 0, 55};  // truncated by the editor
    w.plan.FolderChanged(w.file, 0);
    // The editor goes on writing at 100 ms and 200 ms; every look finds a new stamp.
    w.Run(0, 99);
    w.file = FileStamp{true, 500, 56};
    w.Run(100, 199);
    w.file = kNew;
    EXPECT_EQ(w.Run(200, 200 + 2 * kReloadSettleMs), 1);
    EXPECT_EQ(w.decodes, 1) << "only the finished file is decoded";
    // Notices of other files while a change rests do not put it off.
    Window v;
    v.plan.Start(kShown);
    v.file = kNew;
    v.plan.FolderChanged(kNew, 0);
    v.plan.FolderChanged(kNew, kReloadSettleMs - 1);
    EXPECT_TRUE(v.plan.CheckDue(kReloadSettleMs));
}

TEST(TextureReloadPlan, AFailedReadIsRetriedWithGrowingPausesThenWaitsForTheNextChange) {
    Window w;
    w.plan.Start(kShown);
    w.outcomes = std::vector<bool>(20, false);
    const FileStamp garbage{true, 17, 70};
    w.file = garbage;
    w.plan.FolderChanged(garbage, 0);
    EXPECT_EQ(w.Run(0, 100000), 1 + kReloadMaxRetries) << "bounded";
    // The first read, then retries after 250, 500, 1000 and 2000 ms.
    Window timed;
    timed.plan.Start(kShown);
    timed.outcomes = std::vector<bool>(20, false);
    timed.file = garbage;
    timed.plan.FolderChanged(garbage, 0);
    std::uint64_t at = kReloadSettleMs;
    EXPECT_EQ(timed.Run(0, at), 1);
    for (int retry = 0; retry < kReloadMaxRetries; ++retry) {
        const std::uint64_t next = at + (kReloadFirstRetryMs << retry);
        EXPECT_EQ(timed.Run(at + 1, next - 1), 0) << "retry " << retry;
        EXPECT_EQ(timed.Run(next, next), 1) << "retry " << retry;
        at = next;
    }
    // Notices of other files do not bring the unreadable version back.
    w.plan.FolderChanged(garbage, 200000);
    EXPECT_EQ(w.Run(200000, 300000), 0);
    // A good write is read.
    w.outcomes.clear();
    w.decodes = 0;
    w.file = kNew;
    w.plan.FolderChanged(kNew, 300000);
    EXPECT_EQ(w.Run(300000, 400000), 1);
    EXPECT_EQ(w.plan.Retries(), 0);
}

TEST(TextureReloadPlan, AFailedReadThatSucceedsOnRetryStopsRetrying) {
    Window w;
    w.plan.Start(kShown);
    w.outcomes = {false, true};  // held by its writer the first time
    w.file = kNew;
    w.plan.FolderChanged(kNew, 0);
    EXPECT_EQ(w.Run(0, 100000), 2);
    w.plan.FolderChanged(kNew, 100000);
    EXPECT_EQ(w.Run(100000, 200000), 0) << "the retried version is the one shown now";
}

TEST(TextureReloadPlan, AMissingEmptyFileOrOneBackToTheVersionShownIsNotRead) {
    Window w;
    w.plan.Start(kShown);
    w.file = FileStamp{};  // deleted before a save renames the new file into place
    w.plan.FolderChanged(w.file, 0);
    EXPECT_EQ(w.Run(0, 5000), 0);
    w.file = FileStamp{true, 0, 80};  // truncated, the writer not yet back
    w.plan.FolderChanged(w.file, 5000);
    EXPECT_EQ(w.Run(5000, 6000), 0);
    w.file = kNew;
    w.plan.FolderChanged(kNew, 6000);
    EXPECT_EQ(w.Run(6000, 10000), 1);
    // Changed and changed back before it rested.
    w.plan.FolderChanged(FileStamp{true, 9, 99}, 10000);
    w.file = kNew;
    EXPECT_EQ(w.Run(10000, 20000), 0);
}

TEST(TextureReloadPlan, StopAndAnotherFileEndTheFollowUpOfTheOldOne) {
    Window w;
    w.plan.Start(kShown);
    w.file = kNew;
    w.plan.FolderChanged(kNew, 0);
    w.plan.Stop();
    EXPECT_FALSE(w.plan.Active());
    EXPECT_EQ(w.Run(0, 5000), 0);
    // Started on another file: its own stamp is the one shown, the pending change is gone.
    w.plan.FolderChanged(kNew, 5000);
    w.plan.Start(kNew);
    EXPECT_EQ(w.Run(5000, 10000), 0);
    w.file = kShown;
    w.plan.FolderChanged(kShown, 10000);
    EXPECT_EQ(w.Run(10000, 20000), 1);
}

}  // namespace
}  // namespace maglorin
