#include "download_job_win32.h"

namespace maglorin {

DownloadJob::DownloadJob(DownloadSettings settings) : settings_(std::move(settings)) {}

DownloadJob::~DownloadJob() { Stop(); }

DWORD WINAPI DownloadJob::ThreadMain(void* parameter) {
    auto* job = static_cast<DownloadJob*>(parameter);
    job->outcome_ = RunDownload(job->settings_, job->abort_, DownloadHandles{job->connection_, job->request_}, false);
    return job->outcome_.result;
}

DownloadResult DownloadJob::Start() {
    if (thread_) {
        return ERROR_ALREADY_INITIALIZED;
    }
    thread_.Reset(::CreateThread(nullptr, 0, &DownloadJob::ThreadMain, this, 0, nullptr));
    if (!thread_) {
        outcome_.result = ::GetLastError();
        return outcome_.result;
    }
    if (!settings_.wait) {
        return kDownloadSuccess;
    }
    ::WaitForSingleObject(thread_.Get(), INFINITE);
    return outcome_.result;
}

bool DownloadJob::Finished() const {
    return !thread_ || ::WaitForSingleObject(thread_.Get(), 0) == WAIT_OBJECT_0;
}

DownloadResult DownloadJob::Wait() {
    if (thread_) {
        ::WaitForSingleObject(thread_.Get(), INFINITE);
    }
    return outcome_.result;
}

DownloadResult DownloadJob::Stop() {
    if (!thread_) {
        return outcome_.result;
    }
    abort_ = true;
    // The worker checks the flag every 10 ms while it waits; closing its handles also ends any
    // library call it is blocked in. Whichever side closes a handle first closes it.
    request_.Close();
    connection_.Close();
    ::WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
    return outcome_.result;
}

}  // namespace maglorin
