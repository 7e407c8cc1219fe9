// The installer launch under Wine, end to end: the main package extracted by the real extractor,
// the command line built, Wine's msiexec.exe run and its full exit code and the clean-up mode
// taken; the instance choice against what msi.dll reports installed.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "configuration_test_text.h"
#include "installer_launch_win32.h"
#include "launch_test_support_win32.h"
#include "msi_library_win32.h"
#include "payload_extractor.h"
#include "win32_handles.h"

namespace maglorin {
namespace {

using namespace test_support;

class RecordedMessages final : public UserMessages {
public:
    std::vector<std::u16string> texts;
    void ShowError(PathTextView text) override { texts.push_back(Utf16FromPath(text)); }
};

// One package opened and its extractor, quiet, extracting into a fresh folder.
struct Launch {
    PayloadReader reader;
    std::unique_ptr<PayloadExtractor> extractor;
    RecordedMessages messages;
    InstallerLaunchRequest request;
    InstanceSelection selection;
    int resumeRemovals = 0;

    explicit Launch(const std::string& package, const std::u16string& options) {
        EXPECT_EQ(reader.Open(Data(package)), kResultSuccess) << package;
        ExtractionSettings settings;
        settings.userInterfaceEnabled = false;
        settings.cleanupMode = CleanupMode::KeepEntries;
        extractor = std::make_unique<PayloadExtractor>(reader, settings);
        extractor->SetExtractionFolder(PathFromUtf16(FreshFolder(package)));
        request.installerOptions = options;
        request.packagePath = DataText(package);
        request.packageFlags = reader.Flags();
        request.extractor = extractor.get();
        request.userInterfaceEnabled = false;
        request.messages = &messages;
        request.removeResumeRegistration = [this] { ++resumeRemovals; };
    }
};

class InstallerLaunch : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureRemoved(kKitProduct);
        ASSERT_TRUE(msi.Load());
    }
    void TearDown() override { EnsureRemoved(kKitProduct); }
    MsiLibrary msi;
};

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A string the kit's database wrote under HKLM\Software\MaglorinLaunchKit; empty when none.
// The kit is a 32-bit package, so on 64-bit Windows its values live in the 32-bit view.
std::u16string KitRegistryValue(const wchar_t* name) {
    RegistryKeyHandle key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\MaglorinLaunchKit", 0, KEY_READ | KEY_WOW64_32KEY,
                        key.Receive()) != ERROR_SUCCESS) {
        return {};
    }
    wchar_t value[1024] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    if (::RegQueryValueExW(key.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &bytes) != ERROR_SUCCESS) {
        return {};
    }
    return std::u16string(reinterpret_cast<const char16_t*>(value));
}

TEST_F(InstallerLaunch, InstallsTheExtractedDatabaseThenRemovesIt) {
    Launch install("kit.pkg", u"/qn KITPASSWORD=hunter2");
    const std::filesystem::path logFile = std::filesystem::path(FreshFolder("log")) / L"setup.log";
    SetupLog log;
    ASSERT_TRUE(log.Open(logFile));
    install.request.log = &log;
    const InstallerLaunchOutcome installed = LaunchInstaller(install.request, install.selection);
    EXPECT_EQ(installed.exitCode, 0);
    EXPECT_EQ(installed.resultToReport, 0);
    EXPECT_FALSE(installed.cleanupMode);
    EXPECT_EQ(install.resumeRemovals, 1);
    ASSERT_EQ(msi.ProductState(kKitProduct), kProductStateInstalled);
    EXPECT_EQ(msi.ProductInfo(kKitProduct, u"ProductName"), u"Maglorin Launch Kit");
    // The database received setup's path and folder intact, final backslash included.
    EXPECT_EQ(KitRegistryValue(L"SetupExePath"), DataText("kit.pkg"));
    EXPECT_EQ(KitRegistryValue(L"SetupExeDir"), FolderWithSeparator(DataText("kit.pkg")));
    const std::string logged = ReadText(logFile);
    EXPECT_NE(logged.find("msiexec.exe\" /i  \""), std::string::npos) << logged;
    EXPECT_NE(logged.find("KIT\\kit.msi\" /qn KITPASSWORD="), std::string::npos) << logged;
    EXPECT_NE(logged.find(" TX_SETUPEXEPATH=\""), std::string::npos) << logged;
    EXPECT_NE(logged.find("kit.pkg\" SETUPEXEDIR=\""), std::string::npos) << logged;
    EXPECT_NE(logged.find("Installer exit code 0"), std::string::npos) << logged;
    EXPECT_EQ(logged.find("hunter2"), std::string::npos) << "secrets never reach the log";

    // The same package run again to remove its product: the files it left need not be kept.
    Launch remove("kit.pkg", u"/x // /qn");
    remove.request.samePackageInstalled = true;
    remove.request.samePackageProductCode = kKitProduct;
    const InstallerLaunchOutcome removed = LaunchInstaller(remove.request, remove.selection);
    EXPECT_EQ(removed.exitCode, 0);
    EXPECT_NE(msi.ProductState(kKitProduct), kProductStateInstalled);
    EXPECT_EQ(removed.cleanupMode, CleanupMode::Default);
    EXPECT_EQ(remove.extractor->Mode(), CleanupMode::Default);
}

