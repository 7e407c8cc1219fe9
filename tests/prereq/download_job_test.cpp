// Downloads under Wine's WinINet from real servers on 127.0.0.1 (nginx, a Python test server,
// pyftpdlib), started and stopped by the download_servers fixture.
#include "download_job_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "download_status.h"
#include "download_test_support_win32.h"

namespace maglorin {
namespace {

using test_support::FileExists;
using test_support::PatternBytes;
using test_support::ReadWholeFile;
using test_support::RecordingSink;
using test_support::ScratchFolder;
using test_support::TestPrompt;
using test_support::Url;
using test_support::WriteWholeFile;

class DownloadJobTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(test_support::ReadServerPorts(ports)) << "the download_servers fixture is not running"; }

    DownloadSettings Settings(const std::u16string& address, const std::u16string& localPath) {
        DownloadSettings settings;
        settings.address = address;
        settings.localPath = localPath;
        settings.sink = &sink;
        settings.quiet = true;
        settings.retryPauseMs = 20;
        return settings;
    }

    DownloadResult Download(const DownloadSettings& settings, DownloadOutcome* outcome = nullptr) {
        DownloadJob job(settings);
        const DownloadResult result = job.Start();
        if (outcome != nullptr) {
            *outcome = job.Outcome();
        }
        return result;
    }

    // The local file holds exactly the first `size` bytes the servers serve, and no ".part" is left.
    void ExpectServedFile(const std::u16string& path, std::size_t size) {
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(ReadWholeFile(path, bytes));
        ASSERT_EQ(bytes.size(), size);
        EXPECT_TRUE(bytes == PatternBytes(size)) << "the downloaded bytes differ from the server's";
        EXPECT_FALSE(FileExists(path + u".part"));
    }

    test_support::ServerPorts ports;
    RecordingSink sink;
};

TEST_F(DownloadJobTest, HttpFileIsDownloadedIntoPlaceWithProgressAndStates) {
    ScratchFolder folder("http-file");
    const std::u16string local = folder.Path("sub\\kit.bin");
    ASSERT_EQ(Download(Settings(Url("http", ports.http, "/kit.bin"), local)), kDownloadSuccess);
    ExpectServedFile(local, test_support::kKitSize);
    EXPECT_EQ(sink.starts, 1);
    EXPECT_EQ(sink.startTotal, test_support::kKitSize);
    ASSERT_FALSE(sink.progress.empty());
    EXPECT_EQ(sink.progress.front(), 0u);
    EXPECT_EQ(sink.received.load(), test_support::kKitSize);
    // One step per read: never more than the read buffer (1 MiB) holds.
    EXPECT_LE(*std::max_element(sink.progress.begin(), sink.progress.end()), 1048576u);
    EXPECT_EQ(sink.finishedTrue, 1);
    EXPECT_TRUE(sink.errors.empty());
    for (int state : {1, 2, 3}) {
        EXPECT_NE(std::find(sink.states.begin(), sink.states.end(), state), sink.states.end()) << state;
    }
}

TEST_F(DownloadJobTest, FolderTargetTakesTheAddressFileNameAndNoNameFails) {
    ScratchFolder folder("http-folder");
    ASSERT_EQ(Download(Settings(Url("http", ports.http, "/kit.bin"), folder.Path(""))), kDownloadSuccess);
    ExpectServedFile(folder.Path("kit.bin"), test_support::kKitSize);
    EXPECT_EQ(Download(Settings(Url("http", ports.http, "/"), folder.Path(""))), kDownloadNoFileName);
    EXPECT_EQ(Download(Settings(u"gopher://127.0.0.1/1", folder.Path("g.bin"))), kDownloadUnsupportedScheme);
    EXPECT_EQ(Download(Settings(u"mailto:someone", folder.Path("m.bin"))), kDownloadBadAddress);
    EXPECT_EQ(sink.errors, (std::vector<DownloadResult>{kDownloadNoFileName, kDownloadUnsupportedScheme,
                                                        kDownloadBadAddress}));
}

