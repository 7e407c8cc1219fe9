// The system's language ids as setup reads them, under the locale the test is started with
// (LC_ALL), and the default language they give over setup's three languages. The first argument
// is the language id the locale stands for.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "language_manager_win32.h"

namespace maglorin {
namespace {

std::uint16_t g_expected = 0;

TEST(SystemLanguages, DefaultChoiceFollowsTheLocale) {
    ASSERT_NE(g_expected, 0) << "the locale's language id is the first argument";
    const SystemLanguageIds ids = CurrentSystemLanguages();
    EXPECT_EQ(PrimaryLanguage(ids.userDefault), PrimaryLanguage(g_expected)) << ids.userDefault;
    const std::vector<std::uint16_t> available = {1033, 1031, 1036};
    EXPECT_EQ(DefaultLanguageChoice(available, ids, true), g_expected);
    EXPECT_EQ(DefaultLanguageChoice(available, ids, false), g_expected);
}

}  // namespace
}  // namespace maglorin

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) maglorin::g_expected = static_cast<std::uint16_t>(std::strtoul(argv[1], nullptr, 10));
    return RUN_ALL_TESTS();
}
