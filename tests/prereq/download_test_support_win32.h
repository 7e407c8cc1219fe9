#pragma once
// What the downloader tests under Wine share: the ports of the servers the fixture started, the
// bytes those servers serve, a scratch folder per test, and a sink and a credential prompt that
// record what the downloader told them.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "download_sink.h"

namespace maglorin::test_support {

struct ServerPorts {
    int http = 0;       // nginx
    int https = 0;      // nginx, self-signed certificate
    int test = 0;       // download_test_server.py
    int ftp = 0;        // pyftpdlib
    int ftpNoRest = 0;  // pyftpdlib refusing REST
};

// From the ports file the fixture wrote (folder named by MAGLORIN_DOWNLOAD_SERVERS).
[[nodiscard]] bool ReadServerPorts(ServerPorts& ports);

inline constexpr std::uint32_t kKitSize = 3 * 1024 * 1024;  // the served kit.bin

// The bytes every test server serves, from offset 0.
std::vector<std::uint8_t> PatternBytes(std::size_t count);

std::u16string Url(const char* scheme, int port, const std::string& path);
std::u16string Text(const std::string& text);

// A fresh folder under the temporary folder; removed with its files by the destructor.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    std::u16string Path(const std::string& file) const;

private:
    std::u16string folder_;
};

[[nodiscard]] bool ReadWholeFile(const std::u16string& path, std::vector<std::uint8_t>& bytes);
[[nodiscard]] bool WriteWholeFile(const std::u16string& path, const std::vector<std::uint8_t>& bytes);
[[nodiscard]] bool FileExists(const std::u16string& path);

// Request count of a path on the test server ("/cut/100000"), -1 when it cannot be asked.
int TestServerCount(int port, const std::string& path);

class RecordingSink final : public DownloadSink {
public:
    void OnStart(std::uint32_t total, const std::u16string& localPath) override;
    void OnFinished(bool success) override;
    void OnState(DownloadState state) override;
    void OnProgress(std::uint32_t bytes) override;
    bool IsCancelled() override;
    bool IsPaused() override;
    void OnError(DownloadResult code) override;

    // Cancel once this many bytes (after the first report) have arrived; 0 = never.
    std::uint64_t cancelAfterBytes = 0;
    std::atomic<bool> paused{false};
    std::atomic<int> pausedPolls{0};

    std::mutex lock;
    int starts = 0;
    std::uint32_t startTotal = 0;
    std::vector<std::uint32_t> progress;
    std::vector<int> states;
    std::vector<DownloadResult> errors;
    int finishedTrue = 0;
    std::atomic<std::uint64_t> received{0};  // bytes after the first report
};

class TestPrompt final : public CredentialPrompt {
public:
    bool Find(const std::u16string& server, const std::u16string& realm, Credentials& found) override;
    bool Ask(const std::u16string& server, const std::u16string& realm, const void* ownerWindow,
             Credentials& answer) override;
    void Remember(const std::u16string& server, const std::u16string& realm, const Credentials& accepted) override;

    bool hasStored = false;
    Credentials stored;
    bool answers = false;
    Credentials answer;
    int found = 0;
    int asked = 0;
    std::u16string askedServer;
    std::u16string askedRealm;
    int remembered = 0;
};

}  // namespace maglorin::test_support