TEST_F(DownloadJobTest, PartFileIsResumedWithARangeAndAppended) {
    ScratchFolder folder("http-resume");
    const std::u16string local = folder.Path("kit.bin");
    ASSERT_TRUE(WriteWholeFile(local + u".part", PatternBytes(1048576)));
    ASSERT_EQ(Download(Settings(Url("http", ports.http, "/kit.bin"), local)), kDownloadSuccess);
    ExpectServedFile(local, test_support::kKitSize);
    ASSERT_FALSE(sink.progress.empty());
    EXPECT_EQ(sink.progress.front(), 1048576u);
    EXPECT_EQ(sink.received.load(), test_support::kKitSize - 1048576u);
    EXPECT_EQ(sink.startTotal, test_support::kKitSize);
}

TEST_F(DownloadJobTest, ServerIgnoringTheRangeRewritesThePartFromTheStart) {
    ScratchFolder folder("http-norange");
    const std::u16string local = folder.Path("f.bin");
    // Not the server's bytes: appending after them would leave them in the file.
    ASSERT_TRUE(WriteWholeFile(local + u".part", std::vector<std::uint8_t>(4000, 0xEE)));
    const auto size = 250000;
    ASSERT_EQ(Download(Settings(Url("http", ports.test, "/norange/" + std::to_string(size)), local)),
              kDownloadSuccess);
    ExpectServedFile(local, size);
    EXPECT_EQ(sink.progress.front(), 0u);
}

TEST_F(DownloadJobTest, CompletePartFileIsMovedIntoPlace) {
    ScratchFolder folder("http-complete");
    // nginx answers 416 "bytes */size"; the test server answers 200 with the same length.
    const std::pair<int, std::string> servers[] = {{ports.http, "/kit.bin"},
                                                   {ports.test, "/file/" + std::to_string(test_support::kKitSize)}};
    for (const auto& [port, path] : servers) {
        const std::u16string local = folder.Path("kit" + std::to_string(port) + ".bin");
        ASSERT_TRUE(WriteWholeFile(local + u".part", PatternBytes(test_support::kKitSize)));
        EXPECT_EQ(Download(Settings(Url("http", port, path), local)), kDownloadSuccess) << path;
        ExpectServedFile(local, test_support::kKitSize);
    }
    EXPECT_EQ(sink.finishedTrue, 2);
}

TEST_F(DownloadJobTest, DroppedConnectionIsResumedFromTheBytesWritten) {
    ScratchFolder folder("http-cut");
    const std::u16string local = folder.Path("cut.bin");
    const std::string path = "/cut/" + std::to_string(1000000);
    DownloadOutcome outcome;
    ASSERT_EQ(Download(Settings(Url("http", ports.test, path), local), &outcome), kDownloadSuccess);
    ExpectServedFile(local, 1000000);
    EXPECT_EQ(test_support::TestServerCount(ports.test, path), 2);
    EXPECT_EQ(outcome.retriesLeft, RetryBudget::kInitial - 1);
}

TEST_F(DownloadJobTest, ServerThatKeepsDroppingOrShortensEndsWithinTheRetryBudget) {
    ScratchFolder folder("http-drop");
    for (const std::string kind : {"drop", "short"}) {
        const std::u16string local = folder.Path(kind + ".bin");
        const std::string path = "/" + kind + "/" + std::to_string(400000);
        const DownloadResult result = Download(Settings(Url("http", ports.test, path), local));
        EXPECT_NE(result, kDownloadSuccess) << kind;
        EXPECT_FALSE(FileExists(local)) << kind;
        // One request, then one reconnect for each retry of the budget.
        EXPECT_EQ(test_support::TestServerCount(ports.test, path), 1 + RetryBudget::kInitial) << kind;
    }
}

TEST_F(DownloadJobTest, WrongRangeNeverLandsInTheFile) {
    ScratchFolder folder("http-wrongrange");
    const std::u16string local = folder.Path("w.bin");
    const int size = 300000;
    ASSERT_TRUE(WriteWholeFile(local + u".part", PatternBytes(100000)));
    const std::string path = "/wrongrange/" + std::to_string(size);
    ASSERT_EQ(Download(Settings(Url("http", ports.test, path), local)), kDownloadSuccess);
    ExpectServedFile(local, size);
    EXPECT_EQ(test_support::TestServerCount(ports.test, path), 2);
}

