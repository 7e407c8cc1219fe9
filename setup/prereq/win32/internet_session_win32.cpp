#include "internet_session_win32.h"
#include "wide_text.h"

namespace maglorin {
namespace {

inline constexpr DWORD kSlice = 10;                // milliseconds of one wait slice
inline constexpr DWORD kClosingWait = 1000;        // milliseconds to wait for a handle to close
inline constexpr wchar_t kAgent[] = L"TorvexaSetup";

// "Pending", or a failure that names no error: some library versions queue an asynchronous call
// (an FTP file opening) without saying so, and report it on completion like any other.
bool WentAsynchronous(DWORD error) { return error == ERROR_IO_PENDING || error == ERROR_SUCCESS; }

}  // namespace

InternetSession::~InternetSession() { Close(); }

DownloadResult InternetSession::Open(const std::u16string& proxy) {
    // Private events: two setups running at once never share them.
    requestComplete_.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    handleClosing_.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!requestComplete_ || !handleClosing_) {
        return ::GetLastError();
    }
    const DWORD access = proxy.empty() ? INTERNET_OPEN_TYPE_PRECONFIG : INTERNET_OPEN_TYPE_PROXY;
    session_.Reset(::InternetOpenW(kAgent, access, proxy.empty() ? nullptr : WideText(proxy), nullptr, INTERNET_FLAG_ASYNC));
    if (!session_.IsValid()) {
        return ::GetLastError();
    }
    if (::InternetSetStatusCallbackW(session_.Get(), &InternetSession::StatusCallback) ==
        INTERNET_INVALID_STATUS_CALLBACK) {
        return ::GetLastError();
    }
    return kDownloadSuccess;
}

void CALLBACK InternetSession::StatusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD) {
    auto* self = reinterpret_cast<InternetSession*>(context);
    if (self == nullptr) {
        return;  // the session handle itself carries no context
    }
    switch (status) {
    case INTERNET_STATUS_CONNECTION_CLOSED:
        self->connectionClosed_ = true;
        break;
    case INTERNET_STATUS_HANDLE_CREATED: {
        // An FTP file opened asynchronously arrives here; its completion may carry another value.
        const auto* created = static_cast<const INTERNET_ASYNC_RESULT*>(info);
        if (created != nullptr) {
            self->createdHandle_ = created->dwResult;
        }
        break;
    }
    case INTERNET_STATUS_HANDLE_CLOSING:
        ::SetEvent(self->handleClosing_.Get());
        break;
    case INTERNET_STATUS_REQUEST_COMPLETE: {
        const auto* result = static_cast<const INTERNET_ASYNC_RESULT*>(info);
        self->completionResult_ = result != nullptr ? result->dwResult : 0;
        self->completionError_ = result != nullptr ? result->dwError : ERROR_INTERNET_INTERNAL_ERROR;
        ::SetEvent(self->requestComplete_.Get());
        break;
    }
    default:
        break;
    }
}

DownloadResult InternetSession::WaitForCompletion() {
    for (;;) {
        if (::WaitForSingleObject(requestComplete_.Get(), kSlice) == WAIT_OBJECT_0) {
            return completionError_.load();
        }
        if (Cancelled()) {
            return kDownloadCancelled;
        }
    }
}

DownloadResult InternetSession::Call(InternetOperation operation, const std::function<BOOL()>& call,
                                     DWORD_PTR* result) {
    ::ResetEvent(requestComplete_.Get());
    operation_ = static_cast<int>(operation);
    if (Cancelled()) {
        return kDownloadCancelled;
    }
    ::SetLastError(ERROR_SUCCESS);
    if (call()) {
        return kDownloadSuccess;
    }
    const DWORD error = ::GetLastError();
    if (!WentAsynchronous(error)) {
        return error;
    }
    const DownloadResult completed = WaitForCompletion();
    if (operation == InternetOperation::QueryData && completed != kDownloadCancelled) {
        // A data query completes with the byte count where other operations put an error; the
        // caller asks again at once and then gets the count, or the error, directly.
        if (result != nullptr) {
            *result = completionError_.load();
        }
        return kDownloadSuccess;
    }
    if (completed == kDownloadSuccess && result != nullptr) {
        *result = completionResult_.load();
    }
    return completed;
}

DownloadResult InternetSession::OpenHandle(InternetOperation operation, const std::function<HINTERNET()>& call,
                                           SharedInternetHandle& out) {
    ::ResetEvent(requestComplete_.Get());
    createdHandle_ = 0;
    operation_ = static_cast<int>(operation);
    if (Cancelled()) {
        return kDownloadCancelled;
    }
    ::SetLastError(ERROR_SUCCESS);
    if (HINTERNET handle = call()) {
        out.Reset(handle);
        return kDownloadSuccess;
    }
    const DWORD error = ::GetLastError();
    if (!WentAsynchronous(error)) {
        return error;
    }
    const DownloadResult completed = WaitForCompletion();
    if (completed == kDownloadSuccess) {
        const DWORD_PTR created = createdHandle_.load();
        out.Reset(reinterpret_cast<HINTERNET>(created != 0 ? created : completionResult_.load()));
        if (!out.IsValid()) {
            return ERROR_INTERNET_INTERNAL_ERROR;
        }
    }
    return completed;
}

void InternetSession::CloseAndWait(SharedInternetHandle& handle) {
    if (!handle.IsValid()) {
        return;
    }
    ::ResetEvent(handleClosing_.Get());
    handle.Close();
    ::WaitForSingleObject(handleClosing_.Get(), kClosingWait);
}

void InternetSession::Close() {
    if (session_.IsValid()) {
        ::InternetSetStatusCallbackW(session_.Get(), nullptr);
        session_.Close();
    }
}

bool InternetSession::Sleep(DWORD milliseconds) {
    for (DWORD waited = 0; waited < milliseconds; waited += kSlice) {
        if (Cancelled()) {
            return false;
        }
        ::Sleep(kSlice);
    }
    return !Cancelled();
}

}  // namespace maglorin
