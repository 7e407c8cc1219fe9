#include "installer_command_line.h"

#include <gtest/gtest.h>

namespace maglorin {
namespace {

const std::u16string kPackage = u"C:\\Media\\setup.exe";
const std::u16string kDatabase = u"C:\\Temp\\install\\db\\setup.msi";
const std::u16string kProperties = u" TX_SETUPEXEPATH=\"C:\\Media\\setup.exe\" SETUPEXEDIR=\"C:\\Media\\\"";

CommandLineInputs Inputs(std::u16string options) {
    CommandLineInputs inputs;
    inputs.options = std::move(options);
    inputs.packagePath = kPackage;
    inputs.databasePath = kDatabase;
    return inputs;
}

std::u16string Build(const CommandLineInputs& inputs, const CommandLineQuestions& questions = {}) {
    const CommandLineResult result = BuildInstallerCommandLine(inputs, questions);
    EXPECT_FALSE(result.cancelled);
    return result.commandLine;
}

TEST(InstallerCommandLine, OneSwitchGivesActionPathSwitchAndProperties) {
    EXPECT_EQ(Build(Inputs(u"/qn")), u" /i  \"C:\\Temp\\install\\db\\setup.msi\" /qn" + kProperties);
}

TEST(InstallerCommandLine, NoOptionsStillInstall) {
    EXPECT_EQ(Build(Inputs(u"")), u" /i  \"C:\\Temp\\install\\db\\setup.msi\" " + kProperties);
}

struct PlaceholderCase {
    const char* behaviour;
    std::u16string options;
    std::u16string expected;  // before the properties
};

class Placeholder : public ::testing::TestWithParam<PlaceholderCase> {};

TEST_P(Placeholder, PutsTheDatabaseWhereTheOptionsAsk) {
    EXPECT_EQ(Build(Inputs(GetParam().options)), GetParam().expected + kProperties) << GetParam().behaviour;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Placeholder,
    ::testing::Values(
        PlaceholderCase{"the path goes exactly at the placeholder", u"/a // /qb",
                        u" /a  \"C:\\Temp\\install\\db\\setup.msi\"  /qb"},
        PlaceholderCase{"a leading placeholder gets no extra blank", u"// /qb",
                        u" \"C:\\Temp\\install\\db\\setup.msi\"  /qb"},
        PlaceholderCase{"an escaped pair stays two slashes and loses its mark", u"URL=http:|//x /qn",
                        u" /i  \"C:\\Temp\\install\\db\\setup.msi\" URL=http://x /qn"},
        PlaceholderCase{"escaped and real placeholder together", u"URL=http:|//x /a //",
                        u" URL=http://x /a  \"C:\\Temp\\install\\db\\setup.msi\" "},
        PlaceholderCase{"the last of two placeholders is taken", u"A=// /a //",
                        u" A=// /a  \"C:\\Temp\\install\\db\\setup.msi\" "},
        PlaceholderCase{"an escape after the placeholder is still removed", u"/a // B=|//",
                        u" /a  \"C:\\Temp\\install\\db\\setup.msi\"  B=//"}));

TEST(Placeholder, TakeReportsThePositionAfterRemovingMarks) {
    std::u16string options = u"|//a|//b//c";
    EXPECT_EQ(TakePlaceholder(options), 6u);
    EXPECT_EQ(options, u"//a//b//c");
    std::u16string none = u"|// and |//";
    EXPECT_FALSE(TakePlaceholder(none));
    EXPECT_EQ(none, u"// and //");
}

TEST(InstallerCommandLine, RemovedInstallSwitchReturnsBeforeThePlaceholder) {
    InstanceSelection selection;
    selection.installSwitchRemoved = true;
    selection.optionsDecide = true;
    CommandLineInputs inputs = Inputs(u"  // /qn");  // "/i // /qn" after the instance scan
    inputs.instances = &selection;
    EXPECT_EQ(Build(inputs), u"   /i \"C:\\Temp\\install\\db\\setup.msi\"  /qn" + kProperties);
}

TEST(InstallerCommandLine, PatchGetsPatchSwitchAndNoProperties) {
    CommandLineInputs inputs = Inputs(u"/qn");
    inputs.mainIsPatch = true;
    inputs.allPlatforms = true;
    inputs.languageId = 1031;
    inputs.reinstallOlder = true;
    CommandLineQuestions questions;
    questions.minorUpgrade = [](const std::u16string&) { return true; };
    // The patch is still the x64 variant on 64-bit Windows, but never gets a transform.
    inputs.is64BitWindows = true;
    EXPECT_EQ(Build(inputs, questions), u" /p  \"C:\\Temp\\install\\db\\setup.x64.msi\" /qn");
}

TEST(InstallerCommandLine, MinorUpgradeReinstallsOnlyWhenAskedAndTrue) {
    CommandLineInputs inputs = Inputs(u"/qn");
    std::u16string askedFor;
    CommandLineQuestions questions;
    questions.minorUpgrade = [&](const std::u16string& path) {
        askedFor = path;
        return true;
    };
    EXPECT_EQ(Build(inputs, questions), u" /i  \"C:\\Temp\\install\\db\\setup.msi\" /qn" + kProperties);
    EXPECT_EQ(askedFor, u"") << "without the option letter the database is not opened";

    inputs.reinstallOlder = true;
    EXPECT_EQ(Build(inputs, questions), u" /fvomus  \"C:\\Temp\\install\\db\\setup.msi\" /qn" + kProperties);
    EXPECT_EQ(askedFor, kDatabase);

    questions.minorUpgrade = [](const std::u16string&) { return false; };
    EXPECT_EQ(Build(inputs, questions), u" /i  \"C:\\Temp\\install\\db\\setup.msi\" /qn" + kProperties);
}

TEST(InstallerCommandLine, MinorUpgradeTestReadsTheDatabaseThatIsInstalled) {
    CommandLineInputs inputs = Inputs(u"");
    inputs.reinstallOlder = true;
    inputs.allPlatforms = true;
    inputs.is64BitWindows = true;
    std::u16string askedFor;
    CommandLineQuestions questions;
    questions.minorUpgrade = [&](const std::u16string& path) {
        askedFor = path;
        return false;
    };
    Build(inputs, questions);
    EXPECT_EQ(askedFor, u"C:\\Temp\\install\\db\\setup.x64.msi");
}

struct TransformCase {
    const char* behaviour;
    bool allPlatforms;
    bool is64PlatformTransf;
    bool is64BitWindows;
    std::uint16_t language;
    std::u16string database;   // in the command line
    std::u16string transforms; // before TX_SETUPEXEPATH
};

class Transforms : public ::testing::TestWithParam<TransformCase> {};

TEST_P(Transforms, FollowLanguageAndPlatform) {
    const TransformCase& c = GetParam();
    CommandLineInputs inputs = Inputs(u"/qb");
    inputs.allPlatforms = c.allPlatforms;
    inputs.is64PlatformTransf = c.is64PlatformTransf;
    inputs.is64BitWindows = c.is64BitWindows;
    inputs.languageId = c.language;
    EXPECT_EQ(Build(inputs), u" /i  \"" + c.database + u"\" /qb" + c.transforms + kProperties) << c.behaviour;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Transforms,
    ::testing::Values(
        TransformCase{"nothing for one platform and the built-in language", false, false, true, 0, kDatabase, u""},
        TransformCase{"an embedded language transform", false, false, false, 1031, kDatabase,
                      u" TRANSFORMS=\":1031\""},
        TransformCase{"the platform transform on 32-bit Windows", true, true, false, 0, kDatabase,
                      u" TRANSFORMS=\"C:\\Temp\\install\\db\\setup.mst\""},
        TransformCase{"the x64 database and its transform", true, false, true, 0,
                      u"C:\\Temp\\install\\db\\setup.x64.msi", u" TRANSFORMS=\"C:\\Temp\\install\\db\\setup.mst\""},
        TransformCase{"both platform transforms on 64-bit Windows", true, true, true, 0,
                      u"C:\\Temp\\install\\db\\setup.x64.msi",
                      u" TRANSFORMS=\"C:\\Temp\\install\\db\\setup.mst;C:\\Temp\\install\\db\\setup.x64.mst\""},
        TransformCase{"platform and language file", true, false, false, 1036, kDatabase,
                      u" TRANSFORMS=\"C:\\Temp\\install\\db\\setup.mst;C:\\Temp\\install\\db\\1036\""},
        TransformCase{"both platforms and language file", true, true, true, 1036,
                      u"C:\\Temp\\install\\db\\setup.x64.msi",
                      u" TRANSFORMS=\"C:\\Temp\\install\\db\\setup.mst;C:\\Temp\\install\\db\\setup.x64.mst;"
                      u"C:\\Temp\\install\\db\\1036\""}));

struct PathCase {
    std::u16string path;
    std::u16string withSuffix;
    std::u16string withMst;
    std::u16string folder;
};

class PathPieces : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathPieces, LookOnlyAtTheFileName) {
    EXPECT_EQ(WithPlatformSuffix(GetParam().path), GetParam().withSuffix);
    EXPECT_EQ(WithExtension(GetParam().path, u".mst"), GetParam().withMst);
    EXPECT_EQ(FolderWithSeparator(GetParam().path), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PathPieces,
    ::testing::Values(PathCase{u"C:\\a\\setup.msi", u"C:\\a\\setup.x64.msi", u"C:\\a\\setup.mst", u"C:\\a\\"},
                      PathCase{u"C:\\a.b\\setup", u"C:\\a.b\\setup", u"C:\\a.b\\setup.mst", u"C:\\a.b\\"},
                      PathCase{u"C:\\a\\kit.v2.msi", u"C:\\a\\kit.v2.x64.msi", u"C:\\a\\kit.v2.mst", u"C:\\a\\"},
                      PathCase{u"setup.msi", u"setup.x64.msi", u"setup.mst", u""},
                      PathCase{u"http://host.example/dl/setup.msi", u"http://host.example/dl/setup.x64.msi",
                               u"http://host.example/dl/setup.mst", u""}));

InstanceRecord Instance(std::u16string transform, std::u16string productCode, VersionNumber version) {
    InstanceRecord record;
    record.transformName = std::move(transform);
    record.productCode = std::move(productCode);
    record.version = version;
    return record;
}

InstanceSelection OneNumberedInstance(bool older) {
    InstanceSelection selection;
    selection.instances = {Instance(u"", u"{BASE}", VersionNumber(2, 0, 0, 0)), Instance(u"first", u"{ONE}", VersionNumber())};
    selection.instances[0].installed = true;
    selection.instances[1].installed = true;
    selection.instances[1].olderInstalled = older;
    selection.mode = InstanceMode::Maintain;
    selection.selected = 1;
    return selection;
}

TEST(InstanceInCommandLine, MaintainedInstanceGoesFirst) {
    const InstanceSelection selection = OneNumberedInstance(false);
    CommandLineInputs inputs = Inputs(u"/qb");
    inputs.instances = &selection;
    EXPECT_EQ(Build(inputs), u" /i  \"C:\\Temp\\install\\db\\setup.msi\"  /n {ONE} /qb" + kProperties);
}

TEST(InstanceInCommandLine, UpgradeAsksFirstAndStopsOnNo) {
    const InstanceSelection selection = OneNumberedInstance(true);
    CommandLineInputs inputs = Inputs(u"/qb");
    inputs.instances = &selection;
    int asked = 0;
    CommandLineQuestions questions;
    questions.confirmUpgrade = [&] {
        ++asked;
        return false;
    };
    const CommandLineResult declined = BuildInstallerCommandLine(inputs, questions);
    EXPECT_TRUE(declined.cancelled);
    EXPECT_EQ(asked, 1);
    questions.confirmUpgrade = [&] {
        ++asked;
        return true;
    };
    EXPECT_EQ(Build(inputs, questions),
              u" /i  \"C:\\Temp\\install\\db\\setup.msi\"  /n {ONE}  REINSTALL=ALL REINSTALLMODE=vomus /qb" + kProperties);
    EXPECT_EQ(asked, 2);
}

TEST(InstanceInCommandLine, LanguageOrPlatformTransformsLeaveInstancesOut) {
    const InstanceSelection selection = OneNumberedInstance(true);
    CommandLineInputs inputs = Inputs(u"/qb");
    inputs.instances = &selection;
    inputs.languageId = 1031;
    CommandLineQuestions questions;
    questions.confirmUpgrade = [] { return false; };
    EXPECT_EQ(Build(inputs, questions),
              u" /i  \"C:\\Temp\\install\\db\\setup.msi\" /qb TRANSFORMS=\":1031\"" + kProperties);
}

TEST(InstallerCommandLine, PrerequisiteResultsComeLast) {
    CommandLineInputs inputs = Inputs(u"/qn");
    inputs.prerequisiteResults = {{u"DOTNET_RESULT", 0}, {u"", 5}, {u"VC_RESULT", -3}};
    EXPECT_EQ(Build(inputs),
              u" /i  \"C:\\Temp\\install\\db\\setup.msi\" /qn" + kProperties + u" DOTNET_RESULT=0 VC_RESULT=-3");
    inputs.mainIsPatch = true;
    EXPECT_EQ(Build(inputs), u" /p  \"C:\\Temp\\install\\db\\setup.msi\" /qn DOTNET_RESULT=0 VC_RESULT=-3");
}

TEST(InstallerCommandLine, AddressAsPackagePath) {
    CommandLineInputs inputs = Inputs(u"/qn");
    inputs.databasePath = u"http://dl.example/kit/setup.msi";
    inputs.allPlatforms = true;
    inputs.is64BitWindows = true;
    EXPECT_EQ(Build(inputs), u" /i  \"http://dl.example/kit/setup.x64.msi\" /qn TRANSFORMS=\"http://dl.example/kit/setup.mst\"" +
                                 kProperties);
}

struct LanguageCase {
    const char* behaviour;
    std::uint16_t chosen;
    bool notFixed;
    bool single;
    std::vector<std::uint16_t> candidates;
    std::uint16_t defaultChoice;
    std::uint16_t expected;
};

class LanguageForTransforms : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageForTransforms, FollowsTheChoiceOrTheDefault) {
    const LanguageCase& c = GetParam();
    const auto choose = [&](const std::vector<std::uint16_t>& candidates) {
        EXPECT_EQ(candidates, c.candidates);
        return c.defaultChoice;
    };
    EXPECT_EQ(TransformLanguage(c.chosen, c.notFixed, c.single, c.candidates, choose), c.expected) << c.behaviour;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageForTransforms,
    ::testing::Values(
        LanguageCase{"a fixed language stands", 1036, false, true, {1033, 1031}, 1031, 1036},
        LanguageCase{"several built-in languages: the chosen one stands", 0, true, false, {1033, 1031}, 1031, 0},
        LanguageCase{"the default over the candidates", 0, true, true, {1033, 1031, 1036}, 1031, 1031},
        LanguageCase{"the first candidate is the database's own language", 0, true, true, {1033, 1031}, 1033, 0},
        LanguageCase{"no candidates keep the chosen one", 1031, true, true, {}, 1036, 1031}));

}  // namespace
}  // namespace maglorin
