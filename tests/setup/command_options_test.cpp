#include "command_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace maglorin {
namespace {

struct ScanCase {
    const char* name;
    std::u16string commandLine;
    std::vector<FoundOption> options;
    std::u16string tail;
};

void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.name; }

class CommandLineScan : public testing::TestWithParam<ScanCase> {};

TEST_P(CommandLineScan, FindsOptionsValuesAndTail) {
    const ScanCase& c = GetParam();
    const ParsedCommandLine parsed = ParseCommandLine(c.commandLine);
    ASSERT_EQ(parsed.options.size(), c.options.size());
    for (std::size_t i = 0; i < c.options.size(); ++i) {
        EXPECT_EQ(parsed.options[i].id, c.options[i].id) << "option " << i;
        EXPECT_EQ(parsed.options[i].value, c.options[i].value) << "option " << i;
    }
    EXPECT_EQ(parsed.tail, c.tail);
}

INSTANTIATE_TEST_SUITE_P(
    Options, CommandLineScan,
    testing::Values(
        ScanCase{"empty", u"", {}, u""},
        ScanCase{"no option: all is tail", u" /qn REBOOT=ReallySuppress", {}, u" /qn REBOOT=ReallySuppress"},
        ScanCase{"extract colon directly followed by folder", u"/extract:C:\\out", {{OptionId::Extract, u"C:\\out"}}, u""},
        ScanCase{"extract colon leaves no stray colon", u"/extract:\"C:\\my out\"", {{OptionId::Extract, u"C:\\my out"}}, u""},
        ScanCase{"extract blank quoted folder with blank", u"/extract \"C:\\my files\" /qn",
                 {{OptionId::Extract, u"C:\\my files"}}, u" /qn"},
        ScanCase{"extract without value", u"/extract", {{OptionId::Extract, u""}}, u""},
        ScanCase{"extract with empty quoted value", u"/extract:\"\" x", {{OptionId::Extract, u""}}, u" x"},
        ScanCase{"extractlzma is not extract", u"/extractlzma", {{OptionId::ExtractMainPackage, u""}}, u""},
        ScanCase{"deletelzma", u"  /deletelzma rest", {{OptionId::DeleteMainPackage, u""}}, u" rest"},
        ScanCase{"help stops before exenoui", u"/help /exenoui", {{OptionId::Help, u""}}, u" /exenoui"},
        ScanCase{"question mark", u"/exenoui /?", {{OptionId::Help, u""}}, u""},
        ScanCase{"exenoui behind msiexec options", u"/qb /exenoui /l*v log.txt",
                 {{OptionId::NoUi, u""}}, u" /l*v log.txt"},
        ScanCase{"tail follows the furthest option", u"/exelang 1031 /exenoui PROP=1",
                 {{OptionId::NoUi, u""}, {OptionId::Language, u"1031"}}, u" PROP=1"},
        ScanCase{"word value stops at blank", u"/exelang  1036 X=\"a b\"", {{OptionId::Language, u"1036"}}, u" X=\"a b\""},
        ScanCase{"unclosed quote runs to the end", u"/out:\"C:\\a b", {{OptionId::Out, u"C:\\a b"}}, u""},
        ScanCase{"groups extraction with its companions",
                 u"/groupsextract:\"100;101;\" /callbackid:77 /out:\"C:\\x y\"",
                 {{OptionId::GroupsExtract, u"100;101;"}, {OptionId::CallbackId, u"77"}, {OptionId::Out, u"C:\\x y"}}, u""},
        ScanCase{"proxy credentials", u"/username:bob /password:\"s e\" /qn",
                 {{OptionId::ProxyUserName, u"bob"}, {OptionId::ProxyPassword, u"s e"}}, u" /qn"},
        ScanCase{"log does not stop the scan", u"/exelog:\"C:\\l.txt\" /exebasicui /qb",
                 {{OptionId::BasicUi, u""}, {OptionId::Log, u"C:\\l.txt"}}, u" /qb"},
        ScanCase{"restarted copy keeps its interface options",
                 u"/OriginalPath:\"D:\\setup.exe\" /exenoui /exelang 1033 /qn",
                 {{OptionId::OriginalPath, u"D:\\setup.exe"}, {OptionId::NoUi, u""}, {OptionId::Language, u"1033"}}, u" /qn"},
        ScanCase{"options are case-sensitive", u"/EXENOUI /Help", {}, u"/EXENOUI /Help"},
        ScanCase{"listlangs stops the scan", u"/listlangs /username:x", {{OptionId::ListLanguages, u""}}, u" /username:x"}));

TEST(RunModeChoice, FirstPresentInPrecedenceWins) {
    struct Case {
        std::u16string line;
        RunMode mode;
    };
    const Case cases[] = {
        {u"", RunMode::Install},
        {u"/qn /exenoui", RunMode::Install},
        {u"/help /exenoui", RunMode::Help},
        {u"/exelang 1033 /listlangs", RunMode::ListLanguages},
        {u"/extract:C:\\x", RunMode::Extract},
        {u"/extract", RunMode::Extract},
        {u"/extractlzma", RunMode::ExtractMainPackage},
        {u"/deletelzma", RunMode::DeleteMainPackage},
        {u"/groupsextract:\"1;\" /out:C:\\o", RunMode::GroupsExtract},
        {u"/OriginalPath:\"D:\\s.exe\" /qn", RunMode::Install},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseRunMode(ParseCommandLine(c.line)), c.mode) << std::string(c.line.begin(), c.line.end());
    }
}

TEST(IndirectCommandLine, SplitsBlankRunsAndQuotedArguments) {
    EXPECT_EQ(SplitArguments(u"  a  \"b c\"d  e "), (std::vector<std::u16string>{u"a", u"b c", u"d", u"e"}));
    EXPECT_EQ(SplitArguments(u"\"open"), (std::vector<std::u16string>{u"open"}));
    EXPECT_TRUE(SplitArguments(u"   ").empty());
}

TEST(IndirectCommandLine, NamesTheValueOnlyForExactlyTwoArguments) {
    const auto location = IndirectCommandLineLocation(u"/cmdloc \"HKCU\\Software\\Torvexa Test\\Cmd\"");
    ASSERT_TRUE(location.has_value());
    EXPECT_EQ(location->root, RegistryRoot::CurrentUser);
    EXPECT_EQ(location->key, u"Software\\Torvexa Test");
    EXPECT_EQ(location->valueName, u"Cmd");

    const auto users = IndirectCommandLineLocation(u"/cmdloc XYZ\\S-1\\V");
    ASSERT_TRUE(users.has_value());
    EXPECT_EQ(users->root, RegistryRoot::Users);

    EXPECT_FALSE(IndirectCommandLineLocation(u"/cmdloc HKCU\\Software\\V /qn").has_value());
    EXPECT_FALSE(IndirectCommandLineLocation(u"/cmdloc").has_value());
    EXPECT_FALSE(IndirectCommandLineLocation(u"/CMDLOC HKCU\\a\\b").has_value());
    EXPECT_FALSE(IndirectCommandLineLocation(u"/qn HKCU\\a\\b").has_value());
}

TEST(CommandOptionTable, LongerFormsPrecedeTheirPrefixes) {
    const auto table = CommandOptionTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        for (std::size_t j = i + 1; j < table.size(); ++j) {
            const bool laterIsLonger = table[j].text.size() > table[i].text.size() &&
                                       table[j].text.substr(0, table[i].text.size()) == table[i].text;
            EXPECT_FALSE(laterIsLonger) << "row " << j << " can never be found behind row " << i;
        }
    }
}

}  // namespace
}  // namespace maglorin
