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

std::u16string Digits(std::uint32_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
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

bool DownloadWorker::FtpCommand(const std::u16string& command, const char16_t* expectedCode) {
    outcome_.lastServerResponse.clear();
    const DownloadResult result = session_.Call(InternetOperation::FtpCommand, [&] {
        return ::FtpCommandW(handles_.connection.Get(), FALSE, FTP_TRANSFER_TYPE_BINARY, WideText(command),
                             session_.Context(), nullptr);
    });
    FetchServerResponse();
    return result == kDownloadSuccess && outcome_.lastServerResponse.compare(0, 3, expectedCode) == 0;
}

bool DownloadWorker::RestartFtpAt(std::uint32_t offset) {
    // Only "350" promises that the transfer starts at the offset.
    return FtpCommand(u"REST " + Digits(offset), u"350");
}

std::uint32_t DownloadWorker::FtpFileSize(const std::u16string& path) {
    // Servers answer SIZE only in binary mode, which the library sets only when it opens the file.
    if (!FtpCommand(u"TYPE I", u"200") || !FtpCommand(u"SIZE " + path, u"213")) {
        return 0;
    }
    std::uint64_t size = 0;
    const std::u16string& reply = outcome_.lastServerResponse;
    std::size_t at = 4;
    for (; at < reply.size() && reply[at] >= u'0' && reply[at] <= u'9' && size <= UINT32_MAX; ++at) {
        size = size * 10 + static_cast<std::uint64_t>(reply[at] - u'0');
    }
    return (at == 4 || size > UINT32_MAX) ? 0 : static_cast<std::uint32_t>(size);
}

DownloadResult DownloadWorker::OpenFtp() {
    DownloadResult result = ConnectFtp();
    if (result != kDownloadSuccess) {
        return result;
    }
    const std::u16string path = ServerPath(address_.path);
    // The size from the server's SIZE answer, in case the open file cannot tell it.
    const std::uint32_t announced = FtpFileSize(path);
    if (announced != 0 && offset_ >= announced) {
        total_ = announced;
        // A working file as long as the server's file is complete; a longer one is not ours.
        complete_ = offset_ == announced;
        return complete_ ? kDownloadSuccess : kDownloadNothingNew;
    }
    if (offset_ > 0 && !RestartFtpAt(offset_)) {
        offset_ = 0;
    }
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
    if (headOnly_) {
        // Opening may be answered before the server has refused the file: the check wants data.
        DWORD got = 0;
        return ReadBlock(got);
    }
    DWORD high = 0;
    const DWORD low = ::FtpGetFileSize(handles_.request.Get(), &high);
    const bool known = !(low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) && high == 0 && low != 0;
    total_ = known ? low : announced;
    if (total_ != 0 && offset_ >= total_) {
        // A working file as long as the server's file is complete; a longer one is not ours.
        complete_ = offset_ == total_;
        return complete_ ? kDownloadSuccess : kDownloadNothingNew;
    }
    return kDownloadSuccess;
}

}  // namespace maglorin
