#pragma once
// The body of one download, shared by the job's worker thread and the address check: connect,
// send (HTTP) or open (FTP) with retries and credentials, then copy the data into the working
// file, reconnecting a broken HTTP transfer. One worker per download; not thread-safe.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "download_address.h"
#include "download_job_win32.h"
#include "download_status.h"
#include "internet_session_win32.h"
#include "wide_text.h"

namespace maglorin {

class DownloadWorker {
public:
    DownloadWorker(const DownloadSettings& settings, const std::atomic<bool>& abort, DownloadHandles handles,
                   bool headOnly);
    DownloadOutcome Run();

private:
    // The request, with the retry rule for servers that cannot be reached.
    [[nodiscard]] DownloadResult SendWithRetries(bool reportStates);
    [[nodiscard]] DownloadResult SendOnce();
    // HTTP (http_request_win32.cpp).
    [[nodiscard]] DownloadResult SendHttp();
    [[nodiscard]] DownloadResult OpenHttpRequest();
    [[nodiscard]] DownloadResult SendHttpRequest();
    [[nodiscard]] DownloadResult ReadHttpAnswer(HttpAnswer& answer);
    [[nodiscard]] DownloadResult AcceptCertificate(DownloadResult error, bool& retry);
    [[nodiscard]] DownloadResult AnswerChallenge(bool proxy, bool& retry);
    [[nodiscard]] DownloadResult ApplyHttpAnswer(const HttpAnswer& answer);
    [[nodiscard]] bool FindCredentials(const std::u16string& server, const std::u16string& realm, bool proxy,
                                       Credentials& found);
    void RememberCredentials();
    [[nodiscard]] std::u16string HeaderText(DWORD query) const;
    void DrainBody();
    // FTP (ftp_request_win32.cpp).
    [[nodiscard]] DownloadResult OpenFtp();
    [[nodiscard]] DownloadResult ConnectFtp();
    [[nodiscard]] bool RestartFtpAt(std::uint32_t offset);
    [[nodiscard]] bool FtpCommand(const std::u16string& command, const char16_t* expectedCode);
    [[nodiscard]] std::uint32_t FtpFileSize(const std::u16string& path);
    void FetchServerResponse();
    // The data (download_transfer_win32.cpp).
    [[nodiscard]] DownloadResult Download();
    [[nodiscard]] DownloadResult OpenWorkingFile();
    [[nodiscard]] DownloadResult CopyData();
    [[nodiscard]] DownloadResult ReadBlock(DWORD& got);
    [[nodiscard]] DownloadResult WaitForData(DWORD& available);
    [[nodiscard]] DownloadResult ReadWhatIsThere(DWORD& got);
    [[nodiscard]] DownloadResult ReadFtpBlock(DWORD& got);
    [[nodiscard]] DownloadResult Reconnect(DownloadResult cause);
    [[nodiscard]] DownloadResult FinishFile();
    [[nodiscard]] DownloadResult Fail(DownloadResult result);
    [[nodiscard]] std::uint64_t WorkingFileSize() const;
    [[nodiscard]] bool WaitWhilePaused();
    [[nodiscard]] bool Cancelled() const;
    void CloseRequest();
    void State(DownloadState state);
    bool Http() const { return address_.scheme == DownloadScheme::Http || address_.scheme == DownloadScheme::Https; }

    const DownloadSettings& settings_;
    const std::atomic<bool>& abort_;
    DownloadHandles handles_;
    const bool headOnly_;
    InternetSession session_;
    DownloadAddress address_;
    DownloadOutcome outcome_;
    std::u16string workingPath_;
    FileHandle file_;
    RetryBudget retries_;
    std::uint32_t offset_ = 0;  // bytes of the working file the server continues from
    std::uint32_t total_ = 0;   // the whole file's size, 0 = unknown
    bool complete_ = false;     // the working file already holds the whole file
    bool restart_ = false;      // the server wants the whole file asked for again
    DownloadResult restartCause_ = kDownloadSuccess;
    int credentialRounds_ = 0;
    int certificateRounds_ = 0;
    bool proxyCommandLineTried_ = false;
    bool storedTried_[2] = {false, false};  // server, proxy
    // Credentials the prompt gave for the request in flight, remembered once accepted.
    bool rememberPending_ = false;
    Credentials pendingCredentials_;
    std::u16string pendingServer_;
    std::u16string pendingRealm_;
    std::u16string requestHeaders_;  // must live while a send is pending
    std::vector<std::uint8_t> buffer_;
    INTERNET_BUFFERSW readBuffers_{};  // must live while a read is pending
    DWORD available_ = 0;
    DWORD bytesRead_ = 0;
};

}  // namespace maglorin
