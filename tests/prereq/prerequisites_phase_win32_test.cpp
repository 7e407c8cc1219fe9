// The prerequisites phase against the real system: prerequisites named by file:// addresses that
// point at the stand-in installer prereq_sample.exe beside this test, detected through a registry
// key the stand-in creates. The restart is replaced: a real one would end the Wine session.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "configuration_test_text.h"
#include "prerequisite_work_win32.h"
#include "prerequisites_phase_win32.h"
#include "sample_installer_scratch_win32.h"

namespace maglorin {
namespace {

std::u16string Utf16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

constexpr wchar_t kKeyRoot[] = L"Software\\MaglorinPrereqTest";

class PrerequisitesPhaseTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(scratch_.Create(L"maglorin-prereq-phase", kKeyRoot)); }
    void TearDown() override { scratch_.Remove(); }

    // One prerequisite "Sample" run from the stand-in; `code` is its exit code, `createKey`
    // whether it marks itself installed.
    std::u16string Ini(const std::u16string& extra, int code, bool createKey) const {
        const std::u16string codeText = Utf16(std::to_wstring(code));
        return u"[PREREQUISITES]\r\nApp1=Sample\r\n[Sample]\r\nUrl=file://" + Utf16(scratch_.sample) +
               u"\r\nSearchType1=5\r\nSearchString1=HKCU\\Software\\MaglorinPrereqTest\\Sample\r\n"
               u"RetValPropName=SAMPLE_RESULT\r\nCommandLine=\"" + Utf16(scratch_.record) + u"\" " + codeText +
               (createKey ? u" Software\\MaglorinPrereqTest\\Sample" : u"") + u"\r\n" + extra;
    }

    PrerequisitesOutcome Run(const std::u16string& ini) {
        configuration_ = ConfigurationFile::Parse(test_support::IniSource(ini));
        PrerequisitesRequest request;
        request.configuration = &configuration_;
        request.userInterfaceEnabled = false;
        request.pauseAfterFailureMs = 0;
        request.registerResume = [this] { events_.push_back("register"); };
        request.askAndRestart = [this](bool silent) {
            events_.push_back(silent ? "restart silent" : "restart asked");
            return declineRestart_;
        };
        request.showProgress = [this](int id, const std::u16string& name) {
            events_.push_back(std::to_string(id) + " " + std::string(name.begin(), name.end()));
        };
        request.cancelRequested = [this] { return cancelAfter_ >= 0 && cancelAfter_-- == 0; };
        return RunPrerequisites(request);
    }

    int Runs() const { return scratch_.Runs(); }

    test_support::SampleInstallerScratch scratch_;
    ConfigurationFile configuration_;
    std::vector<std::string> events_;
    bool declineRestart_ = false;
    int cancelAfter_ = -1;  // how many questions answer "go on" before the cancel; -1: never
};

TEST_F(PrerequisitesPhaseTest, RunsTheInstallerAndHandsOnItsExitCode) {
    const PrerequisitesOutcome outcome = Run(Ini(u"", 42, true));
    EXPECT_EQ(Runs(), 1);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_FALSE(outcome.exitCode.has_value());
    ASSERT_EQ(outcome.resultProperties.size(), 1u);
    EXPECT_EQ(outcome.resultProperties[0].name, u"SAMPLE_RESULT");
    EXPECT_EQ(outcome.resultProperties[0].value, 42);
    EXPECT_EQ(events_, (std::vector<std::string>{"153 Sample"}));
    // Now present: a second run leaves it alone.
    const PrerequisitesOutcome again = Run(Ini(u"", 42, true));
    EXPECT_EQ(Runs(), 1);
    EXPECT_TRUE(again.resultProperties.empty());
}

TEST_F(PrerequisitesPhaseTest, RestartOnlyWhenTheInstallerLeftItPresent) {
    // Still missing after an "r" installer: no restart (it would come back at every resume).
    PrerequisitesOutcome outcome = Run(Ini(u"Options=r\r\n", 1603, false));
    EXPECT_EQ(Runs(), 1);
    EXPECT_EQ(events_, (std::vector<std::string>{"153 Sample"}));
    events_.clear();
    EXPECT_EQ(outcome.result, 0);
    EXPECT_FALSE(outcome.exitCode.has_value());

    // Present now: registered first, then the restart, silently in a quiet run; 3010 and no
    // installer afterwards.
    outcome = Run(Ini(u"Options=r\r\n", 3010, true));
    EXPECT_EQ(Runs(), 2);
    EXPECT_EQ(events_, (std::vector<std::string>{"153 Sample", "register", "restart silent"}));
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.exitCode, 3010);
    EXPECT_FALSE(outcome.stopRun);
}

