// A program for skip_report_test only (never run on its own): one case that skips, one that
// passes and one that fails, chosen with --gtest_filter.
#include <gtest/gtest.h>

TEST(SkipProbe, Skips) { GTEST_SKIP() << "skipped on purpose"; }

TEST(SkipProbe, Passes) { EXPECT_EQ(1 + 1, 2); }

TEST(SkipProbe, Fails) { ADD_FAILURE() << "failed on purpose"; }