TEST_F(DownloadJobTest, ErrorStatusesFailWithTheirCodeAndSaveNothing) {
    ScratchFolder folder("http-status");
    struct Case {
        int port;
        std::string path;
        DownloadResult result;
        std::uint32_t status;
    };
    const Case cases[] = {
        {ports.http, "/missing.bin", kDownloadNotFound, 404},
        {ports.http, "/gone", kDownloadNotFound, 410},
        {ports.http, "/forbidden", kDownloadForbidden, 403},
        {ports.http, "/broken", kDownloadHttpStatus, 500},
        {ports.http, "/badgateway", kDownloadHttpStatus, 502},
        {ports.test, "/status/302", kDownloadHttpStatus, 302},
        {ports.test, "/status/503", kDownloadHttpStatus, 503},
    };
    for (const Case& c : cases) {
        const std::u16string local = folder.Path("setup.exe");
        DownloadOutcome outcome;
        EXPECT_EQ(Download(Settings(Url("http", c.port, c.path), local), &outcome), c.result) << c.path;
        EXPECT_EQ(outcome.httpStatus, c.status) << c.path;
        EXPECT_FALSE(FileExists(local)) << c.path;
        EXPECT_FALSE(FileExists(local + u".part")) << c.path;
        ASSERT_FALSE(sink.errors.empty());
        EXPECT_EQ(sink.errors.back(), c.result) << c.path;
    }
    EXPECT_EQ(sink.finishedTrue, 0);
}

// The Internet library keeps credentials it has sent for the rest of the process and answers a
// later challenge of the same server with them, so the cases run in an order where each one
// still meets the challenge; stored credentials are tested in the address check's own process.
TEST_F(DownloadJobTest, ServerCredentialsComeFromThePromptAndQuietNeverAsks) {
    ScratchFolder folder("http-401");
    const std::u16string address = Url("http", ports.http, "/private/kit.bin");
    EXPECT_EQ(Download(Settings(address, folder.Path("none.bin"))), kDownloadNeedsCredentials);
    EXPECT_FALSE(FileExists(folder.Path("none.bin")));

    TestPrompt prompt;
    prompt.answers = true;
    prompt.answer = Credentials{u"kit", u"secret"};
    DownloadSettings quiet = Settings(address, folder.Path("quiet.bin"));
    quiet.prompt = &prompt;
    EXPECT_EQ(Download(quiet), kDownloadNeedsCredentials);
    EXPECT_EQ(prompt.asked, 0);

    // Wrong answers end after a few rounds instead of asking for ever.
    TestPrompt wrong;
    wrong.answers = true;
    wrong.answer = Credentials{u"kit", u"wrong"};
    DownloadSettings asking = quiet;
    asking.quiet = false;
    asking.prompt = &wrong;
    asking.localPath = folder.Path("wrong.bin");
    EXPECT_EQ(Download(asking), kDownloadNeedsCredentials);
    EXPECT_GE(wrong.asked, 1);
    EXPECT_LE(wrong.asked, 3);
    EXPECT_EQ(wrong.remembered, 0);
    EXPECT_FALSE(FileExists(asking.localPath));

    asking.prompt = &prompt;
    asking.localPath = folder.Path("asked.bin");
    ASSERT_EQ(Download(asking), kDownloadSuccess);
    ExpectServedFile(asking.localPath, test_support::kKitSize);
    EXPECT_EQ(prompt.asked, 1);
    EXPECT_EQ(prompt.askedServer, u"127.0.0.1");
    EXPECT_EQ(prompt.askedRealm, u"Kit Store");
    EXPECT_EQ(prompt.remembered, 1);
    EXPECT_NE(std::find(sink.states.begin(), sink.states.end(), 5), sink.states.end());

}

TEST_F(DownloadJobTest, ProxyCredentialsComeFromTheCommandLineOrThePrompt) {
    ScratchFolder folder("http-407");
    const std::u16string address = u"http://kits.example/200000";
    DownloadSettings settings = Settings(address, folder.Path("none.bin"));
    settings.proxy = u"127.0.0.1:" + test_support::Text(std::to_string(ports.test));
    EXPECT_EQ(Download(settings), kDownloadNeedsCredentials);

    settings.localPath = folder.Path("cmdline.bin");
    settings.proxyUserName = u"proxyuser";
    settings.proxyPassword = u"proxypass";
    ASSERT_EQ(Download(settings), kDownloadSuccess);
    ExpectServedFile(settings.localPath, 200000);

    TestPrompt prompt;
    prompt.answers = true;
    prompt.answer = Credentials{u"proxyuser", u"proxypass"};
    settings.address = u"http://kits.example/200001";  // an odd size: the proxy's other realm
    settings.proxyUserName.clear();
    settings.proxyPassword.clear();
    settings.quiet = false;
    settings.prompt = &prompt;
    settings.localPath = folder.Path("prompt.bin");
    ASSERT_EQ(Download(settings), kDownloadSuccess);
    ExpectServedFile(settings.localPath, 200001);
    EXPECT_EQ(prompt.asked, 1);
    EXPECT_EQ(prompt.askedRealm, u"Test Proxy B");
}

