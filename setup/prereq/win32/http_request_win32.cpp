#include "download_worker_win32.h"

namespace maglorin {
namespace {

inline constexpr int kMaxCredentialRounds = 3;
inline constexpr int kMaxCertificateRounds = 3;
inline constexpr int kMaxDrainBlocks = 64;

DWORD RequestFlags(bool secure) {
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION |
                  INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    return secure ? flags | INTERNET_FLAG_SECURE : flags;
}

}  // namespace

std::u16string DownloadWorker::HeaderText(DWORD query) const {
    DWORD length = 0;
    ::HttpQueryInfoW(handles_.request.Get(), query, nullptr, &length, nullptr);
    if (length == 0) {
        return {};
    }
    std::u16string text(length / sizeof(char16_t) + 1, u'\0');
    length = static_cast<DWORD>(text.size() * sizeof(char16_t));
    if (!::HttpQueryInfoW(handles_.request.Get(), query, text.data(), &length, nullptr)) {
        return {};
    }
    text.resize(length / sizeof(char16_t));
    return text;
}

DownloadResult DownloadWorker::SendHttp() {
    const wchar_t* user = address_.userName.empty() ? nullptr : WideText(address_.userName);
    const wchar_t* password = address_.password.empty() ? nullptr : WideText(address_.password);
    DownloadResult result = session_.OpenHandle(
        InternetOperation::Connect,
        [&] {
            return ::InternetConnectW(session_.Handle(), WideText(address_.host), address_.port, user, password,
                                      INTERNET_SERVICE_HTTP, 0, session_.Context());
        },
        handles_.connection);
    if (result != kDownloadSuccess || (result = OpenHttpRequest()) != kDownloadSuccess) {
        return result;
    }
    for (;;) {  // bounded by the credential and certificate rounds
        bool retry = false;
        result = SendHttpRequest();
        if (IsCertificateError(result)) {
            result = AcceptCertificate(result, retry);
        } else if (result == kDownloadSuccess) {
            HttpAnswer answer;
            if ((result = ReadHttpAnswer(answer)) != kDownloadSuccess) {
                return result;
            }
            if (answer.status != 401 && answer.status != 407) {
                RememberCredentials();
                return ApplyHttpAnswer(answer);
            }
            result = AnswerChallenge(answer.status == 407, retry);
        }
        if (!retry) {
            return result;
        }
    }
}

DownloadResult DownloadWorker::OpenHttpRequest() {
    static const wchar_t* const kAccept[] = {L"*/*", nullptr};
    const wchar_t* verb = headOnly_ ? L"HEAD" : L"GET";
    const DWORD flags = RequestFlags(address_.scheme == DownloadScheme::Https);
    return session_.OpenHandle(
        InternetOperation::OpenRequest,
        [&] {
            return ::HttpOpenRequestW(handles_.connection.Get(), verb, WideText(address_.path), L"HTTP/1.0", L"",
                                      const_cast<const wchar_t**>(kAccept), flags, session_.Context());
        },
        handles_.request);
}

DownloadResult DownloadWorker::SendHttpRequest() {
    requestHeaders_ = headOnly_ ? std::u16string{} : RangeHeader(offset_);
    requestHeaders_ += settings_.extraHeaders;
    const wchar_t* headers = requestHeaders_.empty() ? nullptr : WideText(requestHeaders_);
    const DWORD length = static_cast<DWORD>(requestHeaders_.size());
    return session_.Call(InternetOperation::SendRequest, [&] {
        return ::HttpSendRequestW(handles_.request.Get(), headers, length, nullptr, 0);
    });
}

DownloadResult DownloadWorker::ReadHttpAnswer(HttpAnswer& answer) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!::HttpQueryInfoW(handles_.request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &value, &size,
                          nullptr)) {
        return ::GetLastError();
    }
    answer.status = value;
    outcome_.httpStatus = value;
    size = sizeof value;
    if (::HttpQueryInfoW(handles_.request.Get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &value, &size,
                         nullptr)) {
        answer.contentLength = value;
    }
    answer.contentRange = HeaderText(HTTP_QUERY_CONTENT_RANGE);
    outcome_.lastModified = SYSTEMTIME{};
    if (settings_.wantLastModified && answer.status != 304) {
        size = sizeof outcome_.lastModified;
        if (!::HttpQueryInfoW(handles_.request.Get(), HTTP_QUERY_LAST_MODIFIED | HTTP_QUERY_FLAG_SYSTEMTIME,
                              &outcome_.lastModified, &size, nullptr)) {
            outcome_.lastModified = SYSTEMTIME{};
        }
    }
    return kDownloadSuccess;
}