// A newer build of the installed product is reinstalled over it ("/fvomus") when the Options
// letter "u" asks for the test; without the letter it is a plain install. Wine's msiexec repairs
// only by product code (it answers 1605 for a package path), so the code is checked as passed
// through rather than as success.
TEST_F(InstallerLaunch, NewerBuildOfTheInstalledProductIsReinstalledInPlace) {
    ASSERT_EQ(Msiexec(u" /i \"" + DataText("kit.msi") + u"\" /qn"), 0u);
    for (const bool reinstallOlder : {true, false}) {
        Launch launch("kit-update.pkg", u"/qn");
        GeneralOptions options;
        options.options = reinstallOlder ? u"qu" : u"q";
        launch.request.generalOptions = &options;
        const std::filesystem::path logFile =
            std::filesystem::path(FreshFolder(reinstallOlder ? "update-log" : "plain-log")) / L"setup.log";
        SetupLog log;
        ASSERT_TRUE(log.Open(logFile));
        launch.request.log = &log;
        const InstallerLaunchOutcome outcome = LaunchInstaller(launch.request, launch.selection);
        const std::string logged = ReadText(logFile);
        const std::string action = reinstallOlder ? "msiexec.exe\" /fvomus  \"" : "msiexec.exe\" /i  \"";
        EXPECT_NE(logged.find(action), std::string::npos) << logged;
        EXPECT_NE(logged.find("Installer exit code " + std::to_string(outcome.exitCode)), std::string::npos) << logged;
        EXPECT_EQ(msi.ProductState(kKitProduct), kProductStateInstalled);
    }
}

TEST_F(InstallerLaunch, FailingDatabasePassesItsFullCodeThrough) {
    Launch launch("failing.pkg", u"/qn");
    const InstallerLaunchOutcome outcome = LaunchInstaller(launch.request, launch.selection);
    EXPECT_EQ(outcome.exitCode, 1603) << "not cut to the 8 bits a Unix exit status keeps";
    EXPECT_EQ(outcome.resultToReport, 0);
    EXPECT_EQ(outcome.cleanupMode, CleanupMode::DeleteMain);
    EXPECT_EQ(launch.extractor->Mode(), CleanupMode::DeleteMain);
    EXPECT_EQ(launch.resumeRemovals, 1);
    EXPECT_NE(msi.ProductState(kFailingProduct), kProductStateInstalled);
}

TEST_F(InstallerLaunch, ExtractionFailureEndsBeforeTheInstaller) {
    Launch launch("nolibrary.pkg", u"/qn");
    const InstallerLaunchOutcome outcome = LaunchInstaller(launch.request, launch.selection);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.resultToReport, kResultLibraryMissing);
    EXPECT_EQ(outcome.cleanupMode, CleanupMode::Default);
    EXPECT_EQ(launch.resumeRemovals, 1);
}

TEST_F(InstallerLaunch, UnreachableAddressIsAnErrorAndStartsNothing) {
    Launch launch("kit.pkg", u"/qn");
    GeneralOptions options;
    options.mainAppURL = u"http://127.0.0.1:9/kit/kit.msi";
    launch.request.generalOptions = &options;
    std::u16string tested;
    launch.request.urlReachable = [&](const std::u16string& url) {
        tested = url;
        return false;
    };
    const InstallerLaunchOutcome outcome = LaunchInstaller(launch.request, launch.selection);
    EXPECT_EQ(tested, options.mainAppURL);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(launch.messages.texts, std::vector<std::u16string>{u"Cannot acces URL: http://127.0.0.1:9/kit/kit.msi"});
    EXPECT_NE(msi.ProductState(kKitProduct), kProductStateInstalled);
}

