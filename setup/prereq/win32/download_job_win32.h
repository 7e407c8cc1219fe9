#pragma once
// A download job: one address fetched into one local file on a worker thread of its own, through
// a ".part" working file that survives interruptions and is resumed later. The caller creates the
// job, starts it once, and stops it (or lets the destructor stop it).

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "download_result.h"
#include "download_sink.h"
#include "win32_handles.h"

namespace maglorin {

struct DownloadSettings {
    std::u16string address;
    // The final file, or a folder ending in "\" to take the file name from the address.
    std::u16string localPath;
    bool resume = true;  // use and keep the ".part" file
    bool wait = true;    // Start waits for the worker and returns its result
    // A quiet run never shows a dialog (credentials, certificates); it fails with the code instead.
    bool quiet = false;
    std::u16string proxy;  // empty: the system's settings
    // The proxy's credentials from the command line ("/username:", "/password:").
    std::u16string proxyUserName;
    std::u16string proxyPassword;
    std::u16string extraHeaders;  // appended to the HTTP request headers, each ending "\r\n"
    bool wantLastModified = false;
    HWND ownerWindow = nullptr;  // parent of the dialogs; null: the desktop
    DownloadSink* sink = nullptr;
    CredentialPrompt* prompt = nullptr;
    // Pause between attempts to reach a server that cannot be connected or resolved.
    DWORD retryPauseMs = 10000;
};

// What a finished job learned, for the log and the caller.
struct DownloadOutcome {
    DownloadResult result = kDownloadSuccess;
    std::uint32_t httpStatus = 0;  // last HTTP status seen, 0 for none
    std::u16string localPath;      // the final path that was formed
    std::u16string lastServerResponse;
    SYSTEMTIME lastModified{};  // zero when not asked for or not sent
    int retriesLeft = 0;
};

class DownloadJob {
public:
    explicit DownloadJob(DownloadSettings settings);
    ~DownloadJob();
    DownloadJob(const DownloadJob&) = delete;
    DownloadJob& operator=(const DownloadJob&) = delete;

    // Starts the worker thread (once). With the wait flag: waits and returns the result;
    // otherwise kDownloadSuccess once the thread runs.
    [[nodiscard]] DownloadResult Start();
    // Waits for the worker to end by itself and returns its result.
    DownloadResult Wait();
    // Asks the worker to stop, closes its Internet handles so that no call keeps it blocked, and
    // waits for it to end; never terminates it. Returns the worker's result.
    DownloadResult Stop();
    // The worker has ended (or never started).
    [[nodiscard]] bool Finished() const;
    // Valid once the worker has ended.
    const DownloadOutcome& Outcome() const { return outcome_; }

private:
    static DWORD WINAPI ThreadMain(void* job);

    DownloadSettings settings_;
    DownloadOutcome outcome_;
    std::atomic<bool> abort_{false};
    ThreadHandle thread_;
    // The worker's connection and request, so that Stop can close them from the owner's thread.
    SharedInternetHandle connection_;
    SharedInternetHandle request_;
};

// Runs one download on the calling thread (what the worker runs); used by the address check too.
struct DownloadHandles {
    SharedInternetHandle& connection;
    SharedInternetHandle& request;
};
[[nodiscard]] DownloadOutcome RunDownload(const DownloadSettings& settings, const std::atomic<bool>& abort,
                                          DownloadHandles handles, bool headOnly);

}  // namespace maglorin
