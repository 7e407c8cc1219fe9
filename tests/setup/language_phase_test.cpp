// The language step as built today: setup speaks its built-in base language, and "/exelang"
// naming one of its built-in languages fixes the choice; anything else leaves it open.

#include <gtest/gtest.h>

#include "language_phase_win32.h"

namespace maglorin {
namespace {

TEST(LanguagePhase, ExelangFixesOnlyAnAvailableBuiltInLanguage) {
    struct Case {
        std::optional<std::u16string> requested;
        bool notFixed;
    };
    const Case cases[] = {
        {std::nullopt, true},
        {u"1033", false},
        {u"1033x", false},       // leading digits count
        {u"1031", true},         // not built in: ignored
        {u"english", true},
        {u"", true},
        {u"99999999", true},     // no 16-bit id
    };
    for (const Case& c : cases) {
        LanguagePhaseRequest request;
        request.requestedLanguage = c.requested;
        request.builtInLanguages = {1033};
        const LanguagePhaseResult result = ChooseLanguage(request);
        EXPECT_EQ(result.notFixed, c.notFixed) << (c.requested ? std::string(c.requested->begin(), c.requested->end()) : "none");
        EXPECT_FALSE(result.cancelled);
        EXPECT_EQ(result.languageId, 0) << "the built-in language is in use";
        EXPECT_EQ(result.textSource, nullptr);
    }
}

}  // namespace
}  // namespace maglorin
