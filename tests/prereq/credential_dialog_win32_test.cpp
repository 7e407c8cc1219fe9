// The credential dialog of the downloads under Wine: real downloads from the test servers on
// 127.0.0.1 that demand a login (nginx's "Kit Store" with HTTP 401, the test proxy with 407), and
// a second thread of the test that answers the dialog the way a user would.
//
// The Internet library keeps credentials it has sent for the rest of the process, so within one
// server the declined and quiet cases run before the accepted one.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "credential_dialog_win32.h"
#include "dialog_driver_win32.h"
#include "download_job_win32.h"
#include "download_test_support_win32.h"

namespace maglorin {
namespace {

using namespace test_support;

// The dialog's controls.
constexpr int kTextId = 100;
constexpr int kUserId = 102;
constexpr int kPasswordId = 104;

struct Answer {
    bool accept = false;
    std::wstring user, password;
};

struct Seen {
    bool shown = false;
    std::wstring text;
    bool passwordHidden = false;
};

class CredentialDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ReadServerPorts(ports)) << "the download_servers fixture is not running"; }

    DownloadSettings Settings(const std::u16string& address, const std::u16string& localPath) {
        DownloadSettings settings;
        settings.address = address;
        settings.localPath = localPath;
        settings.prompt = &prompt;
        settings.retryPauseMs = 20;
        return settings;
    }

    // Runs the download while a second thread answers the dialog titled `caption`.
    DownloadResult Download(const DownloadSettings& settings, const std::wstring& caption, const Answer& answer,
                            Seen& seen) {
        std::thread driver([&] {
            const HWND dialog = WaitForDialogTitled(caption);
            if (dialog == nullptr) return;  // the test checks `seen.shown`
            seen.shown = true;
            seen.text = ControlText(dialog, kTextId);
            seen.passwordHidden = (::GetWindowLongW(::GetDlgItem(dialog, kPasswordId), GWL_STYLE) & ES_PASSWORD) != 0;
            ::SetDlgItemTextW(dialog, kUserId, answer.user.c_str());
            ::SetDlgItemTextW(dialog, kPasswordId, answer.password.c_str());
            Press(dialog, answer.accept ? IDOK : IDCANCEL);
        });
        DownloadJob job(settings);
        const DownloadResult result = job.Start();
        driver.join();
        return result;
    }

    ServerPorts ports;
    CredentialDialogPrompt prompt;
};

TEST_F(CredentialDialogTest, ServerLoginDeclinedQuietAndAccepted) {
    ScratchFolder folder("credential-401");
    const std::u16string address = Url("http", ports.http, "/private/kit.bin");
    const std::wstring caption = L"Connect to 127.0.0.1";

    // Cancel: the download fails with "credentials needed" and leaves no file.
    Seen declined;
    DownloadSettings settings = Settings(address, folder.Path("declined.bin"));
    EXPECT_EQ(Download(settings, caption, Answer{false, L"kit", L"secret"}, declined), kDownloadNeedsCredentials);
    EXPECT_TRUE(declined.shown);
    EXPECT_EQ(declined.text, L"The server 127.0.0.1 at Kit Store requires a username and password. Please enter them below.");
    EXPECT_TRUE(declined.passwordHidden);
    EXPECT_FALSE(FileExists(settings.localPath));

    // Quiet: the same challenge fails at once, without a dialog.
    DownloadSettings quiet = Settings(address, folder.Path("quiet.bin"));
    quiet.quiet = true;
    DownloadJob quietJob(quiet);
    EXPECT_EQ(quietJob.Start(), kDownloadNeedsCredentials);
    EXPECT_FALSE(FileExists(quiet.localPath));

    // The right answer: the file comes, and the prompt keeps what the server accepted.
    Seen accepted;
    settings.localPath = folder.Path("accepted.bin");
    ASSERT_EQ(Download(settings, caption, Answer{true, L"kit", L"secret"}, accepted), kDownloadSuccess);
    EXPECT_TRUE(accepted.shown);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(settings.localPath, bytes));
    EXPECT_EQ(bytes.size(), kKitSize);
    Credentials kept;
    ASSERT_TRUE(prompt.Find(u"127.0.0.1", u"Kit Store", kept));
    EXPECT_EQ(kept.userName, u"kit");
    EXPECT_EQ(kept.password, u"secret");
    EXPECT_FALSE(prompt.Find(u"127.0.0.1", u"Other Realm", kept));
}

TEST_F(CredentialDialogTest, ProxyLoginAnsweredInTheDialog) {
    ScratchFolder folder("credential-407");
    DownloadSettings settings = Settings(u"http://kits.example/200000", folder.Path("proxied.bin"));
    const std::wstring proxy = L"127.0.0.1:" + std::to_wstring(ports.test);
    settings.proxy = std::u16string(proxy.begin(), proxy.end());
    Seen seen;
    ASSERT_EQ(Download(settings, L"Connect to " + proxy, Answer{true, L"proxyuser", L"proxypass"}, seen),
              kDownloadSuccess);
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.text, L"The server " + proxy + L" at Test Proxy requires a username and password. Please enter them below.");
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(settings.localPath, bytes));
    EXPECT_TRUE(bytes == PatternBytes(200000));
}

}  // namespace
}  // namespace maglorin
