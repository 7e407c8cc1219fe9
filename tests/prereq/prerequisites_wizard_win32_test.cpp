// The prerequisites wizard under Wine, inside the real prerequisites phase: the stand-in installer
// prereq_sample.exe is named by a file:// address and marks itself installed through a registry
// key the searches look for. A second thread answers the wizard the way a user would.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "configuration_test_text.h"
#include "dialog_driver_win32.h"
#include "download_test_support_win32.h"
#include "prerequisites_phase_win32.h"
#include "sample_installer_scratch_win32.h"

namespace maglorin {
namespace {

using namespace test_support;

// The wizard's controls.
constexpr int kBodyId = 101;
constexpr int kListId = 102;
constexpr int kSummaryId = 103;
constexpr int kStepId = 104;
constexpr int kBytesId = 105;
constexpr int kBackId = 110;
constexpr int kNextId = IDOK;

constexpr wchar_t kTitle[] = L"Kit Viewer - Prerequisites";
constexpr wchar_t kKeyRoot[] = L"Software\\MaglorinWizardTest";

std::u16string Utf16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

// The result page is up: Next reads Finish.
bool OnResultPage(HWND wizard) { return Visible(wizard, kBodyId) && ControlText(wizard, kNextId) == L"&Finish"; }

class PrerequisitesWizardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch_.Create(L"maglorin-prereq-wizard", kKeyRoot));
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kKeyRoot) + L"\\Present").c_str(), 0, nullptr, 0,
                                  KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void TearDown() override { scratch_.Remove(); }

    // "Sample" run from the stand-in (`sampleKeys`: the lines of its section after the address),
    // and "Present", found installed through the key SetUp made.
    std::u16string Ini(const std::u16string& options, const std::u16string& sampleKeys, bool createKey,
                       const std::wstring& address = {}) {
        options_ = options;
        return u"[GeneralOptions]\r\nOptions=" + options + u"\r\n[PREREQUISITES]\r\nApp1=Sample\r\nApp2=Present\r\n" +
               u"[Sample]\r\nUrl=file://" + Utf16(address.empty() ? scratch_.sample : address) +
               u"\r\nSearchType1=5\r\nSearchString1=HKCU\\Software\\MaglorinWizardTest\\Sample\r\n"
               u"CommandLine=\"" + Utf16(scratch_.record) + u"\" 0" +
               (createKey ? u" Software\\MaglorinWizardTest\\Sample" : u"") + u"\r\n" + sampleKeys +
               u"[Present]\r\nSetupFile=present.exe\r\nSearchType1=5\r\n"
               u"SearchString1=HKCU\\Software\\MaglorinWizardTest\\Present\r\n";
    }

    // Runs the phase with the wizard while `drive` answers it on a second thread. A driver that
    // gives up cancels the wizard, so the phase always returns.
    PrerequisitesOutcome Run(const std::u16string& ini, const std::function<void(HWND)>& drive) {
        configuration_ = ConfigurationFile::Parse(IniSource(ini));
        PrerequisitesRequest request;
        request.configuration = &configuration_;
        request.userInterfaceEnabled = true;
        request.wizard = true;
        request.productName = u"Kit Viewer";
        request.options = options_;
        request.downloadFolder = Utf16(scratch_.folder);
        request.pauseAfterFailureMs = 0;
        request.registerResume = [this] { events_.push_back("register"); };
        request.askAndRestart = [this](bool silent) {
            events_.push_back(silent ? "restart silent" : "restart asked");
            return false;
        };
        std::thread driver([&drive] {
            const HWND wizard = WaitForDialogTitled(kTitle);
            if (wizard == nullptr) {
                ADD_FAILURE() << "the wizard never appeared";
                return;
            }
            drive(wizard);
            if (::IsWindow(wizard)) Press(wizard, IDCANCEL);  // never leave the phase waiting
        });
        const PrerequisitesOutcome outcome = RunPrerequisites(request);
        driver.join();
        return outcome;
    }

    int Runs() const { return scratch_.Runs(); }

    test_support::SampleInstallerScratch scratch_;
    std::u16string options_;  // GeneralOptions' letters of the last Ini
    ConfigurationFile configuration_;
    std::vector<std::string> events_;
};

