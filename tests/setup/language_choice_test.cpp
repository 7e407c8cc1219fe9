// The default language over the preference slots, and language ids read from text.

#include <gtest/gtest.h>

#include "language_choice.h"

namespace maglorin {
namespace {

struct ChoiceCase {
    const char* name;
    std::vector<std::uint16_t> candidates;
    SystemLanguageIds system;  // S, U, SU, UU
    std::uint16_t withoutUserFirst;
    std::uint16_t withUserFirst;
};

TEST(DefaultLanguageChoice, FollowsTheSlotOrderInBothModes) {
    const ChoiceCase cases[] = {
        // Swiss German system and user, German interface languages.
        {"interface German, defaults Swiss", {1033, 1031, 2055}, {2055, 2055, 1031, 1031}, 1031, 2055},
        {"no candidates", {}, {1031, 1031, 1031, 1031}, 0, 0},
        {"nothing matches: the first candidate", {1036, 1040}, {1031, 1031, 1031, 1031}, 1036, 1036},
        // Exact matches: S beats UU and U without the user first; U beats everything with it.
        {"exact S over exact UU", {1036, 1031}, {1036, 1040, 1033, 1031}, 1036, 1031},
        {"exact U over primary SU", {1040, 2055}, {1033, 1040, 1031, 1033}, 1040, 1040},
        {"exact UU before exact U", {1040, 1036}, {1033, 1040, 1033, 1036}, 1036, 1040},
        // Primary-language matches only: slot order of the ids decides.
        {"primary of SU before primary of S", {3084, 2055}, {1036, 1036, 1031, 1033}, 2055, 3084},
        {"primary of UU only", {1033, 3082}, {1031, 1031, 1031, 1034}, 3082, 3082},
        // System ids of 0 (not reported) never match a candidate.
        {"zero ids match nothing", {0x0400, 1036}, {0, 0, 0, 0}, 0x0400, 0x0400},
        {"zero interface ids are skipped", {1036, 1031}, {1031, 1031, 0, 0}, 1031, 1031},
    };
    for (const ChoiceCase& c : cases) {
        EXPECT_EQ(DefaultLanguageChoice(c.candidates, c.system, false), c.withoutUserFirst) << c.name;
        EXPECT_EQ(DefaultLanguageChoice(c.candidates, c.system, true), c.withUserFirst) << c.name << " (user first)";
    }
}

TEST(DefaultLanguageChoice, ALaterCandidateTakesTheSameSlot) {
    // Two candidates share the primary language of SU and nothing matches exactly.
    const SystemLanguageIds system{1033, 1033, 1031, 1033};
    EXPECT_EQ(DefaultLanguageChoice({2055, 1036, 3079}, system, false), 3079);
    EXPECT_EQ(DefaultLanguageChoice({3079, 1036, 2055}, system, false), 2055);
    // An exact match in an earlier slot still wins over the later tie.
    EXPECT_EQ(DefaultLanguageChoice({1031, 2055, 3079}, system, false), 1031);
    // Equal candidates: the later position is taken, the id is the same.
    EXPECT_EQ(DefaultLanguageChoice({1036, 1031, 1031}, system, false), 1031);
}

TEST(LeadingLanguageId, ReadsLeadingDigitsOfASixteenBitId) {
    struct Case {
        std::u16string_view text;
        std::optional<std::uint16_t> id;
    };
    const Case cases[] = {
        {u"1031", 1031},   {u"1036x", 1036}, {u"65535", 65535}, {u"0", 0},
        {u"65536", std::nullopt}, {u"99999999999", std::nullopt}, {u"", std::nullopt},
        {u"x1031", std::nullopt}, {u" 1031", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LeadingLanguageId(c.text), c.id) << std::string(c.text.begin(), c.text.end());
    }
}

}  // namespace
}  // namespace maglorin
