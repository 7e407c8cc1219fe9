#pragma once
// The one-shot check that an address answers, made before the main flow hands an address to the
// installer program: an HTTP(S) "HEAD" request that must be answered with a 2xx status, or an
// FTP file that can be opened. Runs on the calling thread.

#include <windows.h>

#include <string>

#include "download_result.h"
#include "download_sink.h"

namespace maglorin {

struct UrlCheckOptions {
    std::u16string proxy;  // empty: the system's settings
    std::u16string proxyUserName;
    std::u16string proxyPassword;
    bool quiet = true;  // no dialogs
    HWND ownerWindow = nullptr;
    CredentialPrompt* prompt = nullptr;
    DWORD retryPauseMs = 10000;
};

// kDownloadSuccess, or why the address does not answer.
[[nodiscard]] DownloadResult CheckUrl(const std::u16string& url, const UrlCheckOptions& options);
[[nodiscard]] bool IsUrlReachable(const std::u16string& url, const UrlCheckOptions& options = {});

}  // namespace maglorin