DownloadResult DownloadWorker::ApplyHttpAnswer(const HttpAnswer& answer) {
    if (headOnly_) {
        // The address answers only when the server says the thing is there.
        if (answer.status >= 200 && answer.status < 300) {
            return kDownloadSuccess;
        }
        const HttpDecision decision = DecideHttpAnswer(answer, 0);
        return decision.next == HttpNext::Fail ? decision.result : kDownloadHttpStatus;
    }
    const HttpDecision decision = DecideHttpAnswer(answer, offset_);
    switch (decision.next) {
    case HttpNext::Transfer:
    case HttpNext::Complete:
        complete_ = decision.next == HttpNext::Complete;
        total_ = decision.total;
        offset_ = decision.offset;
        return kDownloadSuccess;
    case HttpNext::RestartFromZero:
        restart_ = true;
        restartCause_ = decision.result;
        return kDownloadSuccess;
    default:
        return decision.result;
    }
}

DownloadResult DownloadWorker::AcceptCertificate(DownloadResult error, bool& retry) {
    retry = false;
    if (settings_.quiet || ++certificateRounds_ > kMaxCertificateRounds) {
        return error;
    }
    State(DownloadState::DialogOpen);
    HWND owner = settings_.ownerWindow != nullptr ? settings_.ownerWindow : ::GetDesktopWindow();
    const DWORD answer = ::InternetErrorDlg(owner, handles_.request.Get(), error,
                                            FLAGS_ERROR_UI_FILTER_FOR_ERRORS | FLAGS_ERROR_UI_FLAGS_GENERATE_DATA |
                                                FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS,
                                            nullptr);
    State(DownloadState::DialogClosed);
    retry = answer == ERROR_SUCCESS || answer == ERROR_INTERNET_FORCE_RETRY;
    return retry ? kDownloadSuccess : error;
}

DownloadResult DownloadWorker::AnswerChallenge(bool proxy, bool& retry) {
    retry = false;
    if (++credentialRounds_ > kMaxCredentialRounds) {
        return kDownloadNeedsCredentials;
    }
    const std::u16string realm =
        RealmFromChallenge(HeaderText(proxy ? HTTP_QUERY_PROXY_AUTHENTICATE : HTTP_QUERY_WWW_AUTHENTICATE));
    const std::u16string server = proxy ? (settings_.proxy.empty() ? u"proxy" : settings_.proxy) : address_.host;
    Credentials credentials;
    if (!FindCredentials(server, realm, proxy, credentials)) {
        return kDownloadNeedsCredentials;
    }
    DrainBody();
    const DWORD userOption = proxy ? INTERNET_OPTION_PROXY_USERNAME : INTERNET_OPTION_USERNAME;
    const DWORD passwordOption = proxy ? INTERNET_OPTION_PROXY_PASSWORD : INTERNET_OPTION_PASSWORD;
    HINTERNET request = handles_.request.Get();
    if (!::InternetSetOptionW(request, userOption, const_cast<wchar_t*>(WideText(credentials.userName)),
                              static_cast<DWORD>(credentials.userName.size())) ||
        !::InternetSetOptionW(request, passwordOption, const_cast<wchar_t*>(WideText(credentials.password)),
                              static_cast<DWORD>(credentials.password.size()))) {
        return ::GetLastError();
    }
    retry = true;
    return kDownloadSuccess;
}

bool DownloadWorker::FindCredentials(const std::u16string& server, const std::u16string& realm, bool proxy,
                                     Credentials& found) {
    rememberPending_ = false;
    // The proxy's credentials from the command line come first, once.
    if (proxy && !proxyCommandLineTried_ && !settings_.proxyUserName.empty()) {
        proxyCommandLineTried_ = true;
        found = Credentials{settings_.proxyUserName, settings_.proxyPassword};
        return true;
    }
    CredentialPrompt* prompt = settings_.prompt;
    if (prompt == nullptr) {
        return false;
    }
    bool& storedTried = storedTried_[proxy ? 1 : 0];
    bool have = !storedTried && prompt->Find(server, realm, found);
    storedTried = true;
    if (!have && !settings_.quiet) {
        State(DownloadState::DialogOpen);
        have = prompt->Ask(server, realm, settings_.ownerWindow, found);
        State(DownloadState::DialogClosed);
    }
    if (have) {
        rememberPending_ = true;
        pendingCredentials_ = found;
        pendingServer_ = server;
        pendingRealm_ = realm;
    }
    return have;
}

void DownloadWorker::RememberCredentials() {
    if (rememberPending_ && settings_.prompt != nullptr) {
        settings_.prompt->Remember(pendingServer_, pendingRealm_, pendingCredentials_);
    }
    rememberPending_ = false;
}

// The body of a challenge is read away before the request is sent again on the same handle.
void DownloadWorker::DrainBody() {
    for (int block = 0; block < kMaxDrainBlocks; ++block) {
        DWORD got = 0;
        if (ReadBlock(got) != kDownloadSuccess || got == 0) {
            return;
        }
    }
}

}  // namespace maglorin