TEST_F(PrerequisitesWizardTest, ListRefusesToDropAMandatoryOneThenInstallsAndFinishes) {
    struct Seen {
        std::wstring intro;
        bool backOnIntro = true;
        int rows = 0;
        std::wstring names[2], versions[2], states[2];
        bool checked[2] = {};
        std::wstring refusal;
        bool stillChecked = false;
        std::wstring result;
    } seen;
    const PrerequisitesOutcome outcome = Run(Ini(u"", u"Options=m\r\nVerMin=2.0\r\n", true), [&seen](HWND wizard) {
        seen.intro = ControlText(wizard, kBodyId);
        seen.backOnIntro = Enabled(wizard, kBackId);
        Press(wizard, kNextId);
        if (!WaitUntil([wizard] { return Visible(wizard, kListId); })) return;
        const HWND list = ::GetDlgItem(wizard, kListId);
        seen.rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < 2 && row < seen.rows; ++row) {
            seen.names[row] = ItemText(list, row, 0);
            seen.versions[row] = ItemText(list, row, 1);
            seen.states[row] = ItemText(list, row, 2);
            seen.checked[row] = ItemChecked(list, row);
        }
        SetItemChecked(list, 0, false);
        const HWND box = WaitForDialog([wizard](HWND window) { return ::GetWindow(window, GW_OWNER) == wizard; });
        if (box == nullptr) return;
        seen.refusal = MessageBoxText(box);
        Press(box, IDOK);
        WaitUntil([box] { return !::IsWindow(box); });
        seen.stillChecked = ItemChecked(list, 0);
        Press(wizard, kNextId);
        if (!WaitUntil([wizard] { return OnResultPage(wizard); })) return;
        seen.result = ControlText(wizard, kBodyId);
        Press(wizard, kNextId);
    });
    EXPECT_NE(seen.intro.find(L"Kit Viewer"), std::wstring::npos);
    EXPECT_FALSE(seen.backOnIntro);
    ASSERT_EQ(seen.rows, 2);
    EXPECT_EQ(seen.names[0], L"Sample");
    EXPECT_EQ(seen.versions[0], L"Required: 2.0 or higher. Found: nothing.");
    EXPECT_EQ(seen.states[0], L"Not installed");
    EXPECT_TRUE(seen.checked[0]);
    EXPECT_EQ(seen.names[1], L"Present");
    EXPECT_EQ(seen.states[1], L"Installed");
    EXPECT_FALSE(seen.checked[1]);
    EXPECT_EQ(seen.refusal, L"This prerequisite is mandatory. It must be installed and can not be unchecked.");
    EXPECT_TRUE(seen.stillChecked);
    EXPECT_EQ(seen.result, L"All prerequisites have been installed successfully. Press Finish to install the main application.");
    EXPECT_EQ(Runs(), 1);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_FALSE(outcome.exitCode.has_value());
    EXPECT_FALSE(outcome.stopRun);
}

