#include <vector>

#include "download_worker_win32.h"

namespace maglorin {
namespace {

inline constexpr DWORD kFtpBlock = 51200;       // bytes one FTP read asks for
inline constexpr DWORD kHttpReadSize = 1048576;  // the most one HTTP read takes

// Creates every missing folder above a file path ("C:\a\b\f.part" makes "C:\a" and "C:\a\b").
void CreateFoldersAbove(const std::u16string& path) {
    for (std::size_t at = path.find_first_of(u"\\/", 3); at != std::u16string::npos;
         at = path.find_first_of(u"\\/", at + 1)) {
        const std::u16string folder = path.substr(0, at);
        ::CreateDirectoryW(WideText(folder), nullptr);
    }
}

}  // namespace

DownloadOutcome RunDownload(const DownloadSettings& settings, const std::atomic<bool>& abort, DownloadHandles handles,
                            bool headOnly) {
    DownloadWorker worker(settings, abort, handles, headOnly);
    return worker.Run();
}

DownloadWorker::DownloadWorker(const DownloadSettings& settings, const std::atomic<bool>& abort,
                               DownloadHandles handles, bool headOnly)
    : settings_(settings), abort_(abort), handles_(handles), headOnly_(headOnly) {}

DownloadOutcome DownloadWorker::Run() {
    session_.SetCancelCheck([this] { return Cancelled(); });
    outcome_.result = Download();
    file_.Reset();
    CloseRequest();
    session_.Close();
    outcome_.retriesLeft = retries_.Left();
    return outcome_;
}

bool DownloadWorker::Cancelled() const {
    return abort_.load() || (settings_.sink != nullptr && settings_.sink->IsCancelled());
}

void DownloadWorker::State(DownloadState state) {
    if (settings_.sink != nullptr) {
        settings_.sink->OnState(state);
    }
}

DownloadResult DownloadWorker::Fail(DownloadResult result) {
    if (Cancelled()) {
        result = kDownloadCancelled;
    }
    if (settings_.sink != nullptr && result != kDownloadNotModified) {
        settings_.sink->OnError(result);
    }
    return result;
}

DownloadResult DownloadWorker::Download() {
    if (!SplitDownloadAddress(settings_.address, address_) || address_.scheme == DownloadScheme::Unknown) {
        return Fail(kDownloadBadAddress);
    }
    if (address_.scheme == DownloadScheme::Gopher) {
        return Fail(kDownloadUnsupportedScheme);
    }
    if (!headOnly_) {
        outcome_.localPath = FormLocalPath(settings_.localPath, address_);
        if (outcome_.localPath.empty()) {
            return Fail(kDownloadNoFileName);
        }
        workingPath_ = WorkingFilePath(outcome_.localPath);
    }
    State(DownloadState::Starting);
    const std::uint64_t held = (settings_.resume && !headOnly_) ? WorkingFileSize() : 0;
    offset_ = held > UINT32_MAX ? 0 : static_cast<std::uint32_t>(held);
    DownloadResult result = session_.Open(settings_.proxy);
    if (result == kDownloadSuccess) {
        result = SendWithRetries(true);
    }
    if (result != kDownloadSuccess || headOnly_) {
        return result == kDownloadSuccess ? result : Fail(result);
    }
    if (settings_.sink != nullptr) {
        settings_.sink->OnStart(total_, outcome_.localPath);
    }
    if (complete_) {
        return FinishFile();
    }
    if ((result = OpenWorkingFile()) != kDownloadSuccess || (result = CopyData()) != kDownloadSuccess) {
        return Fail(result);
    }
    return FinishFile();
}

DownloadResult DownloadWorker::SendWithRetries(bool reportStates) {
    for (;;) {
        const DownloadResult result = SendOnce();
        if (result == kDownloadSuccess && restart_) {
            // The working file is stale or the server answered another range: ask for it all.
            restart_ = false;
            if (!retries_.Take()) {
                return restartCause_;
            }
            offset_ = 0;
            continue;
        }
        if (result == kDownloadSuccess && reportStates) {
            State(DownloadState::Connected);
        }
        if (!IsConnectRetryError(result) || Cancelled() || !retries_.Take()) {
            return result;
        }
        if (!session_.Sleep(settings_.retryPauseMs) || !WaitWhilePaused()) {
            return kDownloadCancelled;
        }
    }
}

DownloadResult DownloadWorker::SendOnce() {
    CloseRequest();
    complete_ = false;
    return Http() ? SendHttp() : OpenFtp();
}

void DownloadWorker::CloseRequest() {
    session_.CloseAndWait(handles_.request);
    session_.CloseAndWait(handles_.connection);
}

std::uint64_t DownloadWorker::WorkingFileSize() const {
    if (file_) {
        LARGE_INTEGER size{};
        return ::GetFileSizeEx(file_.Get(), &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (workingPath_.empty() || !::GetFileAttributesExW(WideText(workingPath_), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return 0;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

DownloadResult DownloadWorker::OpenWorkingFile() {
    CreateFoldersAbove(workingPath_);
    // Not shared: nobody else writes or reads a file that is still growing.
    file_.Reset(::CreateFileW(WideText(workingPath_), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              offset_ > 0 ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) {
        return Cancelled() ? kDownloadCancelled : ::GetLastError();
    }
    LARGE_INTEGER at{};
    at.QuadPart = offset_;
    if (!::SetFilePointerEx(file_.Get(), at, nullptr, FILE_BEGIN) || !::SetEndOfFile(file_.Get())) {
        return ::GetLastError();
    }
    if (settings_.sink != nullptr) {
        settings_.sink->OnProgress(offset_);
    }
    return kDownloadSuccess;
}

bool DownloadWorker::WaitWhilePaused() {
    while (settings_.sink != nullptr && settings_.sink->IsPaused()) {
        if (Cancelled()) {
            return false;
        }
        ::Sleep(10);
    }
    return !Cancelled();
}

DownloadResult DownloadWorker::CopyData() {
    for (;;) {
        if (!WaitWhilePaused()) {
            return kDownloadCancelled;
        }
        DWORD got = 0;
        DownloadResult result = ReadBlock(got);
        if (result == kDownloadSuccess && got == 0) {
            const BodyEnd end = DecideBodyEnd(WorkingFileSize(), total_, Http());
            if (end == BodyEnd::Complete) {
                return kDownloadSuccess;
            }
            result = end == BodyEnd::Incomplete ? kDownloadIncomplete : Reconnect(kDownloadIncomplete);
            if (result != kDownloadSuccess || complete_) {
                return result;
            }
            continue;
        }
        if (result != kDownloadSuccess) {
            if (!IsReconnectError(result, Http()) || Cancelled()) {
                return result;
            }
            if ((result = Reconnect(result)) != kDownloadSuccess || complete_) {
                return result;
            }
            continue;
        }
        DWORD written = 0;
        if (!::WriteFile(file_.Get(), buffer_.data(), got, &written, nullptr) || written != got) {
            return ::GetLastError();
        }
        if (settings_.sink != nullptr) {
            settings_.sink->OnProgress(got);
        }
    }
}

// Waits, asynchronously and so seeing a cancel, until the library holds data; a zero count is
// the end of the data. The library may answer "pending" first; the data then waits in its
// buffer and the same query answers at once. Counts live in members: a late completion may
// still write them.
DownloadResult DownloadWorker::WaitForData(DWORD& available) {
    for (;;) {
        available_ = 0;
        DWORD_PTR completed = ~DWORD_PTR{0};
        const DownloadResult result = session_.Call(
            InternetOperation::QueryData,
            [this] { return ::InternetQueryDataAvailable(handles_.request.Get(), &available_, 0, 0); }, &completed);
        if (result != kDownloadSuccess) {
            return result;
        }
        if (completed == ~DWORD_PTR{0}) {
            available = available_;  // answered at once
            return kDownloadSuccess;
        }
    }
}

DownloadResult DownloadWorker::ReadBlock(DWORD& got) {
    got = 0;
    DownloadResult result = kDownloadSuccess;
    if (Http()) {
        result = ReadWhatIsThere(got);
    } else {
        DWORD available = 0;
        result = WaitForData(available);
        if (result != kDownloadSuccess || available == 0) {
            return result;
        }
        result = ReadFtpBlock(got);
    }
    if (result == kDownloadSuccess && got > 0) {
        State(DownloadState::DataReceived);
    }
    return result;
}

// Takes what the library holds, or else whatever the connection has ready, up to the whole
// buffer, without waiting for more: one call per burst of a fast transfer, and a read that never
// holds a cancel back. With nothing there yet the read goes asynchronous and completes once data
// has come, without handing any over: the next read takes it. A count of 0 read at once is the
// end of the data.
DownloadResult DownloadWorker::ReadWhatIsThere(DWORD& got) {
    if (buffer_.size() < kHttpReadSize) {
        buffer_.resize(kHttpReadSize);
    }
    for (;;) {
        readBuffers_ = INTERNET_BUFFERSW{};
        readBuffers_.dwStructSize = sizeof(readBuffers_);
        readBuffers_.lpvBuffer = buffer_.data();
        readBuffers_.dwBufferLength = kHttpReadSize;
        DWORD_PTR completed = ~DWORD_PTR{0};
        const DownloadResult result = session_.Call(
            InternetOperation::Read,
            [this] {
                return ::InternetReadFileExW(handles_.request.Get(), &readBuffers_, IRF_NO_WAIT, session_.Context());
            },
            &completed);
        if (result != kDownloadSuccess) {
            return result;
        }
        if (completed == ~DWORD_PTR{0}) {  // answered at once
            got = readBuffers_.dwBufferLength;
            return got <= kHttpReadSize ? kDownloadSuccess : ERROR_INTERNET_INTERNAL_ERROR;
        }
    }
}

// An FTP read blocks inside the library until its whole count has come or the data ends, so it
// asks for one modest block after the data query said something is there.
DownloadResult DownloadWorker::ReadFtpBlock(DWORD& got) {
    if (buffer_.size() < kFtpBlock) {
        buffer_.resize(kFtpBlock);
    }
    bytesRead_ = 0;
    const DownloadResult result = session_.Call(InternetOperation::Read, [this] {
        return ::InternetReadFile(handles_.request.Get(), buffer_.data(), kFtpBlock, &bytesRead_);
    });
    got = bytesRead_;
    return result;
}

DownloadResult DownloadWorker::Reconnect(DownloadResult cause) {
    if (!retries_.Take()) {
        return cause;
    }
    CloseRequest();
    ::FlushFileBuffers(file_.Get());
    if (!settings_.resume) {
        LARGE_INTEGER start{};
        if (!::SetFilePointerEx(file_.Get(), start, nullptr, FILE_BEGIN) || !::SetEndOfFile(file_.Get())) {
            return ::GetLastError();
        }
    }
    const std::uint64_t size = WorkingFileSize();
    offset_ = size > UINT32_MAX ? 0 : static_cast<std::uint32_t>(size);
    const DownloadResult result = SendWithRetries(false);
    if (result != kDownloadSuccess) {
        return result;
    }
    if (complete_) {
        return kDownloadSuccess;
    }
    // Whatever the server sends now must continue the file exactly where it ends.
    if (offset_ != size) {
        return kInternetTimeout;
    }
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    return ::SetFilePointerEx(file_.Get(), end, nullptr, FILE_BEGIN) ? kDownloadSuccess : ::GetLastError();
}

DownloadResult DownloadWorker::FinishFile() {
    file_.Reset();
    // Replacing in one step: an existing file at the local path is only gone once the new one
    // stands in its place.
    if (!::MoveFileExW(WideText(workingPath_), WideText(outcome_.localPath),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        return Fail(::GetLastError());
    }
    if (settings_.sink != nullptr) {
        settings_.sink->OnFinished(true);
    }
    return kDownloadSuccess;
}

}  // namespace maglorin
