#pragma once
// What a download tells its owner, and how it asks for credentials. Both are implemented by the
// caller (the prerequisites progress page, a test) and are called on the download's worker thread.

#include <cstdint>
#include <string>

#include "download_result.h"

namespace maglorin {

// Steps reported through DownloadSink::OnState.
enum class DownloadState : int {
    Starting = 1,
    Connected = 2,     // connected, or an asynchronous request completed
    DataReceived = 3,
    DialogClosed = 4,  // a credential or certificate dialog was closed
    DialogOpen = 5,    // a credential or certificate dialog is about to open
};

class DownloadSink {
public:
    virtual ~DownloadSink() = default;
    // The server answered: total size in bytes (0 = unknown) and the final local path.
    virtual void OnStart(std::uint32_t total, const std::u16string& localPath) = 0;
    // The download ended; true on completion (the file is in place).
    virtual void OnFinished(bool success) = 0;
    virtual void OnState(DownloadState state) = 0;
    // Bytes added to the file; once at the start with the resume offset (0 for a fresh file).
    virtual void OnProgress(std::uint32_t bytes) = 0;
    // Polled often; true stops the download (the ".part" file stays for a later resume).
    [[nodiscard]] virtual bool IsCancelled() = 0;
    // Polled while paused; the download waits as long as it answers true.
    [[nodiscard]] virtual bool IsPaused() = 0;
    // The download failed with this code (never called for "not modified").
    virtual void OnError(DownloadResult code) = 0;
};

struct Credentials {
    std::u16string userName;
    std::u16string password;
};

// Looks up stored credentials, asks the user, remembers what was accepted. The server is the
// host name ("FTP Server" for an FTP login); the realm comes from the server's challenge.
class CredentialPrompt {
public:
    virtual ~CredentialPrompt() = default;
    // Stored credentials for the server and realm, used without asking.
    [[nodiscard]] virtual bool Find(const std::u16string& server, const std::u16string& realm, Credentials& found) = 0;
    // Asks the user; ownerWindow is the dialog's parent (null: the desktop). False: declined.
    [[nodiscard]] virtual bool Ask(const std::u16string& server, const std::u16string& realm, const void* ownerWindow,
                                   Credentials& answer) = 0;
    // The server accepted these credentials.
    virtual void Remember(const std::u16string& server, const std::u16string& realm, const Credentials& accepted) = 0;
};

}  // namespace maglorin