TEST_F(PrerequisitesWizardTest, WithoutIntroOnlyPendingRowsAndASummaryBeforeTheWork) {
    struct Seen {
        bool listFirst = false;
        bool back = true;
        int rows = 0;
        std::wstring summary;
        bool backToList = false;
        std::wstring result;
    } seen;
    const PrerequisitesOutcome outcome = Run(Ini(u"hoe", u"", true), [&seen](HWND wizard) {
        seen.listFirst = Visible(wizard, kListId) && !Visible(wizard, kBodyId);
        seen.back = Enabled(wizard, kBackId);
        seen.rows = static_cast<int>(::SendDlgItemMessageW(wizard, kListId, LVM_GETITEMCOUNT, 0, 0));
        Press(wizard, kNextId);
        if (!WaitUntil([wizard] { return Visible(wizard, kSummaryId); })) return;
        wchar_t line[256] = {};
        if (::SendDlgItemMessageW(wizard, kSummaryId, LB_GETCOUNT, 0, 0) == 1) {
            ::SendDlgItemMessageW(wizard, kSummaryId, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
        }
        seen.summary = line;
        Press(wizard, kBackId);
        seen.backToList = WaitUntil([wizard] { return Visible(wizard, kListId); });
        Press(wizard, kNextId);
        if (!WaitUntil([wizard] { return Visible(wizard, kSummaryId); })) return;
        Press(wizard, kNextId);
        if (!WaitUntil([wizard] { return OnResultPage(wizard); })) return;
        seen.result = ControlText(wizard, kBodyId);
        Press(wizard, kNextId);
    });
    EXPECT_TRUE(seen.listFirst);
    EXPECT_FALSE(seen.back);
    EXPECT_EQ(seen.rows, 1);  // "Present" is left out of the list
    EXPECT_EQ(seen.summary, L"Install Sample");
    EXPECT_TRUE(seen.backToList);
    EXPECT_EQ(seen.result, L"All prerequisites have been installed successfully. Press Finish to install the main application.");
    EXPECT_EQ(Runs(), 1);
    EXPECT_EQ(outcome.result, 0);
}

TEST_F(PrerequisitesWizardTest, LeavingEverythingOutGoesOnWithoutRunningAnything) {
    bool unchecked = true;
    const PrerequisitesOutcome outcome = Run(Ini(u"h", u"", true), [&unchecked](HWND wizard) {
        const HWND list = ::GetDlgItem(wizard, kListId);
        SetItemChecked(list, 0, false);
        unchecked = !ItemChecked(list, 0);
        Press(wizard, kNextId);
        WaitUntil([wizard] { return !::IsWindow(wizard); });
    });
    EXPECT_TRUE(unchecked);
    EXPECT_EQ(Runs(), 0);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_FALSE(outcome.exitCode.has_value());
    EXPECT_FALSE(outcome.stopRun);
}

TEST_F(PrerequisitesWizardTest, AFailedDownloadIsReportedAndBackShowsItThenCancelStopsTheRun) {
    struct Seen {
        std::wstring result;
        std::wstring state;
        bool checked = false;
    } seen;
    const std::wstring missing = scratch_.folder + L"no-such-installer.exe";
    const PrerequisitesOutcome outcome = Run(Ini(u"h", u"", true, missing), [&seen](HWND wizard) {
        Press(wizard, kNextId);
        if (!WaitUntil([wizard] { return OnResultPage(wizard); })) return;
        seen.result = ControlText(wizard, kBodyId);
        Press(wizard, kBackId);
        if (!WaitUntil([wizard] { return Visible(wizard, kListId); })) return;
        const HWND list = ::GetDlgItem(wizard, kListId);
        seen.state = ItemText(list, 0, 2);
        seen.checked = ItemChecked(list, 0);
        Press(wizard, IDCANCEL);
    });
    EXPECT_EQ(seen.result, L"Some prerequisites could not be downloaded. You can try again or remove them from the prerequisites list.");
    EXPECT_EQ(seen.state, L"Download failed");
    EXPECT_TRUE(seen.checked);  // still chosen, ready for another try
    EXPECT_EQ(Runs(), 0);
    EXPECT_TRUE(outcome.stopRun);
    EXPECT_EQ(outcome.exitCode, -1);
}

TEST_F(PrerequisitesWizardTest, AMandatoryOneStillMissingKeepsTheInstallerBack) {
    std::wstring result;
    const PrerequisitesOutcome outcome = Run(Ini(u"h", u"Options=m\r\n", false), [&result](HWND wizard) {
        Press(wizard, kNextId);
        if (!WaitUntil([wizard] { return OnResultPage(wizard); })) return;
        result = ControlText(wizard, kBodyId);
        Press(wizard, kNextId);
    });
    EXPECT_EQ(result,
              L"After launching all packages some required prerequisites are still missing. Press Back to return to the "
              L"prerequisites list.\r\n\r\nSome mandatory prerequisites are still missing, so the main application can "
              L"not be installed. Press Back to return to the prerequisites list.");
    EXPECT_EQ(Runs(), 1);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_FALSE(outcome.stopRun);
}

TEST_F(PrerequisitesWizardTest, ARestartInstallerThatSucceededEndsTheWizardWithARestart) {
    bool closedByItself = false;
    const PrerequisitesOutcome outcome = Run(Ini(u"h", u"Options=r\r\n", true), [&closedByItself](HWND wizard) {
        Press(wizard, kNextId);
        closedByItself = WaitUntil([wizard] { return !::IsWindow(wizard); });
    });
    EXPECT_TRUE(closedByItself);
    EXPECT_EQ(Runs(), 1);
    EXPECT_EQ(events_, (std::vector<std::string>{"register", "restart asked"}));
    EXPECT_EQ(outcome.exitCode, 3010);
    EXPECT_FALSE(outcome.stopRun);
}

}  // namespace
}  // namespace maglorin

