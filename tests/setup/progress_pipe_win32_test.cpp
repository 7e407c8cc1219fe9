// "/groupsextract:" progress over the named pipe, against the pipe server test program: the
// messages it receives, and its "CLOSE" reply taken as the user's cancel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "extraction_test_support_win32.h"
#include "groups_extract_win32.h"
#include "payload_extractor.h"
#include "progress_pipe_transport_win32.h"

namespace maglorin {
namespace {

using namespace test_support;

// Starts the server and waits until its pipe accepts a client.
class PipeServer {
public:
    PipeServer(const std::wstring& id, int closeAt, const std::wstring& log) {
        std::wstring command = L"progress_pipe_server.exe " + id + L" " + std::to_wstring(closeAt) + L" \"" + log + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        started_ = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                    &info) != 0;
        if (started_) {
            process_.Reset(info.hProcess);
            ThreadHandle thread(info.hThread);
        }
    }
    bool Started() const { return started_; }
    // Waits until the pipe exists or the server has ended.
    bool WaitForPipe(const std::wstring& id) {
        const PathText name = ProgressPipeName(id);
        while (::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
            if (::WaitNamedPipeW(name.c_str(), 50)) return true;
            ::Sleep(20);
        }
        return false;
    }
    DWORD WaitForExit() {
        ::WaitForSingleObject(process_.Get(), INFINITE);
        DWORD code = 99;
        ::GetExitCodeProcess(process_.Get(), &code);
        return code;
    }

private:
    bool started_ = false;
    ProcessHandle process_;
};

std::vector<std::string> Lines(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct PipeRun {
    int result = -1;
    std::vector<std::string> messages;
    DWORD serverExit = 99;
};

PipeRun RunWithServer(const std::wstring& id, int closeAt, const std::vector<std::int32_t>& groups,
                      const std::string& folderName) {
    PipeRun run;
    const std::filesystem::path log = std::filesystem::absolute(L"testdata\\extraction-work\\pipe-" + id + L".log");
    PipeServer server(id, closeAt, log.wstring());
    EXPECT_TRUE(server.Started());
    EXPECT_TRUE(server.WaitForPipe(id));
    PayloadReader reader;
    EXPECT_EQ(reader.Open(Data("large.pkg")), kResultSuccess);
    const PathText folder = FreshFolder(folderName);
    {
        std::unique_ptr<ProgressPipeTransport> transport = ProgressPipeTransport::Connect(id);
        EXPECT_NE(transport, nullptr);
        if (transport == nullptr) return run;
        ProgressPipe pipe(*transport, SignalStartEvent);
        ExtractionSettings settings;
        settings.userInterfaceEnabled = false;
        settings.cleanupMode = CleanupMode::KeepEntries;
        PayloadExtractor extractor(reader, settings);
        extractor.SetExtractionFolder(folder);
        run.result = extractor.ExtractGroups(groups, &pipe);
    }
    run.serverExit = server.WaitForExit();
    run.messages = Lines(log);
    return run;
}

TEST(ProgressPipeWin32Test, TheServerReceivesEveryMessageInDecimal) {
    const PipeRun run = RunWithServer(L"9001", -1, {100}, "pipe-all");
    EXPECT_EQ(run.result, kResultSuccess);
    EXPECT_EQ(run.serverExit, 0u);
    ASSERT_GE(run.messages.size(), 11u);
    const std::uint64_t size = FileSize(Data("large.bin").wstring());
    EXPECT_EQ(run.messages[0], "184549376");                                  // overall start
    EXPECT_EQ(run.messages[1], std::to_string(static_cast<std::int32_t>(size)));
    EXPECT_EQ(run.messages[2], "0");
    EXPECT_EQ(run.messages[3], "134217728");                                  // begin item
    EXPECT_EQ(run.messages[4], "100");
    EXPECT_EQ(run.messages[5], "150994944");
    EXPECT_NE(run.messages[6].find("big\\large.bin"), std::string::npos);
    EXPECT_EQ(run.messages[7], "167772160");                                  // item progress
    EXPECT_EQ(run.messages[8], "65536");
    // The last progress reports the whole entry, then the finish.
    const std::size_t n = run.messages.size();
    EXPECT_EQ(run.messages[n - 1], "CLOSE");
    EXPECT_EQ(run.messages[n - 4], "167772160");
    EXPECT_EQ(run.messages[n - 3], std::to_string(size));
}

TEST(ProgressPipeWin32Test, ACloseReplyCancelsTheExtraction) {
    const PipeRun run = RunWithServer(L"9002", 2, {100}, "pipe-close");
    EXPECT_EQ(run.result, kResultCancelled);
    EXPECT_EQ(run.serverExit, 0u);
    // Three progress reports were sent; the cancel query before the fourth block stopped it.
    std::size_t progress = 0;
    for (const std::string& m : run.messages) progress += m == "167772160";
    EXPECT_EQ(progress, 3u);
    ASSERT_FALSE(run.messages.empty());
    EXPECT_EQ(run.messages.back(), "CLOSE");
}

TEST(ProgressPipeWin32Test, GroupsExtractReportsToTheCallerAndKeepsTheFiles) {
    struct Case {
        const char* package;
        const wchar_t* id;
        int closeAt;
        int exitCode;
        int result;
    } cases[] = {
        {"large.pkg", L"9003", -1, 0, kResultSuccess},
        {"configured.pkg", L"9004", -1, 0, kResultSuccess},
        {"large.pkg", L"9005", 1, -1, kResultCancelled},  // a failure is not reported as success
    };
    for (const Case& c : cases) {
        const std::filesystem::path log = std::filesystem::absolute(std::wstring(L"testdata\\extraction-work\\g") + c.id);
        PipeServer server(c.id, c.closeAt, log.wstring());
        ASSERT_TRUE(server.Started());
        ASSERT_TRUE(server.WaitForPipe(c.id));
        const PathText folder = FreshFolder(std::string("groups-") + c.package);
        GroupsExtractRequest request;
        request.packagePath = Data(c.package);
        request.groupsValue = PathFromAscii("100;7");
        request.outValue = L"\"" + folder.substr(0, folder.size() - 1) + L"\"";  // quoted, no final separator
        request.callbackId = PathText(c.id);
        const GroupsExtractOutcome outcome = RunGroupsExtract(request);
        EXPECT_EQ(server.WaitForExit(), 0u) << c.package;
        EXPECT_TRUE(outcome.progressConnected) << c.package;
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.package;
        EXPECT_EQ(outcome.result, c.result) << c.package;
        const std::vector<std::string> messages = Lines(log);
        ASSERT_FALSE(messages.empty()) << c.package;
        EXPECT_EQ(messages.front(), "184549376") << c.package;
        EXPECT_EQ(messages.back(), "CLOSE") << c.package;
        if (c.result == kResultSuccess) {
            // Mode 3: the extracted files stay for the caller after setup's clean-up.
            const PathText file = folder + (std::string(c.package) == "large.pkg" ? L"big\\large.bin" : L"pre\\pre.exe");
            EXPECT_TRUE(Exists(file)) << c.package;
        }
    }
}

TEST(ProgressPipeWin32Test, GroupsExtractWithoutAPackageOrAServer) {
    GroupsExtractRequest request;
    request.packagePath = Data("missing.pkg");
    request.groupsValue = PathFromAscii("100;");
    request.outValue = FreshFolder("groups-missing");
    GroupsExtractOutcome outcome = RunGroupsExtract(request);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.result, kResultReadError);

    request.packagePath = Data("large.pkg");
    request.callbackId = PathFromAscii("nobody-listens");
    outcome = RunGroupsExtract(request);  // no server: extracted without progress
    EXPECT_FALSE(outcome.progressConnected);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(Exists(request.outValue + L"big\\large.bin"));
}

// The route never verifies the digest, so a footer whose digest is not hexadecimal cannot name
// the package sub-folder: refused as damage before anything is written anywhere.
TEST(ProgressPipeWin32Test, GroupsExtractRefusesADigestThatIsNoSubFolderName) {
    const PathText work = FreshFolder("groups-bad-digest");
    for (const char* digest : {"..\\..\\x", "0123 56", "012345g"}) {
        std::ifstream in(Data("large.pkg"), std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GT(bytes.size(), 76u);
        const std::size_t digestAt = bytes.size() - 76 + 28;  // the packer appends nothing
        std::copy(digest, digest + std::strlen(digest), bytes.begin() + static_cast<std::ptrdiff_t>(digestAt));
        const PathText package = work + L"bad.pkg";
        {
            std::ofstream out(std::filesystem::path(package), std::ios::binary | std::ios::trunc);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        const PathText out = work + L"a\\b\\";
        GroupsExtractRequest request;
        request.packagePath = package;
        request.groupsValue = PathFromAscii("100;7");
        request.outValue = out;
        const GroupsExtractOutcome outcome = RunGroupsExtract(request);
        EXPECT_EQ(outcome.result, kResultDamagedPackage) << digest;
        EXPECT_EQ(outcome.exitCode, 1) << digest;
        EXPECT_EQ(FilesBelow(work), std::vector<std::string>{"bad.pkg"}) << digest;
    }
}

TEST(ProgressPipeWin32Test, NoServerNoConnection) {
    EXPECT_EQ(ProgressPipeTransport::Connect(L"nobody-listens"), nullptr);
}

}  // namespace
}  // namespace maglorin
