// The entry point of every GoogleTest program. A run in which nothing failed but some cases
// were skipped (a drive that could not be mounted, a missing tool) ends with kSkippedExitCode,
// which CTest reports as a skipped test rather than a pass; failures still end as failures.
#include <gtest/gtest.h>

namespace {
// kMaglorinSkippedExitCode in cmake/Testing.cmake, the tests' SKIP_RETURN_CODE.
constexpr int kSkippedExitCode = 77;
}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (result == 0 && ::testing::UnitTest::GetInstance()->skipped_test_count() > 0) {
        return kSkippedExitCode;
    }
    return result;
}