namespace maglorin {
namespace {

// A download that would take minutes (the test server's slow path) shows its progress and stops
// at Cancel; the run ends with -1 and nothing is installed. The ".part" file stays for a resume.
TEST_F(PrerequisitesWizardTest, CancelStopsARunningDownload) {
    ServerPorts ports;
    ASSERT_TRUE(ReadServerPorts(ports)) << "the download_servers fixture is not running";
    const std::u16string address = Url("http", ports.test, "/slow/4000000");
    options_ = u"h";
    const std::u16string ini = u"[GeneralOptions]\r\nOptions=h\r\n[PREREQUISITES]\r\nApp1=Slow\r\n[Slow]\r\nUrl=" + address +
                               u"\r\nFolder=?slow.exe\r\nSearchType1=5\r\nSearchString1=HKCU\\Software\\MaglorinWizardTest\\Slow\r\n"
                               u"CommandLine=\"" + Utf16(scratch_.record) + u"\" 0\r\n";
    struct Seen {
        std::wstring step;
        std::wstring bytes;
        bool closed = false;
    } seen;
    const PrerequisitesOutcome outcome = Run(ini, [&seen](HWND wizard) {
        Press(wizard, kNextId);
        // Some data arrived: the byte count shows it out of the announced total.
        if (!WaitUntil([wizard] { return ControlText(wizard, kBytesId).find(L" of 3906 KB") != std::wstring::npos &&
                                          ControlText(wizard, kBytesId).rfind(L"0 of", 0) != 0; })) {
            return;
        }
        seen.step = ControlText(wizard, kStepId);
        seen.bytes = ControlText(wizard, kBytesId);
        Press(wizard, IDCANCEL);
        seen.closed = WaitUntil([wizard] { return !::IsWindow(wizard); });
    });
    EXPECT_EQ(seen.step, L"Downloading Slow");
    EXPECT_NE(seen.bytes.find(L" of 3906 KB"), std::wstring::npos) << std::string(seen.bytes.begin(), seen.bytes.end());
    EXPECT_TRUE(seen.closed);
    EXPECT_TRUE(outcome.stopRun);
    EXPECT_EQ(outcome.exitCode, -1);
    EXPECT_EQ(Runs(), 0);
    EXPECT_TRUE(FileExists(Utf16(scratch_.folder + L"slow.exe.part")));
    EXPECT_FALSE(FileExists(Utf16(scratch_.folder + L"slow.exe")));
    DeleteFileW((scratch_.folder + L"slow.exe.part").c_str());
}

}  // namespace
}  // namespace maglorin
