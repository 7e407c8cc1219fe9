#include <string>

#include "download_worker_win32.h"

namespace maglorin {
namespace {

inline constexpr int kMaxLoginRounds = 3;
inline constexpr char16_t kFtpServer[] = u"FTP Server";

bool IsLoginFailure(DownloadResult error) {
    return error == kInternetIncorrectUserName || error == kInternetIncorrectPassword ||
           error == kInternetLoginFailure;
}

// The path on the server: the address's path without any query.
std::u16string ServerPath(const std::u16string& path) { return path.substr(0, path.find(u'?')); }

}  // namespace

void DownloadWorker::FetchServerResponse() {
    DWORD error = 0;
    DWORD length = 0;
    ::InternetGetLastResponseInfoW(&error, nullptr, &length);
    if (length == 0) {
        return;
    }
    std::u16string text(length + 1, u'\0');
    length = static_cast<DWORD>(text.size());
    if (::InternetGetLastResponseInfoW(&error, reinterpret_cast<wchar_t*>(text.data()), &length)) {
        text.resize(length);
        outcome_.lastServerResponse = text;
    }
}

DownloadResult DownloadWorker::ConnectFtp() {
    Credentials login{address_.userName, address_.password};
    for (int round = 0;; ++round) {
        const wchar_t* user = login.userName.empty() ? nullptr : WideText(login.userName);
        const wchar_t* password = login.password.empty() ? nullptr : WideText(login.password);
        const DownloadResult result = session_.OpenHandle(
            InternetOperation::Connect,
            [&] {
                return ::InternetConnectW(session_.Handle(), WideText(address_.host), address_.port, user, password,
                                          INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, session_.Context());
            },
            handles_.connection);
        if (result == kDownloadSuccess) {
            RememberCredentials();
            return result;
        }
        FetchServerResponse();
        if (!IsLoginFailure(result) || round >= kMaxLoginRounds || !FindCredentials(kFtpServer, u"", false, login)) {
            return result;
        }
    }
}

bool DownloadWorker::RestartFtpAt(std::uint32_t offset) {
    const std::string digits = std::to_string(offset);
    const std::u16string command = u"REST " + std::u16string(digits.begin(), digits.end());
    outcome_.lastServerResponse.clear();
    const DownloadResult result = session_.Call(InternetOperation::FtpCommand, [&] {
        return ::FtpCommandW(handles_.connection.Get(), FALSE, FTP_TRANSFER_TYPE_BINARY, WideText(command),
                             session_.Context(), nullptr);
    });
    FetchServerResponse();
    // Only "350" promises that the transfer starts at the offset.
    return result == kDownloadSuccess && outcome_.lastServerResponse.compare(0, 3, u"350") == 0;
}

DownloadResult DownloadWorker::OpenFtp() {
    DownloadResult result = ConnectFtp();
    if (result != kDownloadSuccess) {
        return result;
    }
    if (offset_ > 0 && !RestartFtpAt(offset_)) {
        offset_ = 0;
    }
    const std::u16string path = ServerPath(address_.path);
    result = session_.OpenHandle(
        InternetOperation::FtpOpen,
        [&] {
            return ::FtpOpenFileW(handles_.connection.Get(), WideText(path), GENERIC_READ,
                                  FTP_TRANSFER_TYPE_BINARY | INTERNET_FLAG_RELOAD, session_.Context());
        },
        handles_.request);
    if (result != kDownloadSuccess) {
        FetchServerResponse();
        return result;
    }
    DWORD high = 0;
    const DWORD low = ::FtpGetFileSize(handles_.request.Get(), &high);
    const bool known = !(low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) && high == 0;
    total_ = known ? low : 0;
    if (total_ != 0 && offset_ >= total_) {
        // A working file as long as the server's file is complete; a longer one is not ours.
        complete_ = offset_ == total_;
        return complete_ ? kDownloadSuccess : kDownloadNothingNew;
    }
    return kDownloadSuccess;
}

}  // namespace maglorin
