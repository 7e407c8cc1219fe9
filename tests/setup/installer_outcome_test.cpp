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
