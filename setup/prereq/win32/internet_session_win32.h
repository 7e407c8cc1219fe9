#pragma once
// One download's Internet session in asynchronous mode: the session handle, the status callback
// and the two private events it signals (request complete, handle closing). Asynchronous calls
// are waited for in 10 ms slices so that a cancel takes effect at once.
//
// Ownership: the session object outlives every handle opened under it (it is their callback
// context), so it is destroyed only after their closing has been waited for.

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "download_result.h"
#include "win32_handles.h"

namespace maglorin {

// The asynchronous operation in progress (kept for the log and the callback).
enum class InternetOperation : int { Connect = 0, FtpOpen = 2, Read = 3, FtpCommand = 4, OpenRequest = 6,
                                     SendRequest = 7, QueryData = 8 };

class InternetSession {
public:
    InternetSession() = default;
    InternetSession(const InternetSession&) = delete;
    InternetSession& operator=(const InternetSession&) = delete;
    ~InternetSession();

    // Creates the events and opens the session (the given proxy, or the system's settings).
    [[nodiscard]] DownloadResult Open(const std::u16string& proxy);
    HINTERNET Handle() const { return session_.Get(); }
    // The value every handle opened under this session carries as its callback context.
    DWORD_PTR Context() { return reinterpret_cast<DWORD_PTR>(this); }

    // True stops any wait with kDownloadCancelled.
    void SetCancelCheck(std::function<bool()> cancelled) { cancelled_ = std::move(cancelled); }

    // Runs a call that answers TRUE, or FALSE with ERROR_IO_PENDING and completes later.
    // result: the completion's value (bytes for a data query) when it went asynchronous.
    [[nodiscard]] DownloadResult Call(InternetOperation operation, const std::function<BOOL()>& call,
                                      DWORD_PTR* result = nullptr);
    // Runs a call that returns a new handle, now or on completion. The handle is stored in out.
    [[nodiscard]] DownloadResult OpenHandle(InternetOperation operation, const std::function<HINTERNET()>& call,
                                            SharedInternetHandle& out);

    // Closes a handle and waits up to 1 second for the library to report it closing.
    void CloseAndWait(SharedInternetHandle& handle);
    // Closes the session handle; later calls on handles under it fail at once.
    void Close();

    bool ConnectionClosed() const { return connectionClosed_.load(); }
    // Slices of 10 ms; false when cancelled.
    [[nodiscard]] bool Sleep(DWORD milliseconds);
    [[nodiscard]] bool Cancelled() const { return cancelled_ && cancelled_(); }

private:
    static void CALLBACK StatusCallback(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID info,
                                        DWORD infoLength);
    [[nodiscard]] DownloadResult WaitForCompletion();

    SharedInternetHandle session_;
    EventHandle requestComplete_;
    EventHandle handleClosing_;
    std::function<bool()> cancelled_;
    std::atomic<int> operation_{0};
    std::atomic<bool> connectionClosed_{false};
    // Written by the callback thread before it signals requestComplete_.
    std::atomic<DWORD_PTR> completionResult_{0};
    std::atomic<DWORD> completionError_{0};
    std::atomic<DWORD_PTR> createdHandle_{0};
};

}  // namespace maglorin
