#include "installer_outcome.h"

#include <gtest/gtest.h>

namespace maglorin {
namespace {

struct OutcomeCase {
    const char* behaviour;
    InstallerRun run;
    std::int32_t exitCode;
    std::int32_t result;
    std::optional<CleanupMode> mode;
};

class InstallerExit : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(InstallerExit, GivesExitCodeResultAndCleanupMode) {
    const OutcomeCase& c = GetParam();
    const InstallerOutcome outcome = DecideInstallerOutcome(c.run);
    EXPECT_EQ(outcome.exitCode, c.exitCode) << c.behaviour;
    EXPECT_EQ(outcome.result, c.result) << c.behaviour;
    EXPECT_EQ(outcome.cleanupMode, c.mode) << c.behaviour;
}

// run: started, exit code, installed before, still installed after.
INSTANTIATE_TEST_SUITE_P(
    Cases, InstallerExit,
    ::testing::Values(
        OutcomeCase{"start failed: error, result 7, main package deleted", {false, 0, false, false}, 1, 7,
                    CleanupMode::DeleteMain},
        OutcomeCase{"start failed over an installed copy keeps the files", {false, 0, true, true}, 1, 7, std::nullopt},
        OutcomeCase{"success leaves the mode alone", {true, 0, false, true}, 0, 0, std::nullopt},
        OutcomeCase{"restart required passes through", {true, 3010, false, true}, 3010, 0, std::nullopt},
        OutcomeCase{"restart started passes through", {true, 1641, false, true}, 1641, 0, std::nullopt},
        OutcomeCase{"the same package removed by this run resets the mode", {true, 0, true, false}, 0, 0,
                    CleanupMode::Default},
        OutcomeCase{"removal with restart required also resets it", {true, 3010, true, false}, 3010, 0,
                    CleanupMode::Default},
        OutcomeCase{"maintenance of an installed copy keeps the mode", {true, 0, true, true}, 0, 0, std::nullopt},
        OutcomeCase{"a failure deletes the main package", {true, 1603, false, false}, 1603, 0, CleanupMode::DeleteMain},
        OutcomeCase{"a failure over an installed copy keeps it", {true, 1603, true, true}, 1603, 0, std::nullopt},
        OutcomeCase{"a cancel becomes -1 and deletes the main package", {true, 1602, false, false}, -1, 0,
                    CleanupMode::DeleteMain},
        OutcomeCase{"a cancel over an installed copy is -1 too", {true, 1602, true, true}, -1, 0, std::nullopt},
        OutcomeCase{"a full 32-bit code is kept, not cut to 8 bits", {true, 0xC0000005u, false, false},
                    static_cast<std::int32_t>(0xC0000005u), 0, CleanupMode::DeleteMain}));

}  // namespace
}  // namespace maglorin

namespace maglorin {
namespace {

TEST(ExtractionFailure, CancelIsMinusOneEveryOtherResultAnError) {
    const InstallerOutcome cancelled = ExtractionFailureOutcome(14, false);
    EXPECT_EQ(cancelled.exitCode, -1);
    EXPECT_EQ(cancelled.result, 14);
    const InstallerOutcome failed = ExtractionFailureOutcome(13, false);
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.result, 13);
    const InstallerOutcome declined = ExtractionFailureOutcome(10, false);
    EXPECT_EQ(declined.exitCode, 1);
}

TEST(ExtractionFailure, ResetsTheCleanupUnlessThePackageIsInstalled) {
    EXPECT_EQ(ExtractionFailureOutcome(13, false).cleanupMode, CleanupMode::Default);
    EXPECT_FALSE(ExtractionFailureOutcome(13, true).cleanupMode);
}

struct ProgressCase {
    const char* behaviour;
    PackageFlags flags;
    bool quiet;
    bool shown;
};

class ExtractionProgressWindow : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(ExtractionProgressWindow, ShownWhenSomethingIsExtractedVisibly) {
    EXPECT_EQ(ShowsExtractionProgress(GetParam().flags, GetParam().quiet), GetParam().shown) << GetParam().behaviour;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtractionProgressWindow,
    ::testing::Values(
        ProgressCase{"a payload database", PackageFlags::None, false, true},
        ProgressCase{"a quiet run shows nothing", PackageFlags::DatabaseInArchive, true, false},
        ProgressCase{"a plain database beside setup needs no extraction", PackageFlags::FilesBesideSetup, false, false},
        ProgressCase{"compressed files beside setup are unpacked",
                     PackageFlags::FilesBesideSetup | PackageFlags::BesideFilesCompressed, false, true},
        ProgressCase{"a database archive beside setup is unpacked",
                     PackageFlags::FilesBesideSetup | PackageFlags::DatabaseInArchive, false, true}));

}  // namespace
}  // namespace maglorin
