#include "detection_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "configuration_test_text.h"
#include "file_search.h"
#include "reference_resolver.h"
#include "table_machine.h"
#include "version_range.h"

namespace maglorin {
namespace {

using test_support::Printable;
using test_support::TableFolders;
using test_support::TableMachine;

class RecordingHost final : public ProgramHost {
public:
    std::optional<std::uint32_t> exitCode = 0;
    std::vector<std::u16string> programs, arguments;
    std::vector<bool> hidden;
    std::optional<std::uint32_t> RunAndWait(std::u16string_view program, std::u16string_view args, bool hide) override {
        programs.emplace_back(program);
        arguments.emplace_back(args);
        hidden.push_back(hide);
        return exitCode;
    }
};

class RecordingLog final : public SearchLog {
public:
    std::vector<std::u16string> lines;
    void Write(std::u16string_view line) override { lines.emplace_back(line); }
};

class Searching : public ::testing::Test {
protected:
    TableMachine machine;
    TableFolders folders;
    ReferenceResolver resolver{folders, u"D:\\Package\\"};
    RecordingHost host;
    RecordingLog log;
    SearchEvaluator evaluator{machine, resolver, &host, &log};

    bool Present(const DetectionSearch& search, SearchScope scope = {}) { return evaluator.IsPresent(search, scope); }
};

// ---- Type 9 operators ----

struct OperatorCase {
    const char16_t* value;
    const char16_t* reference;
    bool present;
};

class ValueOperators : public ::testing::TestWithParam<OperatorCase> {};

TEST_P(ValueOperators, ApplyTheLetterInFrontOfTheReference) {
    const OperatorCase& c = GetParam();
    EXPECT_EQ(CompareValue(c.value, c.reference), c.present) << Printable(c.value) << " " << Printable(c.reference);
}

INSTANTIATE_TEST_SUITE_P(Table, ValueOperators, ::testing::Values(
    OperatorCase{u"11", u"G10", true}, OperatorCase{u"10", u"G10", false}, OperatorCase{u"eleven", u"G10", false},
    OperatorCase{u"11", u"Gten", false}, OperatorCase{u"", u"G0", false},
    OperatorCase{u"100000000000000000000", u"G99999999999999999999", true},  // beyond 64 bits
    OperatorCase{u"0010", u"G9", true}, OperatorCase{u"9", u"L0010", true}, OperatorCase{u"10", u"L10", false},
    OperatorCase{u"4.0.30319", u"S4.0", true}, OperatorCase{u"3.5", u"S4.0", false},
    OperatorCase{u"abc", u"Mabc", true}, OperatorCase{u"abc", u"MABC", false}, OperatorCase{u"abc", u"M", false},
    OperatorCase{u"", u"M", true}, OperatorCase{u"abc", u"Dabd", true}, OperatorCase{u"abc", u"Dabc", false},
    OperatorCase{u"C:\\x\\y.exe", u"E.exe", true}, OperatorCase{u"C:\\x\\y.EXE", u"E.exe", false},
    OperatorCase{u"hello world", u"Clo w", true}, OperatorCase{u"hello world", u"XLo w", true},
    OperatorCase{u"hello world", u"Xlo w", false}, OperatorCase{u"abc", u"mabc", false},
    OperatorCase{u"abc", u"Qabc", false}, OperatorCase{u"abc", u"", false}));

// ---- Version windows ----

struct RangeCase {
    const char16_t* minimum;
    const char16_t* maximum;
    const char16_t* found;
    bool admitted;
};

class VersionWindows : public ::testing::TestWithParam<RangeCase> {};

TEST_P(VersionWindows, AdmitValidVersionsBetweenTheBounds) {
    const RangeCase& c = GetParam();
    EXPECT_EQ(VersionRange(c.minimum, c.maximum).Admits(c.found), c.admitted)
        << "[" << Printable(c.minimum) << ", " << Printable(c.maximum) << "] " << Printable(c.found);
}

INSTANTIATE_TEST_SUITE_P(Table, VersionWindows, ::testing::Values(
    RangeCase{u"1.2", u"", u"1.2.0.0", true}, RangeCase{u"1.2", u"", u"1.1.9.9", false},
    RangeCase{u"", u"3", u"3.0.0.0", true}, RangeCase{u"", u"3", u"3.0.0.1", false},
    RangeCase{u"1", u"2", u"v2-0 build 0", true}, RangeCase{u"1", u"2", u"0.0.0.0", false},
    RangeCase{u"1", u"", u"no digits", false},
    // All zero and all 65535 are open bounds: then any found text counts, even a non-version.
    RangeCase{u"0.0.0.0", u"65535.65535.65535.65535", u"0.0.0.0", true},
    RangeCase{u"", u"", u"not a version", true},
    RangeCase{u"65535.65535.65535.65535", u"2", u"1.5", true},
    RangeCase{u"65535.65535.65535.65535", u"2", u"2.5", false},
    // 65535 in some parts only is a real bound.
    RangeCase{u"65535.0", u"", u"65534.9", false}));

TEST(VersionWindowsLists, AnEmptyListIsAbsentEvenWithOpenBounds) {
    EXPECT_FALSE(VersionRange(u"", u"").AdmitsAny({}));
    EXPECT_TRUE(VersionRange(u"", u"").AdmitsAny({u""}));
    EXPECT_TRUE(VersionRange(u"2", u"").AdmitsAny({u"1.0", u"garbage", u"2.1"}));
    EXPECT_FALSE(VersionRange(u"2", u"").AdmitsAny({u"1.0", u"garbage"}));
}

// ---- Registry searches ----

TEST_F(Searching, SubkeyNamesReadAsVersions) {
    machine.subkeys[u"HKLM\\SOFTWARE\\JavaSoft\\Java Runtime Environment"] = {u"1.4", u"1.6.0_31", u"garbage"};
    DetectionSearch search{search_type::kSubkeyVersions, u"HKLM\\SOFTWARE\\JavaSoft\\Java Runtime Environment", u"1.6",
                           u"", u"", u""};
    const SearchResult result = evaluator.Evaluate(search, {});
    EXPECT_EQ(result.found.size(), 3u);
    EXPECT_TRUE(evaluator.Judge(search, result));
    search.minimumVersion = u"1.7";
    EXPECT_FALSE(Present(search));
    search.searchString += u"\\";  // a final "\" names the same key
    search.minimumVersion = u"1.6";
    EXPECT_TRUE(Present(search));
}

TEST_F(Searching, SubkeyNamesLongerThanAPathAreLeftOut) {
    const std::u16string longName = u"9." + std::u16string(300, u'1');
    machine.subkeys[u"HKLM\\K"] = {longName, u"1.0"};
    const SearchResult result = evaluator.Evaluate({search_type::kSubkeyVersions, u"HKLM\\K", u"", u"", u"", u""}, {});
    ASSERT_EQ(result.found.size(), 1u);
    EXPECT_EQ(Printable(result.found[0]), "1.0");
}

TEST_F(Searching, ValueReadOfAPathEndingInBackslashReadsTheDefaultValue) {
    machine.AddText(u"HKLM\\SOFTWARE\\Vendor\\", u"5.2.1");
    machine.AddText(u"HKLM\\SOFTWARE\\Vendor\\Other", u"1.0");
    const SearchResult result = evaluator.Evaluate({search_type::kValueVersion, u"HKLM\\SOFTWARE\\Vendor\\", u"5", u"", u"", u""}, {});
    ASSERT_EQ(result.found.size(), 1u);
    EXPECT_EQ(Printable(result.found[0]), "5.2.1");
    EXPECT_TRUE(Present({search_type::kValueVersion, u"HKLM\\SOFTWARE\\Vendor\\", u"5", u"", u"", u""}));
    EXPECT_FALSE(Present({search_type::kValueVersion, u"HKLM\\SOFTWARE\\Vendor\\Other", u"5", u"", u"", u""}));
}

TEST_F(Searching, ValueReadTakesNumbersInDecimalAndSkipsOtherTypes) {
    machine.AddNumber(u"HKCU\\K\\Number", 7);
    machine.values[u"HKCU\\K\\Binary"] = RegistryData{RegistryData::Kind::Other, u"", 0};
    EXPECT_TRUE(Present({search_type::kValueVersion, u"HKCU\\K\\Number", u"7", u"7", u"", u""}));
    EXPECT_TRUE(evaluator.Evaluate({search_type::kValueVersion, u"HKCU\\K\\Binary", u"", u"", u"", u""}, {}).found.empty());
    EXPECT_FALSE(Present({search_type::kValueVersion, u"HKCU\\K\\Binary", u"", u"", u"", u""}));
}

TEST_F(Searching, KeyAndValueExistenceAndTheirOpposites) {
    machine.AddText(u"HKLM\\SOFTWARE\\A\\B\\Name", u"x");
    EXPECT_TRUE(Present({search_type::kKeyExists, u"HKLM\\SOFTWARE\\A\\B\\", u"", u"", u"", u""}));
    EXPECT_TRUE(Present({search_type::kKeyExists, u"HKLM\\SOFTWARE\\A\\B", u"", u"", u"", u""}));
    EXPECT_FALSE(Present({search_type::kKeyMissing, u"HKLM\\SOFTWARE\\A\\B", u"", u"", u"", u""}));
    EXPECT_FALSE(Present({search_type::kKeyExists, u"HKCU\\SOFTWARE\\A\\B", u"", u"", u"", u""}));
    EXPECT_TRUE(Present({search_type::kKeyMissing, u"HKLM\\SOFTWARE\\A\\C", u"", u"", u"", u""}));
    EXPECT_TRUE(Present({search_type::kValueExists, u"HKLM\\SOFTWARE\\A\\B\\Name", u"", u"", u"", u""}));
    EXPECT_FALSE(Present({search_type::kValueExists, u"HKLM\\SOFTWARE\\A\\B\\Other", u"", u"", u"", u""}));
    EXPECT_TRUE(Present({search_type::kValueMissing, u"HKLM\\SOFTWARE\\A\\B\\Other", u"", u"", u"", u""}));
    EXPECT_TRUE(Present({search_type::kValueMissing, u"HKLM\\SOFTWARE\\Gone\\Name", u"", u"", u"", u""}));
    EXPECT_FALSE(Present({search_type::kValueMissing, u"HKLM\\SOFTWARE\\A\\B\\Name", u"", u"", u"", u""}));
    // A path without any "\" names no value.
    EXPECT_FALSE(Present({search_type::kValueExists, u"HKLM", u"", u"", u"", u""}));
    EXPECT_TRUE(Present({search_type::kValueMissing, u"HKLM", u"", u"", u"", u""}));
}

TEST_F(Searching, UnknownRootAbbreviationsMeanTheUsersRoot) {
    machine.keys.insert(u"HKU\\S-1-5-18\\Software");
    EXPECT_TRUE(Present({search_type::kKeyExists, u"HKEY_USERS\\S-1-5-18\\Software", u"", u"", u"", u""}));
    // Abbreviations are exact: "hklm" is not the local machine.
    EXPECT_TRUE(Present({search_type::kKeyExists, u"hklm\\S-1-5-18\\Software", u"", u"", u"", u""}));
    EXPECT_FALSE(Present({search_type::kKeyExists, u"HKLM\\S-1-5-18\\Software", u"", u"", u"", u""}));
}

TEST_F(Searching, ValueComparisonReadsTextAndNumbers) {
    machine.AddText(u"HKLM\\N\\Install", u"1");
    machine.AddNumber(u"HKLM\\N\\Release", 378389);
    machine.values[u"HKLM\\N\\Blob"] = RegistryData{RegistryData::Kind::Other, u"", 0};
    EXPECT_TRUE(Present({search_type::kValueCompare, u"HKLM\\N\\Install", u"", u"", u"M1", u""}));
    EXPECT_TRUE(Present({search_type::kValueCompare, u"HKLM\\N\\Release", u"", u"", u"G378388", u""}));
    EXPECT_FALSE(Present({search_type::kValueCompare, u"HKLM\\N\\Release", u"", u"", u"G378389", u""}));
    // An unreadable value is absent whatever the operator, even "differs" and "does not contain".
    EXPECT_FALSE(Present({search_type::kValueCompare, u"HKLM\\N\\Blob", u"", u"", u"D1", u""}));
    EXPECT_FALSE(Present({search_type::kValueCompare, u"HKLM\\N\\Missing", u"", u"", u"Xzz", u""}));
    const SearchResult read = evaluator.Evaluate({search_type::kValueCompare, u"HKLM\\N\\Release", u"", u"", u"", u""}, {});
    EXPECT_TRUE(read.valueRead);
    EXPECT_EQ(Printable(read.valueText), "378389");
    EXPECT_TRUE(read.found.empty());
}

TEST_F(Searching, SixtyFourBitViewOnlyWhenAskedAndOnSixtyFourBitWindows) {
    const DetectionSearch search{search_type::kKeyExists, u"HKLM\\SOFTWARE\\X", u"", u"", u"", u""};
    (void)Present(search, SearchScope::SixtyFourBit());
    machine.sixtyFourBit = true;
    (void)Present(search, {});
    (void)Present(search, SearchScope::SixtyFourBit());
    ASSERT_EQ(machine.viewsAsked.size(), 3u);
    EXPECT_EQ(machine.viewsAsked[0], RegistryView::Default);
    EXPECT_EQ(machine.viewsAsked[1], RegistryView::Default);
    EXPECT_EQ(machine.viewsAsked[2], RegistryView::Force64);
}

// ---- File searches ----

TEST_F(Searching, FilePathReferencesAreResolvedAndTheVersionCompared) {
    machine.files[u"C:\\Windows\\system32\\wininet.dll"] = VersionNumber(8, 0, 7600, 16385);
    DetectionSearch search{search_type::kFileVersion, u"[SystemFolder]wininet.dll", u"6", u"", u"", u""};
    const SearchResult result = evaluator.Evaluate(search, {});
    ASSERT_EQ(result.found.size(), 1u);
    EXPECT_EQ(Printable(result.found[0]), "8.0.7600.16385");
    EXPECT_TRUE(evaluator.Judge(search, result));
    search.minimumVersion = u"9";
    EXPECT_FALSE(Present(search));
    search.searchString = u"%TOOLS%\\wininet.dll";
    EXPECT_FALSE(Present(search));
    EXPECT_EQ(Printable(machine.filesAsked.back()), "D:\\Tools\\wininet.dll");
}

TEST_F(Searching, AFileWithoutVersionResourceCountsOnlyWithOpenBounds) {
    machine.files[u"C:\\App\\plain.txt"] = VersionNumber();
    EXPECT_TRUE(Present({search_type::kFileVersion, u"C:\\App\\plain.txt", u"", u"", u"", u""}));
    EXPECT_FALSE(Present({search_type::kFileVersion, u"C:\\App\\plain.txt", u"0.0.0.1", u"", u"", u""}));
    EXPECT_FALSE(Present({search_type::kFileVersion, u"C:\\App\\missing.txt", u"", u"", u"", u""}));
}

TEST_F(Searching, BareFileNameSearchesEveryFixedDriveToTheGivenDepth) {
    machine.drives = {u"C:\\", u"E:\\"};
    machine.folders[u"C:\\"] = {u"C:\\a\\"};
    machine.folders[u"C:\\a\\"] = {u"C:\\a\\b\\"};
    machine.folders[u"C:\\a\\b\\"] = {u"C:\\a\\b\\c\\"};
    machine.folders[u"E:\\"] = {u"E:\\x\\"};
    machine.files[u"C:\\a\\b\\c\\tool.exe"] = VersionNumber(3, 0, 0, 0);  // three levels down: too deep
    machine.files[u"E:\\x\\tool.exe"] = VersionNumber(2, 0, 0, 0);
    const SearchResult result = evaluator.Evaluate({search_type::kFileVersion, u"tool.exe?2", u"", u"", u"", u""}, {});
    ASSERT_EQ(result.found.size(), 1u);
    EXPECT_EQ(Printable(result.found[0]), "2.0.0.0");
    const std::vector<std::u16string> expected{u"C:\\tool.exe", u"C:\\a\\tool.exe", u"C:\\a\\b\\tool.exe",
                                               u"E:\\tool.exe", u"E:\\x\\tool.exe"};
    EXPECT_EQ(machine.filesAsked, expected);
    EXPECT_EQ(evaluator.Evaluate({search_type::kFileVersion, u"tool.exe?3", u"", u"", u"", u""}, {}).found.size(), 1u);
    EXPECT_EQ(Printable(evaluator.Evaluate({search_type::kFileVersion, u"tool.exe?3", u"", u"", u"", u""}, {}).found[0]),
              "3.0.0.0");
}

TEST_F(Searching, FileSearchStopsAtTheFirstFileInRangeAndKeepsEarlierVersions) {
    machine.folders[u"C:\\P\\"] = {u"C:\\P\\old\\", u"C:\\P\\new\\", u"C:\\P\\newer\\"};
    machine.files[u"C:\\P\\app.dll"] = VersionNumber(1, 0, 0, 0);
    machine.files[u"C:\\P\\old\\app.dll"] = VersionNumber(1, 5, 0, 0);
    machine.files[u"C:\\P\\new\\app.dll"] = VersionNumber(2, 1, 0, 0);
    machine.files[u"C:\\P\\newer\\app.dll"] = VersionNumber(2, 2, 0, 0);
    const SearchResult result = evaluator.Evaluate({search_type::kFileVersion, u"C:\\P\\app.dll?1", u"2", u"", u"", u""}, {});
    const std::vector<std::u16string> expected{u"1.0.0.0", u"1.5.0.0", u"2.1.0.0"};
    EXPECT_EQ(result.found, expected);
}

TEST_F(Searching, AHugeDepthIsCut) {
    FileSearchTarget target = PlanFileSearch(machine, u"C:\\x.dll?99999999999999999999");
    EXPECT_EQ(target.depth, kMaximumFileSearchDepth);
    target = PlanFileSearch(machine, u"C:\\x.dll?abc");
    EXPECT_EQ(target.depth, 0);
    // A path holding an unresolved reference is not a bare name.
    target = PlanFileSearch(machine, u"[Unknown]x.dll");
    ASSERT_EQ(target.candidates.size(), 1u);
    EXPECT_EQ(Printable(target.candidates[0]), "[Unknown]x.dll");
}

TEST_F(Searching, SixtyFourBitFileSearchSwitchesRedirectionOffAndBack) {
    machine.unredirectedFiles[u"C:\\Windows\\system32\\inetsrv\\w3wp.exe"] = VersionNumber(7, 5, 0, 0);
    const DetectionSearch search{search_type::kFileVersion, u"[SystemFolder]inetsrv\\w3wp.exe", u"7", u"", u"", u""};
    EXPECT_FALSE(Present(search));
    EXPECT_TRUE(machine.redirectionCalls.empty());
    EXPECT_TRUE(Present(search, SearchScope{false, true}));
    EXPECT_EQ(machine.redirectionCalls, (std::vector<bool>{false, true}));
    EXPECT_TRUE(machine.redirectionOn);
}

// ---- Installer service ----

TEST_F(Searching, ProductAndRelatedProductVersions) {
    machine.productVersions[u"{P1}"] = u"1.2.3";
    machine.productVersions[u"{P2}"] = u"2.0.0";
    machine.relatedProducts[u"{U}"] = {u"{P1}", u"{GONE}", u"{P2}"};
    EXPECT_TRUE(Present({search_type::kProductVersion, u"{P1}", u"1.2", u"1.3", u"", u""}));
    EXPECT_FALSE(Present({search_type::kProductVersion, u"{P1}", u"1.3", u"", u"", u""}));
    EXPECT_FALSE(Present({search_type::kProductVersion, u"{NONE}", u"", u"", u"", u""}));
    const SearchResult related = evaluator.Evaluate({search_type::kRelatedVersions, u"{U}", u"", u"", u"", u""}, {});
    EXPECT_EQ(related.found, (std::vector<std::u16string>{u"1.2.3", u"2.0.0"}));
    EXPECT_TRUE(Present({search_type::kRelatedVersions, u"{U}", u"2", u"", u"", u""}));
    EXPECT_FALSE(Present({search_type::kRelatedVersions, u"{U}", u"3", u"", u"", u""}));
}

TEST_F(Searching, ComponentCountsWhenLocalOrRunFromSource) {
    machine.components[u"{LOCAL}"] = ComponentInstallState::Local;
    machine.components[u"{SOURCE}"] = ComponentInstallState::Source;
    machine.components[u"{OTHER}"] = ComponentInstallState::Other;
    EXPECT_TRUE(Present({search_type::kComponentInstalled, u"{LOCAL}", u"", u"", u"", u""}));
    EXPECT_TRUE(Present({search_type::kComponentInstalled, u"{SOURCE}", u"", u"", u"", u""}));
    EXPECT_FALSE(Present({search_type::kComponentInstalled, u"{OTHER}", u"", u"", u"", u""}));
    EXPECT_FALSE(Present({search_type::kComponentInstalled, u"{ABSENT}", u"", u"", u"", u""}));
    machine.componentsAsked.clear();
    EXPECT_FALSE(Present({search_type::kComponentInstalled, u"", u"", u"", u"", u""}));
    EXPECT_TRUE(machine.componentsAsked.empty());
}

// ---- Programs ----

TEST_F(Searching, ProgramCountsWhenItStartsAndExitsWithZero) {
    const DetectionSearch search{search_type::kProgramExitCode, u"[SETUPEXEDIR]check.exe", u"", u"", u"WND_HIDE",
                                 u"/q %TOOLS%"};
    EXPECT_TRUE(Present(search));
    EXPECT_EQ(Printable(host.programs.back()), "D:\\Package\\check.exe");
    EXPECT_EQ(Printable(host.arguments.back()), "/q D:\\Tools");
    EXPECT_TRUE(host.hidden.back());
    host.exitCode = 1;
    EXPECT_FALSE(Present({search_type::kProgramExitCode, u"C:\\check.exe", u"", u"", u"", u""}));
    EXPECT_FALSE(host.hidden.back());
    host.exitCode = std::nullopt;
    EXPECT_FALSE(Present(search));
    SearchEvaluator withoutHost(machine, resolver, nullptr, nullptr);
    EXPECT_FALSE(withoutHost.IsPresent(search, {}));
}

// ---- Unknown types ----

TEST_F(Searching, UnknownTypesArePresentButLogged) {
    EXPECT_TRUE(Present({12, u"C:\\typo", u"", u"", u"", u""}));
    EXPECT_TRUE(Present({-1, u"x", u"", u"", u"", u""}));
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_NE(log.lines[0].find(u"12"), std::u16string::npos);
    EXPECT_NE(log.lines[0].find(u"C:\\typo"), std::u16string::npos);
    EXPECT_NE(log.lines[1].find(u"-1"), std::u16string::npos) << Printable(log.lines[1]);
}

// ---- Lists ----

TEST_F(Searching, ListOperatorsStopWhereTheAnswerIsKnown) {
    machine.productVersions[u"{P}"] = u"5.0";
    const DetectionSearch absent{search_type::kComponentInstalled, u"{A}", u"", u"", u"", u""};
    const DetectionSearch present{search_type::kProductVersion, u"{P}", u"", u"", u"", u""};
    const DetectionSearch counted{search_type::kComponentInstalled, u"{LAST}", u"", u"", u"", u""};
    std::vector<std::u16string> collected;
    EXPECT_TRUE(evaluator.EvaluateList({absent, present, counted}, 1, {}, collected));
    EXPECT_EQ(machine.componentsAsked, (std::vector<std::u16string>{u"{A}"}));
    EXPECT_EQ(collected, (std::vector<std::u16string>{u"5.0"}));
    machine.componentsAsked.clear();
    EXPECT_FALSE(evaluator.EvaluateList({absent, present, counted}, 0, {}, collected));
    EXPECT_EQ(machine.componentsAsked, (std::vector<std::u16string>{u"{A}"}));
    EXPECT_EQ(collected.size(), 1u);
    EXPECT_FALSE(evaluator.EvaluateList({present, absent}, 0, {}, collected));
    EXPECT_EQ(collected.size(), 2u);  // appended, never replaced
}

TEST_F(Searching, EmptyListsAndUnknownOperators) {
    std::vector<std::u16string> collected;
    EXPECT_TRUE(evaluator.EvaluateList({}, 0, {}, collected));
    EXPECT_FALSE(evaluator.EvaluateList({}, 1, {}, collected));
    const DetectionSearch present{search_type::kKeyMissing, u"HKLM\\Nothing", u"", u"", u"", u""};
    EXPECT_FALSE(evaluator.EvaluateList({present}, 2, {}, collected));
    EXPECT_FALSE(evaluator.EvaluateList({present}, -1, {}, collected));
    EXPECT_TRUE(evaluator.EvaluateList({present, present}, 0, {}, collected));
}

}  // namespace
}  // namespace maglorin
