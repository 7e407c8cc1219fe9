// The language libraries' texts against setup's own list: the same names under the same ids, the
// same "%s" arguments, and every text translated.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "setup_string_ids.h"
#include "strings_1031.h"
#include "strings_1036.h"

namespace maglorin {
namespace {

struct Text {
    unsigned id;
    std::string name;
    std::string text;
};

#define MAGLORIN_TEST_TEXT(name, id, text) {id, #name, text},
const Text kGerman[] = {MAGLORIN_SETUP_STRINGS_1031(MAGLORIN_TEST_TEXT)};
const Text kFrench[] = {MAGLORIN_SETUP_STRINGS_1036(MAGLORIN_TEST_TEXT)};
const Text kBase[] = {MAGLORIN_SETUP_STRINGS(MAGLORIN_TEST_TEXT)};
#undef MAGLORIN_TEST_TEXT

int CountArguments(const std::string& text) {
    int count = 0;
    for (std::size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s", at + 2)) ++count;
    return count;
}

template <std::size_t N>
void ExpectTranslationOf(const Text (&translation)[N], const char* language) {
    std::map<unsigned, const Text*> byId;
    for (const Text& text : translation) {
        EXPECT_TRUE(byId.emplace(text.id, &text).second) << language << ": id " << text.id << " twice";
    }
    EXPECT_EQ(byId.size(), std::size(kBase)) << language;
    int unchanged = 0;
    for (const Text& base : kBase) {
        const auto found = byId.find(base.id);
        if (found == byId.end()) {
            ADD_FAILURE() << language << ": no text for " << base.name << " (" << base.id << ")";
            continue;
        }
        const Text& text = *found->second;
        EXPECT_EQ(text.name, base.name) << language << ": id " << base.id;
        EXPECT_EQ(CountArguments(text.text), CountArguments(base.text)) << language << ": " << base.name;
        EXPECT_EQ(text.text.find('%', 0) == std::string::npos, base.text.find('%') == std::string::npos) << base.name;
        EXPECT_FALSE(text.text.empty()) << language << ": " << base.name;
        if (text.text == base.text) ++unchanged;
    }
    // Words such as "Confirmation" and "Question" are the same in French; anything more is an
    // untranslated copy.
    EXPECT_LE(unchanged, 2) << language << ": texts left in English";
}

TEST(LanguageStrings, EveryLibraryTranslatesEveryTextUnderItsId) {
    ExpectTranslationOf(kGerman, "German");
    ExpectTranslationOf(kFrench, "French");
}

TEST(LanguageStrings, TitlesKeepTheProductArgument) {
    for (const Text& text : kGerman) {
        if (text.id == kStringSetupTitle) {
            EXPECT_EQ(text.text, "%s-Setup");
        }
    }
    for (const Text& text : kFrench) {
        if (text.id == kStringSetupTitle) {
            EXPECT_EQ(text.text, "Installation de %s");
        }
    }
}

}  // namespace
}  // namespace maglorin