TEST(RunAndWaitTest, MissingProgramIsNotStarted) {
    EXPECT_FALSE(RunAndWait(u"C:\\no\\such\\program.exe", u" /x"));
}

// setup.ini with the kit as the base instance and one numbered instance.
ConfigurationFile KitInstances() {
    const std::u16string text = u"[STARTUP]\r\nProductCode=" + kKitProduct +
                                u"\r\nProductVersion=1.3.0\r\n[INSTANCES]\r\ninst1=second\r\n"
                                u"[inst1]\r\nProductCode={8D3F5B71-2E4A-4C6B-9D8E-7F6A5B4C3D21}\r\n";
    return ConfigurationFile::Parse(test_support::IniSource(text));
}

class InstanceChoiceTest : public InstallerLaunch {
protected:
    void SetUp() override {
        InstallerLaunch::SetUp();
        ASSERT_EQ(Msiexec(u" /i \"" + DataText("kit.msi") + u"\" /qn"), 0u);
    }
};

TEST_F(InstanceChoiceTest, InstalledBaseInstanceIsOfferedAndCancelEnds) {
    const ConfigurationFile configuration = KitInstances();
    Launch launch("kit.pkg", u"/qn");
    launch.request.configuration = &configuration;
    int asked = 0;
    launch.request.chooseInstance = [&](const InstanceSelection& offered) -> std::optional<InstanceDialogChoice> {
        ++asked;
        EXPECT_EQ(offered.instances.size(), 2u);
        EXPECT_TRUE(offered.instances[0].installed);
        EXPECT_EQ(offered.instances[0].installedProductName, u"Maglorin Launch Kit");
        EXPECT_EQ(offered.instances[0].installedLocation, u"C:\\MaglorinLaunchKit\\");
        EXPECT_FALSE(offered.instances[1].installed);
        return std::nullopt;
    };
    EXPECT_EQ(ChooseInstance(launch.request, launch.selection), -1);
    EXPECT_EQ(asked, 1);
}

TEST_F(InstanceChoiceTest, NewInstanceTakesTheFreeNumberedOne) {
    const ConfigurationFile configuration = KitInstances();
    Launch launch("kit.pkg", u"/qn");
    launch.request.configuration = &configuration;
    launch.request.chooseInstance = [](const InstanceSelection&) -> std::optional<InstanceDialogChoice> {
        return InstanceDialogChoice{InstanceMode::NewInstance, std::nullopt};
    };
    ASSERT_EQ(ChooseInstance(launch.request, launch.selection), 0);
    EXPECT_EQ(BuildInstanceFragment(launch.selection).text, u" TRANSFORMS=:second.mst MSINEWINSTANCE=1 ");
}

TEST_F(InstanceChoiceTest, QuietRunTakesThePreselectedChoiceWithoutAsking) {
    const ConfigurationFile configuration = KitInstances();
    Launch launch("kit.pkg", u"/qn");
    launch.request.configuration = &configuration;
    ASSERT_EQ(ChooseInstance(launch.request, launch.selection), 0);
    EXPECT_EQ(launch.selection.mode, InstanceMode::NewInstance);
}

TEST_F(InstanceChoiceTest, OptionsThatNameTheInstanceAreNotAsked) {
    const ConfigurationFile configuration = KitInstances();
    Launch launch("kit.pkg", u"/i /qn INSTALLDIR=D:/images");
    launch.request.configuration = &configuration;
    launch.request.chooseInstance = [](const InstanceSelection&) -> std::optional<InstanceDialogChoice> {
        ADD_FAILURE() << "the options decide the instance";
        return std::nullopt;
    };
    ASSERT_EQ(ChooseInstance(launch.request, launch.selection), 0);
    EXPECT_EQ(launch.request.installerOptions, u" /qn INSTALLDIR=D:/images");
    EXPECT_EQ(launch.selection.mode, InstanceMode::Maintain);
}

}  // namespace
}  // namespace maglorin
