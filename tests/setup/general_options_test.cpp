#include "general_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "configuration_test_text.h"
#include "extraction_folder.h"

namespace maglorin {
namespace {

using test_support::IniSource;
using test_support::Printable;

GeneralOptions ReadFrom(std::u16string_view text) {
    const std::vector<std::byte> source = IniSource(text);
    return ReadGeneralOptions(ConfigurationFile::Parse(source));
}

TEST(GeneralOptions, MissingSectionKeepsEveryDefault) {
    for (std::u16string_view text : {u"", u"[Other]\r\nOptions=q\r\n", u"[ GeneralOptions ]\r\nOptions=q\r\n",
                                     u"[generaloptions]\r\nOptions=q\r\n"}) {
        const GeneralOptions options = ReadFrom(text);
        EXPECT_EQ(options.options, u"") << Printable(text);
        EXPECT_EQ(options.minWIVer, VersionNumber(2, 0, 0, 0));
        EXPECT_EQ(options.keepFiles, kKeepFilesDefault);
        EXPECT_FALSE(options.allPlatforms);
        EXPECT_FALSE(options.extUIStub);
        EXPECT_EQ(options.extractionFolder, u"");
    }
}

TEST(GeneralOptions, ReadsEveryKey) {
    const GeneralOptions options = ReadFrom(
        u"[GeneralOptions]\r\n"
        u"MainAppCmdLine = /qb PROP=\"[SETUPEXEDIR]\"\r\n"
        u"Options=qbu\r\n"
        u"MinWIVer=3.1\r\n"
        u"DownloadFolder=[TempFolder]dl\r\n"
        u"MainAppURL=http://example.invalid/setup.msi\r\n"
        u"LanguageList=1033,1031\r\n"
        u"ExtractionFolder=[AppDataFolder]Torvexa\\Maglorin\\install\r\n"
        u"KeepFiles=minimum\r\n"
        u"PackJars=true\r\n"
        u"AllPlatforms=TRUE\r\n"
        u"Is64PlatformTransf=True\r\n"
        u"Langs=1033, 1031\r\n"
        u"PackageCode={11111111-2222-3333-4444-555555555555}\r\n"
        u"ProductCode={AAAAAAAA-2222-3333-4444-555555555555}\r\n"
        u"DefaultProdCode={BBBBBBBB-2222-3333-4444-5555551234567}\r\n"
        u"UpgradeCode={CCCCCCCC-2222-3333-4444-555555555555}\r\n"
        u"ExtUIStub=x\r\n"
        u"SaveExtUIStub=stub.dll\r\n");
    EXPECT_EQ(Printable(options.mainAppCmdLine), "/qb PROP=\"[SETUPEXEDIR]\"");
    EXPECT_EQ(options.options, u"qbu");
    EXPECT_EQ(options.minWIVer, VersionNumber(3, 1, 0, 0));
    EXPECT_EQ(options.downloadFolder, u"[TempFolder]dl");
    EXPECT_EQ(options.mainAppURL, u"http://example.invalid/setup.msi");
    EXPECT_EQ(options.languageList, u"1033,1031");
    EXPECT_EQ(Printable(options.extractionFolder), "[AppDataFolder]Torvexa\\Maglorin\\install\\");
    EXPECT_EQ(options.keepFiles, kKeepFilesMinimum);
    EXPECT_TRUE(options.packJars);
    EXPECT_TRUE(options.allPlatforms);
    EXPECT_TRUE(options.is64PlatformTransf);
    EXPECT_EQ(options.langs, u"1033, 1031");
    EXPECT_EQ(options.packageCode, u"{11111111-2222-3333-4444-555555555555}");
    EXPECT_EQ(options.productCode, u"{AAAAAAAA-2222-3333-4444-555555555555}");
    EXPECT_EQ(options.defaultProdCode, u"{BBBBBBBB-2222-3333-4444-5555551234567}");
    EXPECT_EQ(options.upgradeCode, u"{CCCCCCCC-2222-3333-4444-555555555555}");
    EXPECT_TRUE(options.extUIStub);
    EXPECT_EQ(options.saveExtUIStub, u"stub.dll");
}

TEST(GeneralOptions, EachKeyIsTakenFromItsFirstLineInTheFirstSection) {
    const GeneralOptions options = ReadFrom(
        u"[GeneralOptions]\r\nOptions=q\r\nOptions=b\r\n[GeneralOptions]\r\nPackJars=true\r\n");
    EXPECT_EQ(options.options, u"q");
    EXPECT_FALSE(options.packJars);
}

struct ValueCase {
    std::u16string line;
    bool flag;           // PackJars read from the same value
    std::int32_t keep;   // KeepFiles read from the same value
};

class GeneralOptionValues : public ::testing::TestWithParam<ValueCase> {};

TEST_P(GeneralOptionValues, BooleansIgnoreCaseKeepFilesDoesNot) {
    const std::u16string& value = GetParam().line;
    const GeneralOptions options =
        ReadFrom(u"[GeneralOptions]\r\nPackJars=" + value + u"\r\nKeepFiles=" + value + u"\r\n");
    EXPECT_EQ(options.packJars, GetParam().flag) << Printable(value);
    EXPECT_EQ(options.keepFiles, GetParam().keep) << Printable(value);
}

const ValueCase kValueCases[] = {
    {u"true", true, 0},         {u"TRUE", true, 0},        {u"tRuE", true, 0},
    {u"  true  ", true, 0},     {u"yes", false, 0},        {u"1", false, 0},
    {u"true1", false, 0},       {u"", false, 0},           {u"complete", false, 2},
    {u"Complete", false, 0},    {u"minimum", false, 1},    {u"MINIMUM", false, 0},
    {u"complete ", false, 2},   {u"completely", false, 0}, {u"tru\x0130", false, 0},
};

INSTANTIATE_TEST_SUITE_P(Values, GeneralOptionValues, ::testing::ValuesIn(kValueCases));

TEST(GeneralOptions, MinimumInstallerVersionFallsBackTo2) {
    const std::pair<std::u16string, VersionNumber> cases[] = {
        {u"3.1", VersionNumber(3, 1, 0, 0)},
        {u"", VersionNumber(2, 0, 0, 0)},
        {u"0.0", VersionNumber(2, 0, 0, 0)},
        {u"none", VersionNumber(2, 0, 0, 0)},
        {u"99999999999", VersionNumber(2, 0, 0, 0)},
        {u"1.1", VersionNumber(1, 1, 0, 0)},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ReadFrom(u"[GeneralOptions]\r\nMinWIVer=" + text).minWIVer, expected) << Printable(text);
    }
    EXPECT_EQ(Printable(ReadFrom(u"[GeneralOptions]\r\nMinWIVer=").minWIVer.ToText()), "2.0");
}

TEST(GeneralOptions, ExtUIStubIsSetByAnyNonEmptyValue) {
    EXPECT_TRUE(ReadFrom(u"[GeneralOptions]\r\nExtUIStub=false").extUIStub);
    EXPECT_FALSE(ReadFrom(u"[GeneralOptions]\r\nExtUIStub=   ").extUIStub);
}

TEST(GeneralOptions, OptionLettersAreCaseSensitiveAndOrderFree) {
    GeneralOptions options = ReadFrom(u"[GeneralOptions]\r\nOptions=ohQ\r\n");
    EXPECT_TRUE(options.HasOption(kOptionOnlyPendingPrerequisites));
    EXPECT_TRUE(options.HasOption(kOptionSkipFirstWizardPage));
    EXPECT_FALSE(options.HasOption(kOptionQuiet)) << "Q is not q";
    EXPECT_FALSE(options.HasOption(kOptionBasicUi));
    EXPECT_FALSE(options.HasOption(kOptionExtraWizardPage));
    EXPECT_FALSE(options.HasOption(kOptionReinstallOlder));
    options.AddOption(kOptionQuiet);
    options.AddOption(kOptionQuiet);
    EXPECT_EQ(options.options, u"ohQq");
    EXPECT_TRUE(options.HasOption(kOptionQuiet));
}

TEST(GeneralOptions, LanguageIdsKeepOrderAndSkipNonNumbers) {
    EXPECT_EQ(ParseLanguageIds(u"1033,1031, 1036"), (std::vector<std::uint16_t>{1033, 1031, 1036}));
    EXPECT_EQ(ParseLanguageIds(u""), std::vector<std::uint16_t>{});
    EXPECT_EQ(ParseLanguageIds(u",1033,,x,65536,-1,1049,"), (std::vector<std::uint16_t>{1033, 1049}));
    EXPECT_EQ(ParseLanguageIds(u"99999999999999999999,2052"), (std::vector<std::uint16_t>{2052}));
}

struct FolderCase {
    std::u16string written;
    std::u16string normalised;
};

class ExtractionFolderNormalisation : public ::testing::TestWithParam<FolderCase> {};

TEST_P(ExtractionFolderNormalisation, TidiesEveryPart) {
    EXPECT_EQ(Printable(NormaliseExtractionFolder(GetParam().written)), Printable(GetParam().normalised))
        << Printable(GetParam().written);
}

const FolderCase kFolderCases[] = {
    {u"", u""},
    {u"C:\\Setup", u"C:\\Setup\\"},
    {u"C:\\Setup\\", u"C:\\Setup\\"},
    {u"[AppDataFolder]Torvexa\\Maglorin \\", u"[AppDataFolder]Torvexa\\Maglorin\\"},
    {u"[AppDataFolder]\\Torvexa\\install", u"[AppDataFolder]Torvexa\\install\\"},
    {u"[AppDataFolder]", u"[AppDataFolder]"},                       // the reference ends in "\"
    {u"[TempFolder]a\\[Unknown]", u"[TempFolder]a\\[Unknown]"},
    {u"C:\\a. . .\\b...\\c  ", u"C:\\a\\b\\c\\"},
    {u"C:\\a\\..\\b", u"C:\\a\\b\\"},                                // ".." cannot climb
    {u"C:\\a\\.\\b", u"C:\\a\\b\\"},
    {u"C:\\a\\\\\\b", u"C:\\a\\b\\"},
    {u"C:\\ lead\\x", u"C:\\ lead\\x\\"},                            // leading blanks stay
    {u"\\\\?\\C:\\Long\\Path ", u"\\\\?\\C:\\Long\\Path\\"},
    {u"\\\\server\\share\\dir", u"\\\\server\\share\\dir\\"},
    {u"\\root\\dir", u"\\root\\dir\\"},
    {u"C:", u"C:\\"},
    {u"...", u""},
    {u"%TEMP%\\x", u"%TEMP%\\x\\"},
};

INSTANTIATE_TEST_SUITE_P(Folders, ExtractionFolderNormalisation, ::testing::ValuesIn(kFolderCases));

TEST(GeneralOptions, ExtractionFolderIsNormalisedWhenRead) {
    EXPECT_EQ(Printable(ReadFrom(u"[GeneralOptions]\r\nExtractionFolder=[AppDataFolder]A\\B \r\n").extractionFolder),
              "[AppDataFolder]A\\B\\");
}

}  // namespace
}  // namespace maglorin