TEST_F(DownloadJobTest, UntrustedCertificateFailsAQuietRunWithoutADialog) {
    ScratchFolder folder("https");
    const std::u16string local = folder.Path("kit.bin");
    const DownloadResult result = Download(Settings(Url("https", ports.https, "/kit.bin"), local));
    EXPECT_TRUE(IsCertificateError(result)) << result;
    EXPECT_FALSE(FileExists(local));
    EXPECT_EQ(std::find(sink.states.begin(), sink.states.end(), 5), sink.states.end());
}

TEST_F(DownloadJobTest, CancelKeepsThePartFileForALaterResume) {
    ScratchFolder folder("http-cancel");
    const std::u16string local = folder.Path("slow.bin");
    const std::string path = "/slow/" + std::to_string(2000000);
    sink.cancelAfterBytes = 1;
    ASSERT_EQ(Download(Settings(Url("http", ports.test, path), local)), kDownloadCancelled);
    EXPECT_FALSE(FileExists(local));
    std::vector<std::uint8_t> part;
    ASSERT_TRUE(ReadWholeFile(local + u".part", part));
    EXPECT_GT(part.size(), 0u);
    EXPECT_TRUE(std::equal(part.begin(), part.end(), PatternBytes(part.size()).begin()));
    EXPECT_EQ(sink.errors, std::vector<DownloadResult>{kDownloadCancelled});
}

// A burst the reads take at once, then a trickle each read has to wait for: the read that meets
// the trickle waits for data without holding a cancel back, and what it and every later read
// bring lands in order, each step no larger than the read buffer (1 MiB).
TEST_F(DownloadJobTest, ATransferThatSlowsDownArrivesWhole) {
    ScratchFolder folder("http-slowing");
    const std::u16string local = folder.Path("slow.bin");
    const std::uint32_t size = 100 * 1024 + 16 * 1024;  // the burst, then 1 KB every 50 ms
    ASSERT_EQ(Download(Settings(Url("http", ports.test, "/slow/" + std::to_string(size)), local)), kDownloadSuccess);
    ExpectServedFile(local, size);
    EXPECT_EQ(sink.received.load(), size);
    ASSERT_GE(sink.progress.size(), 2u);
    EXPECT_LE(*std::max_element(sink.progress.begin() + 1, sink.progress.end()), 1048576u);
    EXPECT_EQ(sink.finishedTrue, 1);
    EXPECT_TRUE(sink.errors.empty());
}

TEST_F(DownloadJobTest, StopFromTheOwnerEndsAPausedOrRunningJob) {
    ScratchFolder folder("http-stop");
    DownloadSettings settings = Settings(Url("http", ports.test, "/slow/" + std::to_string(2000000)),
                                         folder.Path("slow.bin"));
    settings.wait = false;
    sink.paused = true;
    DownloadJob job(settings);
    ASSERT_EQ(job.Start(), kDownloadSuccess);
    // Bounded: the job is paused before its first block, so it polls until stopped.
    for (int i = 0; i < 3000 && sink.pausedPolls.load() < 3; ++i) {
        ::Sleep(10);
    }
    EXPECT_GE(sink.pausedPolls.load(), 3);
    EXPECT_FALSE(job.Finished());
    EXPECT_EQ(job.Stop(), kDownloadCancelled);
    EXPECT_TRUE(job.Finished());
    EXPECT_EQ(sink.received.load(), 0u);
}