TEST_F(PrerequisitesPhaseTest, DeclinedRestartStillKeepsTheInstallerBack) {
    declineRestart_ = true;
    const PrerequisitesOutcome outcome = Run(Ini(u"Options=r\r\n", 0, true));
    EXPECT_EQ(events_, (std::vector<std::string>{"153 Sample", "register", "restart silent"}));
    EXPECT_EQ(outcome.exitCode, 3010);
    EXPECT_EQ(outcome.result, 1);
}

TEST_F(PrerequisitesPhaseTest, MandatoryStillMissingBlocksTheInstaller) {
    const PrerequisitesOutcome outcome = Run(Ini(u"Options=m\r\n", 0, false));
    EXPECT_EQ(Runs(), 1);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.exitCode, 1);
    // Installed by its run: the installer goes on.
    const PrerequisitesOutcome installed = Run(Ini(u"Options=m\r\n", 0, true));
    EXPECT_EQ(installed.result, 0);
    EXPECT_FALSE(installed.exitCode.has_value());
}

TEST_F(PrerequisitesPhaseTest, WrongSizeOrDigestIsNeverRunAndTheUsersFileStays) {
    for (const char16_t* check : {u"ExactSize=1\r\n", u"MD5=0123456789abcdef0123456789abcdef\r\n"}) {
        const PrerequisitesOutcome outcome = Run(Ini(check, 0, true));
        EXPECT_EQ(Runs(), 0) << test_support::Printable(check);
        EXPECT_TRUE(outcome.resultProperties.empty());
        // A file:// address names the user's own file: refused, not deleted.
        EXPECT_NE(GetFileAttributesW(scratch_.sample.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

TEST_F(PrerequisitesPhaseTest, ExcludedLanguageIsNeverRunAndNeverBlocks) {
    const PrerequisitesOutcome outcome = Run(Ini(u"Options=m\r\nLanguageList=1\r\n", 0, false));
    EXPECT_EQ(Runs(), 0);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_FALSE(outcome.exitCode.has_value());
}

TEST_F(PrerequisitesPhaseTest, CancelBeforeTheInstallerStopsTheRun) {
    cancelAfter_ = 0;
    const PrerequisitesOutcome outcome = Run(Ini(u"Options=mr\r\n", 0, true));
    EXPECT_EQ(Runs(), 0);
    EXPECT_TRUE(outcome.stopRun);
    EXPECT_EQ(outcome.exitCode, -1);
    EXPECT_EQ(events_, (std::vector<std::string>{"153 Sample"}));
}

TEST_F(PrerequisitesPhaseTest, InstallerServiceExemptionOnlyForOneThatApplies) {
    const std::u16string msi = u"[PREREQUISITES]\r\nApp1=Msi\r\n[Msi]\r\nSetupFile=msi.exe\r\n"
                               u"SearchType1=0\r\nSearchString1=[systemfolder]MSI.dll\r\n";
    configuration_ = ConfigurationFile::Parse(test_support::IniSource(msi));
    EXPECT_TRUE(PrerequisiteProvidesInstallerService(&configuration_));
    configuration_ = ConfigurationFile::Parse(test_support::IniSource(msi + u"LanguageList=1\r\n"));
    EXPECT_FALSE(PrerequisiteProvidesInstallerService(&configuration_));
    EXPECT_FALSE(PrerequisiteProvidesInstallerService(nullptr));
}

TEST(PrerequisiteSiteShortcutTest, WrittenInTheTemporaryFolderWithTwoLinesOnly) {
    const std::optional<std::u16string> shortcut = WriteUrlShortcut(u"http://127.0.0.1/get\r\nIconFile=C:\\x.ico");
    ASSERT_TRUE(shortcut.has_value());
    const std::wstring path(shortcut->begin(), shortcut->end());
    wchar_t temporary[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temporary);
    EXPECT_EQ(path.rfind(std::wstring(temporary) + L"URL", 0), 0u) << std::string(path.begin(), path.end());
    EXPECT_EQ(path.substr(path.size() - 4), L".url");
    std::vector<char> bytes(256);
    DWORD read = 0;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    DeleteFileW(path.c_str());
    ASSERT_TRUE(ok);
    EXPECT_EQ(std::string(bytes.data(), read), "[InternetShortcut]\r\nURL=http://127.0.0.1/getIconFile=C:\\x.ico\r\n");
    // The temporary name the shortcut was made from is gone.
    EXPECT_EQ(GetFileAttributesW(path.substr(0, path.size() - 4).c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace maglorin
