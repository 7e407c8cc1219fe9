#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prerequisite_list.h"
#include "prerequisite_rules.h"

namespace maglorin {
namespace {

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

// setup.ini as stored: a byte-order mark, then UTF-16LE.
ConfigurationFile Ini(std::u16string_view text) {
    std::vector<std::byte> bytes = {std::byte{0xFF}, std::byte{0xFE}};
    for (const char16_t c : text) {
        bytes.push_back(static_cast<std::byte>(c & 0xFF));
        bytes.push_back(static_cast<std::byte>(c >> 8));
    }
    return ConfigurationFile::Parse(std::span<const std::byte>(bytes));
}

// --- Loading -------------------------------------------------------------------------------

TEST(PrerequisiteLoadTest, ReadsEveryKeyInAppOrder) {
    const ConfigurationFile ini = Ini(
        u"[PREREQUISITES]\r\nApp2=Second\r\nApp1=Runtime\r\n"
        u"[Runtime]\r\nUrl=http://127.0.0.1/r.exe\r\nExactSize=1234\r\nMD5=ABCDEF\r\nOperator=1\r\n"
        u"CommandLine=/q [SETUPEXEDIR]\r\nOptions=mr\r\nRetValPropName=RT_RESULT\r\nParentPrereq=Base\r\n"
        u"Folder=rt?saved.exe\r\nLanguageList=1033;1031\r\nWinNTVersions=Windows XP x86 Service Pack 3\r\n"
        u"VerMin=1.0\r\nSearchType1=0\r\nSearchString1=[SystemFolder]rt.dll\r\nVerMin1=2.0\r\nVerMax1=3.0\r\n"
        u"SearchType2=10\r\nSearchString2=probe.exe\r\nRefContent2=WND_HIDE\r\nSearchCmdLine2=-x\r\n"
        u"[Second]\r\nSetupFile=second.exe\r\n");
    const std::vector<Prerequisite> list = LoadPrerequisites(ini);
    ASSERT_EQ(list.size(), 2u);
    const Prerequisite& p = list[0];
    EXPECT_EQ(p.name, u"Runtime");
    EXPECT_EQ(p.target, PrerequisiteTarget::Url);
    EXPECT_EQ(p.targetText, u"http://127.0.0.1/r.exe");
    EXPECT_EQ(p.exactSize, 1234u);
    EXPECT_EQ(p.md5, u"ABCDEF");
    EXPECT_EQ(p.listOperator, 1);
    EXPECT_EQ(p.commandLine, u"/q [SETUPEXEDIR]");
    EXPECT_TRUE(p.Mandatory());
    EXPECT_TRUE(p.RestartAfter());
    EXPECT_FALSE(p.SixtyFourBitSearches());
    EXPECT_EQ(p.resultProperty, u"RT_RESULT");
    EXPECT_EQ(p.parentPrerequisite, u"Base");
    EXPECT_EQ(p.folder, u"rt?saved.exe");
    EXPECT_EQ(p.languageList, u"1033;1031;");
    EXPECT_EQ(p.winNtVersions, u"Windows XP x86 Service Pack 3");
    EXPECT_EQ(p.versionMin, u"1.0");
    ASSERT_EQ(p.searches.size(), 2u);
    EXPECT_EQ(p.searches[0].type, 0);
    EXPECT_EQ(p.searches[0].searchString, u"[SystemFolder]rt.dll");
    EXPECT_EQ(p.searches[0].minimumVersion, u"2.0");
    EXPECT_EQ(p.searches[0].maximumVersion, u"3.0");
    EXPECT_EQ(p.searches[1].type, 10);
    EXPECT_EQ(p.searches[1].referenceContent, u"WND_HIDE");
    EXPECT_EQ(p.searches[1].searchCommandLine, u"-x");
    EXPECT_EQ(p.detectionStatus, prerequisite_status::kMissingDownload);
    EXPECT_EQ(list[1].name, u"Second");
    EXPECT_EQ(list[1].target, PrerequisiteTarget::SetupFile);
    EXPECT_TRUE(list[1].searches.empty());
}

TEST(PrerequisiteLoadTest, TargetOrderAndWhereTheListEnds) {
    struct Case {
        const char16_t* ini;
        std::size_t count;
        PrerequisiteTarget firstTarget;
        const char16_t* firstText;
    };
    const Case cases[] = {
        // All three targets: SetupFile wins, then OpenSite, then Url.
        {u"[PREREQUISITES]\r\nApp1=A\r\n[A]\r\nUrl=u\r\nOpenSite=s\r\nSetupFile=f\r\n", 1, PrerequisiteTarget::SetupFile, u"f"},
        {u"[PREREQUISITES]\r\nApp1=A\r\n[A]\r\nUrl=u\r\nOpenSite=s\r\n", 1, PrerequisiteTarget::OpenSite, u"s"},
        // A gap in the numbers ends the list.
        {u"[PREREQUISITES]\r\nApp1=A\r\nApp3=B\r\n[A]\r\nUrl=u\r\n[B]\r\nUrl=v\r\n", 1, PrerequisiteTarget::Url, u"u"},
        // A section without a target ends the list there.
        {u"[PREREQUISITES]\r\nApp1=A\r\nApp2=B\r\nApp3=C\r\n[A]\r\nUrl=u\r\n[B]\r\nName=x\r\n[C]\r\nUrl=w\r\n", 1,
         PrerequisiteTarget::Url, u"u"},
        // A search type without its search string makes the section invalid.
        {u"[PREREQUISITES]\r\nApp1=A\r\nApp2=B\r\n[A]\r\nUrl=u\r\n[B]\r\nUrl=v\r\nSearchType1=0\r\n", 1,
         PrerequisiteTarget::Url, u"u"},
        // A section that does not exist ends the list.
        {u"[PREREQUISITES]\r\nApp1=Missing\r\n", 0, PrerequisiteTarget::SetupFile, u""},
        {u"[GeneralOptions]\r\nOptions=q\r\n", 0, PrerequisiteTarget::SetupFile, u""},
    };
    for (const Case& c : cases) {
        const std::vector<Prerequisite> list = LoadPrerequisites(Ini(c.ini));
        ASSERT_EQ(list.size(), c.count) << Narrow(c.ini);
        if (c.count == 0) continue;
        EXPECT_EQ(list[0].target, c.firstTarget) << Narrow(c.ini);
        EXPECT_EQ(list[0].targetText, c.firstText) << Narrow(c.ini);
    }
}

TEST(PrerequisiteLoadTest, SearchesStopAtTheFirstMissingNumber) {
    const std::vector<Prerequisite> list = LoadPrerequisites(
        Ini(u"[PREREQUISITES]\r\nApp1=A\r\n[A]\r\nSetupFile=a.exe\r\nSearchType1=5\r\nSearchString1=HKLM\\A\r\n"
            u"SearchType3=5\r\nSearchString3=HKLM\\C\r\nExactSize=junk\r\n"));
    ASSERT_EQ(list.size(), 1u);
    ASSERT_EQ(list[0].searches.size(), 1u);
    EXPECT_EQ(list[0].searches[0].searchString, u"HKLM\\A");
    EXPECT_EQ(list[0].exactSize, 0u);
}

// --- Applicability ---------------------------------------------------------------------------

TEST(PrerequisiteAppliesTest, SystemListsAndLanguages) {
    const OsIdentity xp{OsPlatform::Nt32, u"Windows XP x86 Service Pack 3", 5, 1};
    const OsIdentity seven64{OsPlatform::Nt64, u"Windows 7 x64 Service Pack 1", 6, 1};
    struct Case {
        const char16_t* nt;
        const char16_t* nt64;
        const char16_t* languages;
        const OsIdentity* os;
        std::uint16_t language;
        bool applies;
    };
    const Case cases[] = {
        {u"", u"", u"", &xp, 1033, true},
        {u"Windows XP x86 Service Pack 3", u"", u"", &xp, 1033, false},
        {u"Windows 2000 x86, Windows XP x86 Service Pack 3", u"", u"", &xp, 1033, false},
        {u"Windows XP x86", u"", u"", &xp, 1033, true},  // names compare whole
        {u"Windows NT/2k/XP/Vista/Windows7 x86", u"", u"", &xp, 1033, false},
        {u"Windows XP x86 Service Pack 3", u"", u"", &seven64, 1033, true},  // the NT list is not the x64 one
        {u"", u"Windows XP/Vista/Windows7 x64", u"", &seven64, 1033, false},
        {u"", u"", u"1033;1031;", &xp, 1031, true},
        {u"", u"", u"1033;1031;", &xp, 1036, false},
        {u"", u"", u"66567;", &xp, 1031, true},  // 66567 is 1031 as a 16-bit value
        {u"", u"", u"10311;", &xp, 1031, false},
    };
    for (const Case& c : cases) {
        Prerequisite p;
        p.winNtVersions = c.nt;
        p.winNt64Versions = c.nt64;
        p.languageList = c.languages;
        EXPECT_EQ(PrerequisiteApplies(p, *c.os, c.language), c.applies) << Narrow(c.nt) << Narrow(c.nt64)
                                                                        << Narrow(c.languages);
    }
    EXPECT_TRUE(LanguageListAllows(u"1033;1031", 1031));
    EXPECT_FALSE(LanguageListAllows(u";;", 0));
}

// --- Actions ---------------------------------------------------------------------------------

TEST(PrerequisiteActionTest, FromStatusSelectionAndTarget) {
    using namespace prerequisite_action;
    struct Case {
        PrerequisiteTarget target;
        int status;
        bool selected;
        bool downloaded;
        bool localReady;
        int action;
    };
    const Case cases[] = {
        {PrerequisiteTarget::Url, 2, false, false, false, kNotSelected},
        {PrerequisiteTarget::SetupFile, 1, true, false, false, kRunFromPayload},
        {PrerequisiteTarget::Url, 2, true, false, false, kDownload},
        {PrerequisiteTarget::Url, 2, true, true, false, kRunDownloaded},
        {PrerequisiteTarget::OpenSite, 3, true, false, false, kOpenSite},
        {PrerequisiteTarget::Url, 4, true, false, false, kNotApplicable},
        {PrerequisiteTarget::SetupFile, 0, true, false, false, kRunFromPayload},
        {PrerequisiteTarget::OpenSite, 0, true, false, false, kOpenSite},
        {PrerequisiteTarget::Url, 0, true, false, true, kRunDownloaded},
        {PrerequisiteTarget::Url, 0, true, false, false, kDownload},
    };
    for (const Case& c : cases) {
        Prerequisite p;
        p.target = c.target;
        p.detectionStatus = c.status;
        p.selected = c.selected;
        p.downloaded = c.downloaded;
        EXPECT_EQ(PrerequisiteAction(p, c.localReady), c.action) << static_cast<int>(c.target) << " " << c.status;
    }
    Prerequisite p;
    p.target = PrerequisiteTarget::OpenSite;
    EXPECT_EQ(StatusAfterSearches(p, false), prerequisite_status::kMissingSite);
    EXPECT_EQ(StatusAfterSearches(p, true), prerequisite_status::kPresent);
}

// --- Choice and blocking ----------------------------------------------------------------------

TEST(PrerequisiteChoiceTest, DefaultsLeavingOutAndMandatoryBlocking) {
    struct Case {
        int status;
        const char16_t* options;
        bool chosen;
        bool mayLeaveOut;
    };
    const Case cases[] = {
        {prerequisite_status::kPresent, u"m", false, true},
        {prerequisite_status::kMissingPayload, u"m", true, false},
        {prerequisite_status::kMissingDownload, u"", true, true},
        {prerequisite_status::kMissingSite, u"rm", true, false},
        {prerequisite_status::kNotApplicable, u"m", false, false},
    };
    for (const Case& c : cases) {
        Prerequisite p;
        p.detectionStatus = c.status;
        p.options = c.options;
        EXPECT_EQ(ChosenByDefault(p), c.chosen) << c.status;
        EXPECT_EQ(MayBeLeftOut(p), c.mayLeaveOut) << c.status;
    }

    std::vector<Prerequisite> list(2);
    list[0].options = u"m";
    list[0].detectionStatus = prerequisite_status::kPresent;
    list[1].detectionStatus = prerequisite_status::kMissingPayload;
    EXPECT_FALSE(MandatoryStillMissing(list));  // the missing one is optional
    list[1].options = u"m";
    EXPECT_TRUE(MandatoryStillMissing(list));
    list[1].selected = false;  // one that does not apply here is never chosen: it does not block
    list[1].detectionStatus = prerequisite_status::kNotApplicable;
    EXPECT_FALSE(MandatoryStillMissing(list));

    // Something to do only while a chosen one has an action that runs, downloads or opens.
    list[0].selected = false;
    EXPECT_FALSE(AnythingToDo(list));
    list[1].selected = true;
    EXPECT_FALSE(AnythingToDo(list));  // action 4: does not apply
    list[1].detectionStatus = prerequisite_status::kMissingSite;
    EXPECT_TRUE(AnythingToDo(list));
}

// --- Local place -----------------------------------------------------------------------------

TEST(PrerequisiteLocalPlaceTest, FolderNameAndAddress) {
    struct Case {
        const char16_t* downloadFolder;
        const char16_t* folder;
        const char16_t* address;
        const char16_t* place;
    };
    const Case cases[] = {
        {u"C:\\dl", u"", u"http://h/a/b/tool.exe", u"C:\\dl\\tool.exe"},
        {u"C:\\dl\\", u"rt", u"http://h/tool.exe?x=1#f", u"C:\\dl\\rt\\tool.exe"},
        {u"C:\\dl", u"rt\\x?saved.exe", u"http://h/tool.exe", u"C:\\dl\\rt\\x\\saved.exe"},
        {u"C:\\dl", u"?saved.exe", u"http://h/", u"C:\\dl\\saved.exe"},
        {u"C:\\dl", u"", u"ftp://user:pw@h:21/pub/f.bin", u"C:\\dl\\f.bin"},
        // No file name can be formed.
        {u"C:\\dl", u"", u"http://h/", u""},
        {u"C:\\dl", u"", u"http://h", u""},
        {u"C:\\dl", u"rt?", u"http://h/a.exe", u""},
        // Nothing may land outside the download folder.
        {u"C:\\dl", u"..\\up", u"http://h/a.exe", u""},
        {u"C:\\dl", u"a\\..\\..", u"http://h/a.exe", u""},
        {u"C:\\dl", u"D:\\other", u"http://h/a.exe", u""},
        {u"C:\\dl", u"\\root", u"http://h/a.exe", u""},
        {u"C:\\dl", u"?..\\x.exe", u"http://h/a.exe", u""},
        {u"C:\\dl", u"", u"http://h/..", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DownloadLocalPlace(c.downloadFolder, c.folder, c.address), c.place)
            << Narrow(c.folder) << " " << Narrow(c.address);
    }
    EXPECT_EQ(LocalFileAddress(u"file://C:\\kit\\r.exe"), u"C:\\kit\\r.exe");
    EXPECT_FALSE(LocalFileAddress(u"http://h/r.exe").has_value());
}

// --- Verification ----------------------------------------------------------------------------

TEST(PrerequisiteVerifyTest, SizeThenDigest) {
    const std::string digest = "0123456789abcdef0123456789abcdef";
    struct Case {
        std::uint64_t exactSize;
        const char16_t* md5;
        std::uint64_t actualSize;
        FileVerdict verdict;
    };
    const Case cases[] = {
        {0, u"", 5, FileVerdict::Accepted},
        {5, u"", 5, FileVerdict::Accepted},
        {5, u"", 6, FileVerdict::WrongSize},
        {6, u"0123456789abcdef0123456789abcdef", 5, FileVerdict::WrongSize},
        {0, u"0123456789ABCDEF0123456789abcdef", 5, FileVerdict::Accepted},
        {5, u"0123456789abcdef0123456789abcdee", 5, FileVerdict::WrongDigest},
        {0, u"0123456789abcdef", 5, FileVerdict::WrongDigest},
        {0, u"0123456789abcdef0123456789abcdef0", 5, FileVerdict::WrongDigest},
        {0, u"0123456789ABCDEF0123456789ABCDEG", 5, FileVerdict::WrongDigest},
    };
    for (const Case& c : cases) {
        Prerequisite p;
        p.exactSize = c.exactSize;
        p.md5 = c.md5;
        EXPECT_EQ(VerifyPrerequisiteFile(p, c.actualSize, digest), c.verdict) << Narrow(c.md5) << " " << c.actualSize;
    }
}

// --- Site shortcut and exit codes ------------------------------------------------------------

TEST(PrerequisiteSiteTest, ShortcutTextHasExactlyTwoLines) {
    EXPECT_EQ(UrlShortcutText(u"http://example.com/get"), u"[InternetShortcut]\r\nURL=http://example.com/get\r\n");
    EXPECT_EQ(UrlShortcutText(u"http://e.com/\r\nIconFile=evil\n"), u"[InternetShortcut]\r\nURL=http://e.com/IconFile=evil\r\n");
}

TEST(PrerequisitesEndTest, ExitCodesHandedToTheMainFlow) {
    struct Case {
        PrerequisitesEnd end;
        std::int32_t result;
        std::optional<std::int32_t> exitCode;
        bool stop;
    };
    const Case cases[] = {
        {{false, false, false}, 0, std::nullopt, false},
        {{true, false, false}, 0, -1, true},
        {{true, true, true}, 0, -1, true},
        {{false, true, false}, 1, 3010, false},
        {{false, true, true}, 1, 3010, false},
        {{false, false, true}, 1, 1, false},
    };
    for (const Case& c : cases) {
        const PrerequisitesVerdict verdict = DecidePrerequisitesEnd(c.end);
        EXPECT_EQ(verdict.result, c.result);
        EXPECT_EQ(verdict.exitCode, c.exitCode);
        EXPECT_EQ(verdict.stopRun, c.stop);
    }
    EXPECT_TRUE(PausesAfterExitCode(3010));
    EXPECT_TRUE(PausesAfterExitCode(0xC0000005u));
    EXPECT_FALSE(PausesAfterExitCode(0xBFFFFFFFu));
    EXPECT_FALSE(PausesAfterExitCode(0));
}

}  // namespace
}  // namespace maglorin
