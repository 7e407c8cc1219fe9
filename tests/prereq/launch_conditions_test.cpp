#include "launch_conditions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "configuration_test_text.h"
#include "launch_condition_messages.h"
#include "reference_resolver.h"
#include "table_machine.h"

namespace maglorin {
namespace {

using test_support::IniSource;
using test_support::Printable;
using test_support::TableFolders;
using test_support::TableMachine;

class TableConditionSystem final : public LaunchConditionSystem {
public:
    OsIdentity os{OsPlatform::Nt32, u"Windows XP x86 Service Pack 3", 5, 1};
    ScreenSize screen{1280, 1024};
    std::int64_t colourBits = 32;
    std::uint64_t memory = 2048ull << 20;
    bool administrator = true;
    std::vector<std::u16string> reachable;
    std::vector<std::u16string> sitesTried;
    int osQuestions = 0, screenQuestions = 0, adminQuestions = 0;

    OsIdentity Os() override { ++osQuestions; return os; }
    ScreenSize PrimaryScreen() override { ++screenQuestions; return screen; }
    std::int64_t ColourBits() override { return colourBits; }
    std::uint64_t PhysicalMemoryBytes() override { return memory; }
    bool IsAdministrator() override { ++adminQuestions; return administrator; }
    bool CanReach(std::u16string_view site) override {
        sitesTried.emplace_back(site);
        for (const std::u16string& r : reachable) if (r == site) return true;
        return false;
    }
};

class LaunchConditionChecks : public ::testing::Test {
protected:
    TableMachine machine;
    TableFolders folders;
    ReferenceResolver resolver{folders, u"D:\\Package\\"};
    SearchEvaluator searches{machine, resolver, nullptr, nullptr};
    TableConditionSystem system;
    std::vector<std::u16string> sites{u"http://127.0.0.1:1/", u"http://127.0.0.1:2/", u"http://127.0.0.1:3/"};

