#include "url_check_win32.h"

#include "download_job_win32.h"

namespace maglorin {

DownloadResult CheckUrl(const std::u16string& url, const UrlCheckOptions& options) {
    DownloadSettings settings;
    settings.address = url;
    settings.resume = false;
    settings.quiet = options.quiet;
    settings.proxy = options.proxy;
    settings.proxyUserName = options.proxyUserName;
    settings.proxyPassword = options.proxyPassword;
    settings.ownerWindow = options.ownerWindow;
    settings.prompt = options.prompt;
    settings.retryPauseMs = options.retryPauseMs;
    const std::atomic<bool> never{false};
    SharedInternetHandle connection;
    SharedInternetHandle request;
    return RunDownload(settings, never, DownloadHandles{connection, request}, true).result;
}

bool IsUrlReachable(const std::u16string& url, const UrlCheckOptions& options) {
    return CheckUrl(url, options) == kDownloadSuccess;
}

}  // namespace maglorin