// Each job has its own completion events: two at once in one process never wake each other.
TEST_F(DownloadJobTest, JobsRunSideBySide) {
    ScratchFolder folder("http-parallel");
    RecordingSink sinks[3];
    const std::u16string addresses[3] = {Url("http", ports.http, "/kit.bin"), Url("ftp", ports.ftp, "/kit.bin"),
                                         Url("http", ports.test, "/cut/" + std::to_string(test_support::kKitSize))};
    std::vector<std::unique_ptr<DownloadJob>> jobs;
    for (int i = 0; i < 3; ++i) {
        DownloadSettings settings = Settings(addresses[i], folder.Path("kit" + std::to_string(i) + ".bin"));
        settings.sink = &sinks[i];
        settings.wait = false;
        jobs.push_back(std::make_unique<DownloadJob>(settings));
        ASSERT_EQ(jobs.back()->Start(), kDownloadSuccess);
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(jobs[i]->Wait(), kDownloadSuccess) << i;
        ExpectServedFile(folder.Path("kit" + std::to_string(i) + ".bin"), test_support::kKitSize);
        EXPECT_EQ(sinks[i].received.load(), test_support::kKitSize) << i;
        EXPECT_EQ(sinks[i].finishedTrue, 1) << i;
    }
}

TEST_F(DownloadJobTest, UnreachableServerIsRetriedAndThenFails) {
    ScratchFolder folder("http-unreachable");
    // Port 1 of 127.0.0.1: nothing listens there.
    DownloadOutcome outcome;
    const DownloadResult result = Download(Settings(u"http://127.0.0.1:1/x.bin", folder.Path("x.bin")), &outcome);
    EXPECT_EQ(result, kInternetCannotConnect);
    EXPECT_EQ(outcome.retriesLeft, 0);
    EXPECT_EQ(sink.errors, std::vector<DownloadResult>{kInternetCannotConnect});
}

TEST_F(DownloadJobTest, FtpFileIsDownloaded) {
    ScratchFolder folder("ftp-file");
    const std::u16string local = folder.Path("kit.bin");
    ASSERT_EQ(Download(Settings(Url("ftp", ports.ftp, "/kit.bin"), local)), kDownloadSuccess);
    ExpectServedFile(local, test_support::kKitSize);
    EXPECT_EQ(sink.startTotal, test_support::kKitSize);
    EXPECT_EQ(Download(Settings(Url("ftp", ports.ftp, "/missing.bin"), folder.Path("m.bin"))) == kDownloadSuccess,
              false);
    EXPECT_FALSE(FileExists(folder.Path("m.bin")));
}

TEST_F(DownloadJobTest, FtpResumesWithRestAndStartsOverWhenRefused) {
    ScratchFolder folder("ftp-rest");
    const std::u16string resumed = folder.Path("resumed.bin");
    ASSERT_TRUE(WriteWholeFile(resumed + u".part", PatternBytes(1048576)));
    ASSERT_EQ(Download(Settings(Url("ftp", ports.ftp, "/kit.bin"), resumed)), kDownloadSuccess);
    ExpectServedFile(resumed, test_support::kKitSize);
    EXPECT_EQ(sink.progress.front(), 1048576u);

    RecordingSink refusedSink;
    const std::u16string refused = folder.Path("refused.bin");
    ASSERT_TRUE(WriteWholeFile(refused + u".part", std::vector<std::uint8_t>(1048576, 0xEE)));
    DownloadSettings settings = Settings(Url("ftp", ports.ftpNoRest, "/kit.bin"), refused);
    settings.sink = &refusedSink;
    ASSERT_EQ(Download(settings), kDownloadSuccess);
    ExpectServedFile(refused, test_support::kKitSize);
    EXPECT_EQ(refusedSink.progress.front(), 0u);
}

TEST_F(DownloadJobTest, FtpLoginFailureAsksThePrompt) {
    ScratchFolder folder("ftp-login");
    const std::u16string address = Url("ftp", ports.ftp, "/kit.bin").replace(6, 0, u"kit:wrong@");
    const DownloadResult refused = Download(Settings(address, folder.Path("refused.bin")));
    EXPECT_NE(refused, kDownloadSuccess);
    EXPECT_FALSE(FileExists(folder.Path("refused.bin")));

    TestPrompt prompt;
    prompt.answers = true;
    prompt.answer = Credentials{u"kit", u"secret"};
    DownloadSettings settings = Settings(address, folder.Path("kit.bin"));
    settings.quiet = false;
    settings.prompt = &prompt;
    ASSERT_EQ(Download(settings), kDownloadSuccess);
    ExpectServedFile(settings.localPath, test_support::kKitSize);
    EXPECT_EQ(prompt.askedServer, u"FTP Server");
    EXPECT_EQ(prompt.remembered, 1);
}

}  // namespace
}  // namespace maglorin
