#include <gtest/gtest.h>

#include <set>
#include <string>

#include "extraction_result.h"
#include "result_messages.h"
#include "setup_string_ids.h"

namespace maglorin {
namespace {

TEST(StringTable, EveryIdIsUniqueAndHasAText) {
    std::set<unsigned> seen;
    for (const SetupStringText& entry : kSetupStrings) {
        EXPECT_TRUE(seen.insert(entry.id).second) << "duplicate id " << entry.id;
        ASSERT_NE(entry.text, nullptr);
        EXPECT_NE(std::u16string(entry.text), u"") << "id " << entry.id;
        EXPECT_LT(entry.id, 65536u);
    }
}

TEST(StringTable, HelpTextTakesTheProgramNameOnce) {
    const std::u16string help = kSetupStrings[1].text;
    ASSERT_EQ(kSetupStrings[1].id, kStringHelpText);
    EXPECT_EQ(help.find(u"%s"), help.rfind(u"%s"));
    EXPECT_EQ(help.rfind(u"<msiOptions> - options for msiexec.exe on running the MSI package"),
              help.size() - std::u16string(u"<msiOptions> - options for msiexec.exe on running the MSI package").size());
}

TEST(ResultMessages, MapEveryResultToItsMessageAndExitCode) {
    struct Case {
        int result;
        std::optional<SetupStringId> message;
        int exitCode;
    };
    const Case cases[] = {
        {kResultSuccess, std::nullopt, 0},
        {kResultReadError, kStringReadError, 1},
        {kResultOutOfMemory, kStringExtractionError, 1},
        {kResultDamagedPackage, kStringCorruptedArchive, 1},
        {6, kStringUnsupportedVersion, 1},
        {7, kStringInstallerNotStarted, 1},
        {kResultNotEnoughSpace, std::nullopt, 1},
        {kResultLibraryMissing, kStringExtractionError, 1},
        {kResultExtractionFailed, kStringExtractionError, 1},
        {kResultCancelled, std::nullopt, -1},
        {kResultUnpackCancelled, kStringExtractionError, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResultMessage(c.result), c.message) << "result " << c.result;
        EXPECT_EQ(ExitCodeForResult(c.result), c.exitCode) << "result " << c.result;
    }
}

}  // namespace
}  // namespace maglorin