    LaunchConditionsVerdict Check(std::u16string_view section) {
        const std::u16string text = u"[GlobalLaunchConds]\r\n" + std::u16string(section);
        return CheckLaunchConditions(ReadLaunchConditions(ConfigurationFile::Parse(IniSource(text))), system, searches, sites);
    }
    void ExpectMet(std::u16string_view section) {
        const LaunchConditionsVerdict verdict = Check(section);
        EXPECT_EQ(verdict.outcome, LaunchConditionsOutcome::Met)
            << Printable(section) << " failed check " << verdict.check << " with " << Printable(verdict.argument);
    }
    void ExpectNotMet(std::u16string_view section, int check, int messageId, std::u16string_view argument,
                      LaunchConditionsOutcome outcome = LaunchConditionsOutcome::NotMet) {
        const LaunchConditionsVerdict verdict = Check(section);
        EXPECT_EQ(verdict.outcome, outcome) << Printable(section);
        EXPECT_EQ(verdict.check, check) << Printable(section);
        EXPECT_EQ(verdict.messageId, messageId) << Printable(section);
        EXPECT_EQ(Printable(verdict.argument), Printable(argument)) << Printable(section);
    }
    void ExpectPackagingError(std::u16string_view section, int check, int messageId, std::u16string_view value) {
        ExpectNotMet(section, check, messageId, value, LaunchConditionsOutcome::PackagingError);
    }
};

// ---- Reading ----

TEST(LaunchConditionsReading, MissingSectionLeavesEverythingEmpty) {
    const LaunchConditions c = ReadLaunchConditions(ConfigurationFile::Parse(IniSource(u"[Other]\r\nMinIEVer=6\r\n")));
    EXPECT_TRUE(c.minIeVersion.empty());
    EXPECT_FALSE(c.adminPrivileges);
    EXPECT_EQ(c.officeRelease, 0);
}

TEST(LaunchConditionsReading, FlagsByPresenceNamesOnlyWithTheirValuesLastOfficeKeyWins) {
    const LaunchConditions c = ReadLaunchConditions(ConfigurationFile::Parse(IniSource(
        u"[GlobalLaunchConds]\r\nAdminPrivileges=\r\nActiveInternetConnection=false\r\nWin9xName=Old\r\n"
        u"WinNTVersions=Windows 2000\r\nWinNTName=Win2k\r\nOffice2010App=Microsoft Word\r\n"
        u"Office2003App=Microsoft Excel\r\nMinPhisicalMem=256\r\n")));
    EXPECT_TRUE(c.adminPrivileges);
    EXPECT_TRUE(c.activeInternetConnection);
    EXPECT_TRUE(c.win9xName.empty());  // its Win9xVersions is absent
    EXPECT_EQ(Printable(c.winNtName), "Win2k");
    EXPECT_EQ(Printable(c.officeApplication), "Microsoft Word");  // 2010 comes after 2003 in key order
    EXPECT_EQ(c.officeRelease, 2010);
    EXPECT_EQ(Printable(c.minPhysicalMemory), "256");
}

TEST_F(LaunchConditionChecks, NoSectionPassesWithoutAskingAnything) {
    const LaunchConditionsVerdict verdict = CheckLaunchConditions(
        ReadLaunchConditions(ConfigurationFile::Parse(IniSource(u""))), system, searches, sites);
    EXPECT_EQ(verdict.outcome, LaunchConditionsOutcome::Met);
    EXPECT_EQ(verdict.check, 0);
    EXPECT_TRUE(machine.registryAsked.empty());
    EXPECT_EQ(system.osQuestions + system.screenQuestions + system.adminQuestions, 0);
}

// ---- Operating system ----

TEST_F(LaunchConditionChecks, ExcludedVersionsMatchTheExactName) {
    const std::u16string list = u"WinNTVersions=Windows XP x86 Service Pack 2, Windows 2000\r\nWinNTName=XP SP2 or 2000\r\n";
    ExpectMet(list);
    system.os.name = u"Windows XP x86 Service Pack 2";
    ExpectNotMet(list, 1, launch_message::kOsVersions, u"XP SP2 or 2000");
    system.os.name = u"Windows 2000";
    ExpectNotMet(list, 1, launch_message::kOsVersions, u"XP SP2 or 2000");
    system.os.name = u"windows 2000";
    ExpectMet(list);
}

TEST_F(LaunchConditionChecks, FamilyNameExcludesItsWholePlatformOnly) {
    const std::u16string family64 = u"WinNT64Versions=Windows XP/Vista/Windows7 x64\r\nWinNT64Name=64-bit Windows\r\n";
    ExpectMet(family64);  // a 32-bit system
    system.os = {OsPlatform::Nt64, u"Windows 7 x64", 6, 1};
    ExpectNotMet(family64, 1, launch_message::kOsFamily, u"64-bit Windows");
    system.os = {OsPlatform::Windows9x, u"Windows 98", 4, 10};
    ExpectNotMet(u"Win9xVersions=Windows 9x/ME\r\n", 1, launch_message::kOsFamily, u"Windows 9x/ME");
    ExpectMet(u"WinNTVersions=Windows NT/2k/XP/Vista/Windows7 x86\r\n");
}

// ---- Files and registry ----

TEST_F(LaunchConditionChecks, InternetExplorerFromTheSystemWininet) {
    machine.files[u"C:\\Windows\\system32\\wininet.dll"] = VersionNumber(7, 0, 6000, 0);
    ExpectMet(u"MinIEVer=6\r\nMinIEVerName=Internet Explorer 6\r\n");
    ExpectNotMet(u"MinIEVer=8\r\nMinIEVerName=Internet Explorer 8\r\n", 2, launch_message::kInternetExplorer,
                 u"Internet Explorer 8");
    ExpectNotMet(u"MinIEVer=8\r\n", 2, launch_message::kInternetExplorer, u"8");
}

TEST_F(LaunchConditionChecks, IisNeedsAServerFileAndTheServiceWithRedirectionOff) {
    machine.unredirectedFiles[u"C:\\Windows\\system32\\inetsrv\\w3wp.exe"] = VersionNumber(7, 5, 0, 0);
    ExpectNotMet(u"MinIISVer=7\r\n", 3, launch_message::kIis, u"7");  // no W3SVC service
    machine.AddText(u"HKLM\\SYSTEM\\CurrentControlSet\\Services\\W3SVC\\DisplayName", u"World Wide Web");
    ExpectMet(u"MinIISVer=7\r\n");
    EXPECT_TRUE(machine.redirectionOn);
    ExpectNotMet(u"MinIISVer=8\r\n", 3, launch_message::kIis, u"8");
}

TEST_F(LaunchConditionChecks, DotNetStartsAtTheRequestedRowAndTakesAnyLater) {
    machine.AddText(u"HKLM\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full\\Install", u"1");
    ExpectMet(u"MinDotNETVer=3.5\r\n");
    ExpectMet(u"MinDotNETVer=4.0 Client\r\n");
    ExpectMet(u"MinDotNETVer=1.0\r\n");
    machine.values.clear();
    machine.AddText(u"HKLM\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Client\\Install", u"1");
    ExpectMet(u"MinDotNETVer=4.0 Client Profile\r\n");
    ExpectNotMet(u"MinDotNETVer=4.0\r\n", 4, launch_message::kDotNet, u"4.0");  // the client is not the full
    machine.AddText(u"HKLM\\SOFTWARE\\Microsoft\\.NETFramework\\policy\\v1.0\\3705", u"3321-3705");
    machine.values.erase(u"HKLM\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Client\\Install");
    ExpectMet(u"MinDotNETVer=1.0\r\n");
    ExpectNotMet(u"MinDotNETVer=1.1\r\n", 4, launch_message::kDotNet, u"1.1");
}

TEST_F(LaunchConditionChecks, DotNetVersionsNoRowMapsAreAPackagingError) {
    ExpectPackagingError(u"MinDotNETVer=2.5\r\n", 4, launch_message::kDotNet, u"2.5");
    ExpectPackagingError(u"MinDotNETVer=latest\r\n", 4, launch_message::kDotNet, u"latest");
    ExpectPackagingError(u"MinDotNETVer=3.5 SP1\r\n", 4, launch_message::kDotNet, u"3.5 SP1");
    ExpectPackagingError(u"MinDotNETVer=3..5\r\n", 4, launch_message::kDotNet, u"3..5");
    EXPECT_TRUE(machine.registryAsked.empty());
}

TEST_F(LaunchConditionChecks, AcrobatXnaAndDirectXValuesNoTableMapsAreAPackagingError) {
    ExpectPackagingError(u"MinAcrobatReaderVer=4\r\n", 10, launch_message::kAcrobatReader, u"4");
    ExpectPackagingError(u"XNAFramework=3.2\r\n", 15, launch_message::kXna, u"3.2");
    ExpectPackagingError(u"MinDirectXVer=12\r\n", 11, launch_message::kDirectX, u"12");
}

TEST_F(LaunchConditionChecks, AcrobatReaderAnyKeyFromTheRequestedVersionUp) {
    machine.keys.insert(u"HKLM\\Software\\Adobe\\Acrobat Reader\\9.0\\InstallPath");
    ExpectMet(u"MinAcrobatReaderVer=7\r\n");
    ExpectMet(u"MinAcrobatReaderVer=9.0\r\n");
    ExpectNotMet(u"MinAcrobatReaderVer=10\r\n", 10, launch_message::kAcrobatReader, u"10");
}

// ---- Screen, colour, memory ----

TEST_F(LaunchConditionChecks, ScreenNeedsBothSides) {
    system.screen = {1280, 720};
    ExpectNotMet(u"MinScreenRes=1024x768\r\n", 5, launch_message::kScreen, u"1024x768");
    ExpectMet(u"MinScreenRes=1280x720\r\n");
    ExpectNotMet(u"MinScreenRes=1281x600\r\n", 5, launch_message::kScreen, u"1281x600");
    for (const char16_t* bad : {u"1024*768", u"1024x", u"x768", u"1024X768", u"1024x768x2", u"-1x5"}) {
        const std::u16string line = u"MinScreenRes=" + std::u16string(bad) + u"\r\n";
        ExpectPackagingError(line, 5, launch_message::kScreen, bad);
    }
}

TEST_F(LaunchConditionChecks, ColourAndMemoryInWholeUnits) {
    system.colourBits = 16;
    ExpectNotMet(u"MinColorQuality=24\r\n", 6, launch_message::kColour, u"24");
    ExpectMet(u"MinColorQuality=16\r\n");
    ExpectPackagingError(u"MinColorQuality=high\r\n", 6, launch_message::kColour, u"high");
    system.memory = 1536ull << 20;
    ExpectMet(u"MinPhisicalMem=1536\r\n");
    ExpectNotMet(u"MinPhisicalMem=1537\r\n", 7, launch_message::kMemory, u"1537");
    system.memory += 104858;  // 1536.1 MB counts as 1537
    ExpectMet(u"MinPhisicalMem=1537\r\n");
    ExpectPackagingError(u"MinPhisicalMem=1 GB\r\n", 7, launch_message::kMemory, u"1 GB");
}

// ---- Administrator and Internet ----

TEST_F(LaunchConditionChecks, AdministratorRightsExceptOn9x) {
    system.administrator = false;
    ExpectNotMet(u"AdminPrivileges=0\r\n", 8, launch_message::kAdministrator, u"");
    system.os = {OsPlatform::Windows9x, u"Windows 98 SE", 4, 10};
    system.adminQuestions = 0;
    ExpectMet(u"AdminPrivileges=1\r\n");
    EXPECT_EQ(system.adminQuestions, 0);
}

TEST_F(LaunchConditionChecks, InternetTriesEachSiteUntilOneAnswers) {
    ExpectNotMet(u"ActiveInternetConnection=1\r\n", 9, launch_message::kInternet, u"");
    EXPECT_EQ(system.sitesTried, sites);
    system.sitesTried.clear();
    system.reachable = {sites[1]};
    ExpectMet(u"ActiveInternetConnection=1\r\n");
    EXPECT_EQ(system.sitesTried, (std::vector<std::u16string>{sites[0], sites[1]}));
}

// ---- DirectX and Java ----

TEST_F(LaunchConditionChecks, DirectXTenAndElevenComeWithTheirWindows) {
    system.os = {OsPlatform::Nt64, u"Windows Vista x64 Service Pack 1", 6, 0};
    ExpectMet(u"MinDirectXVer=10\r\n");
    EXPECT_TRUE(machine.registryAsked.empty());
    ExpectNotMet(u"MinDirectXVer=11\r\n", 11, launch_message::kDirectX, u"11");
    system.os = {OsPlatform::Nt32, u"Windows 7 x86 Service Pack 1", 6, 1};
    machine.registryAsked.clear();
    ExpectMet(u"MinDirectXVer=10\r\n");
    ExpectMet(u"MinDirectXVer=11\r\n");
    EXPECT_TRUE(machine.registryAsked.empty());
}

TEST_F(LaunchConditionChecks, OlderDirectXFromTheRegistryVersion) {
    machine.AddText(u"HKLM\\SOFTWARE\\Microsoft\\DirectX\\Version", u"4.09.00.0902");
    ExpectMet(u"MinDirectXVer=9.0b\r\n");
    ExpectNotMet(u"MinDirectXVer=9.0c\r\n", 11, launch_message::kDirectX, u"9.0c");
    ExpectNotMet(u"MinDirectXVer=10\r\n", 11, launch_message::kDirectX, u"10");  // XP
}

TEST_F(LaunchConditionChecks, JavaKitsBySubkeyVersion) {
    machine.subkeys[u"HKLM\\SOFTWARE\\JavaSoft\\Java Runtime Environment"] = {u"1.6", u"1.6.0_45"};
    ExpectMet(u"MinJREVer=1.6\r\n");
    ExpectNotMet(u"MinJREVer=1.7\r\n", 12, launch_message::kJre, u"1.7");
    ExpectNotMet(u"MinJDKVer=1.5\r\n", 13, launch_message::kJdk, u"1.5");
}

// ---- Office ----

TEST_F(LaunchConditionChecks, OfficeApplicationFromItsReleaseUp) {
    machine.AddText(u"HKLM\\SOFTWARE\\Microsoft\\Office\\14.0\\Word\\InstallRoot\\Path", u"C:\\Office14\\");
    ExpectMet(u"Office2007App=Microsoft Word\r\n");
    ExpectNotMet(u"Office2003App=Microsoft Excel\r\n", 14, launch_message::kOffice2003, u"Microsoft Excel");
    ExpectNotMet(u"Office2007App=Microsoft Excel\r\n", 14, launch_message::kOffice2007, u"Microsoft Excel");
    ExpectNotMet(u"Office2010App=Microsoft Access\r\n", 14, launch_message::kOffice2010, u"Microsoft Access");
    ExpectMet(u"Office2003App=Microsoft Paint\r\n");  // not in the table: not checked
}

TEST_F(LaunchConditionChecks, GrooveIsFoundByItsOwnKeyNotExcels) {
    machine.AddText(u"HKLM\\SOFTWARE\\Microsoft\\Office\\12.0\\Excel\\InstallRoot\\Path", u"C:\\Office12\\");
    ExpectNotMet(u"Office2007App=Microsoft Groove\r\n", 14, launch_message::kOffice2007, u"Microsoft Groove");
    machine.AddText(u"HKLM\\SOFTWARE\\Microsoft\\Office\\12.0\\Groove\\InstallRoot\\Path", u"C:\\Office12\\");
    ExpectMet(u"Office2007App=Microsoft Groove\r\n");
    ExpectNotMet(u"Office2010App=Microsoft Groove\r\n", 14, launch_message::kOffice2010, u"Microsoft Groove");
}

TEST_F(LaunchConditionChecks, VisioViewerByItsFileVersionInEitherProgramFolder) {
    ExpectNotMet(u"Office2010App=Microsoft Visio Viewer\r\n", 14, launch_message::kOffice2010, u"Microsoft Visio Viewer");
    folders.programW6432 = u"C:\\Program Files (x64)";
    machine.files[u"C:\\Program Files (x64)\\Microsoft Office\\Office14\\vviewer.dll"] = VersionNumber(14, 0, 4760, 1000);
    ExpectMet(u"Office2010App=Microsoft Visio Viewer\r\n");
    machine.files[u"C:\\Program Files (x64)\\Microsoft Office\\Office14\\vviewer.dll"] = VersionNumber(12, 0, 0, 0);
    ExpectNotMet(u"Office2003App=Microsoft Visio Viewer\r\n", 14, launch_message::kOffice2003, u"Microsoft Visio Viewer");
}

TEST_F(LaunchConditionChecks, XnaFromTheRequestedVersionUp) {
    machine.AddText(u"HKLM\\SOFTWARE\\Microsoft\\XNA\\Framework\\v3.1\\NativeLibraryPath", u"C:\\XNA\\");
    ExpectMet(u"XNAFramework=3.0\r\n");
    ExpectNotMet(u"XNAFramework=4.0\r\n", 15, launch_message::kXna, u"4.0");
}

// ---- SQL Server, ActiveSync ----

TEST_F(LaunchConditionChecks, SqlServerAnyRowOfTheNameInRange) {
    machine.AddText(u"HKLM\\SOFTWARE\\Microsoft\\Microsoft SQL Server Native Client 10.0\\CurrentVersion\\Version", u"10.50.1600.1");
    ExpectMet(u"SQLExpress=SQL Server Express 2008 R2\r\n");
    ExpectMet(u"SQLExpress=SQL Server Express 2008 SP1\r\n");
    ExpectNotMet(u"SQLExpress=SQL Server Express 2008\r\n", 16, launch_message::kSql, u"SQL Server Express 2008");
    ExpectNotMet(u"SQLExpress=SQL Server 2019\r\n", 16, launch_message::kSql, u"SQL Server 2019");
    machine.AddNumber(u"HKLM\\SOFTWARE\\Microsoft\\Microsoft SQL Server Compact Edition\\v3.5\\ENU\\DesktopRuntimeServicePackLevel", 1);
    ExpectMet(u"SQLCompact=SQL Server Compact 3.5 SP1\r\n");
    ExpectNotMet(u"SQLCompact=SQL Server Compact 3.5 SP2\r\n", 17, launch_message::kSql, u"SQL Server Compact 3.5 SP2");
}

TEST_F(LaunchConditionChecks, ActiveSyncNeedsTheApplicationAndAnEqualOrLaterVersion) {
    ExpectNotMet(u"ActiveSync=ActiveSync 4.5\r\n", 18, launch_message::kActiveSync, u"ActiveSync 4.5");
    machine.AddText(u"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE\\", u"C:\\ceappmgr.exe");
    machine.AddNumber(u"HKLM\\SOFTWARE\\Microsoft\\Windows CE Services\\MajorVersion", 4);
    machine.AddNumber(u"HKLM\\SOFTWARE\\Microsoft\\Windows CE Services\\MinorVersion", 5);
    ExpectMet(u"ActiveSync=ActiveSync 4.5\r\n");
    ExpectMet(u"ActiveSync=ActiveSync 3.8\r\n");  // a later major with a smaller minor
    ExpectNotMet(u"ActiveSync=Windows Mobile Device Center 6.0\r\n", 18, launch_message::kActiveSync,
                 u"Windows Mobile Device Center 6.0");
    ExpectMet(u"ActiveSync=ActiveSync 9.9\r\n");  // a name in no row
}

// ---- Interop assemblies and tools runtimes ----

TEST_F(LaunchConditionChecks, InteropAssembliesByComponentCode) {
    machine.components[u"{816D4DFD-FF7B-4C16-8943-EEB07DF989CB}"] = ComponentInstallState::Local;
    ExpectMet(u"Office2007Pia=Microsoft Word\r\n");
    ExpectNotMet(u"Office2003Pia=Microsoft Word\r\n", 19, launch_message::kInterop2003, u"Microsoft Word");
    ExpectNotMet(u"Office2010Pia=Microsoft Word\r\n", 21, launch_message::kInterop2010, u"Microsoft Word");
    machine.componentsAsked.clear();
    ExpectNotMet(u"Office2007Pia=Microsoft Paint\r\n", 20, launch_message::kInterop2007, u"Microsoft Paint");
    EXPECT_TRUE(machine.componentsAsked.empty());
    machine.components[u"{64E2917E-AA13-4CA4-BFFE-EA6EDA3AFCB4}"] = ComponentInstallState::Source;
    ExpectMet(u"OfficeSharedPia=Office Shared 2010\r\n");
    ExpectNotMet(u"OfficeSharedPia=Office Shared 2007\r\n", 22, launch_message::kInteropShared, u"Office Shared 2007");
}

TEST_F(LaunchConditionChecks, ToolsRuntimeByItsValue) {
    machine.AddNumber(u"HKLM\\SOFTWARE\\Microsoft\\VSTO Runtime Setup\\v4\\Install", 1);
    ExpectMet(u"VisualStudioToolsOffice=Visual Studio Tools for Office 2010 Runtime\r\n");
    ExpectNotMet(u"VisualStudioToolsOffice=Visual Studio Tools for Office 2005 SE Runtime\r\n", 23,
                 launch_message::kToolsRuntime, u"Visual Studio Tools for Office 2005 SE Runtime");
    ExpectNotMet(u"VisualStudioToolsOffice=Tools 2099\r\n", 23, launch_message::kToolsRuntime, u"Tools 2099");
}

// ---- Order ----

TEST_F(LaunchConditionChecks, FirstFailureInCheckOrderEndsTheEvaluation) {
    system.screen = {640, 480};
    system.administrator = false;
    // Written in another order in the file: the screen (5) still comes before the administrator (8).
    ExpectNotMet(u"AdminPrivileges=1\r\nMinScreenRes=800x600\r\nVisualStudioToolsOffice=x\r\n", 5, launch_message::kScreen,
                 u"800x600");
    EXPECT_EQ(system.adminQuestions, 0);
    ExpectNotMet(u"VisualStudioToolsOffice=x\r\nAdminPrivileges=1\r\n", 8, launch_message::kAdministrator, u"");
}

// ---- Texts ----

TEST(LaunchConditionTexts, ProductNameFirstThenTheValue) {
    EXPECT_EQ(Printable(FormatLaunchConditionMessage(launch_message::kScreen, u"Maglorin", u"1024x768")),
              "Maglorin can not be installed on systems with screen resolution lower than 1024x768");
    EXPECT_EQ(Printable(FormatLaunchConditionMessage(launch_message::kAdministrator, u"Maglorin", u"")),
              "Maglorin requires administrative privileges to install.");
    // Percent signs inside the arguments are never read as placeholders.
    EXPECT_EQ(Printable(FormatLaunchConditionMessage(launch_message::kSql, u"%s 100%", u"%s")),
              "%s 100% can not be installed on systems without %s");
    EXPECT_EQ(Printable(*LaunchConditionText(launch_message::kEvaluating)), "Evaluating launch conditions...");
    EXPECT_FALSE(LaunchConditionText(207 + 1000).has_value());
}

TEST(LaunchConditionTexts, EveryCheckHasItsTextWithTheProductName) {
    using namespace launch_message;
    for (const int id : {kOsFamily, kOsVersions, kInternetExplorer, kIis, kScreen, kColour, kMemory, kDotNet,
                         kAdministrator, kAcrobatReader, kJre, kDirectX, kInternet, kOffice2003, kOffice2007, kXna,
                         kJdk, kSql, kActiveSync, kInterop2003, kInterop2007, kToolsRuntime, kOffice2010, kInterop2010,
                         kInteropShared}) {
        const std::optional<std::u16string_view> text = LaunchConditionText(id);
        ASSERT_TRUE(text.has_value()) << id;
        EXPECT_TRUE(text->starts_with(u"%s ")) << id << ": " << Printable(*text);
    }
    EXPECT_FALSE(LaunchConditionText(216).has_value());  // a string of another part of setup
}

}  // namespace
}  // namespace maglorin
