// setup's progress object under Wine: the share of bytes done, the Cancel button of the status
// window stopping the extraction, the start signal and the window going when the work is done.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "extraction_progress_win32.h"
#include "status_window_win32.h"

namespace maglorin {
namespace {

TEST(ExtractionProgress, PermilleFollowsTheBytesAndNeverPassesTheEnd) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    struct Case {
        std::uint64_t done;
        std::uint64_t total;
        int permille;
    };
    const Case cases[] = {
        {0, 100, 0},         {50, 100, 500},       {999, 1000, 999},   {100, 100, 1000},
        {250, 100, 1000},    {5, 0, 1000},         {kMax / 2, kMax, 500}, {kMax, kMax, 1000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractionProgress::Permille(c.done, c.total), c.permille) << c.done << " of " << c.total;
    }
}

TEST(ExtractionProgress, CancelButtonStopsTheExtraction) {
    StatusWindow window;
    window.Show(L"Maglorin Setup", L"Extracting files...");
    ASSERT_NE(window.Window(), nullptr);
    ExtractionProgress progress(window);
    progress.OverallStart(1000);
    ASSERT_NE(window.CancelButton(), nullptr);
    EXPECT_FALSE(progress.SetCompleted(100));
    EXPECT_FALSE(progress.IsCancelled());

    ::SendMessageW(window.CancelButton(), BM_CLICK, 0, 0);
    EXPECT_TRUE(progress.IsCancelled());
    EXPECT_TRUE(progress.SetCompleted(200)) << "the library is told to stop";
    EXPECT_FALSE(::IsWindowEnabled(window.CancelButton())) << "one request is enough";
}

TEST(ExtractionProgress, ReleasesTheWorkerAndHidesTheWindowWhenDone) {
    StatusWindow window;
    window.Show(L"Maglorin Setup", L"Extracting files...");
    ExtractionProgress progress(window);
    const HANDLE start = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    progress.AttachStartSignal(start);
    progress.OverallStart(10);
    EXPECT_EQ(::WaitForSingleObject(start, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    progress.ReleaseStart();
    EXPECT_EQ(::WaitForSingleObject(start, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(::IsWindowVisible(window.Window()));
    progress.Finish();
    EXPECT_FALSE(::IsWindowVisible(window.Window()));
    ::CloseHandle(start);
}

}  // namespace
}  // namespace maglorin
