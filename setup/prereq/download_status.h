#pragma once
// What a download does with the server's answer: the HTTP status table, the checks of a partial
// answer against the range asked for, the end of the body against the expected total, and the
// realm of a credential challenge. Offsets and totals are unsigned 32-bit byte counts.

#include <cstdint>
#include <optional>
#include <string>

#include "download_result.h"

namespace maglorin {

// "bytes first-last/complete", "bytes first-last/*" or "bytes */complete".
struct ContentRange {
    bool satisfied = false;  // false for "bytes */complete"
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    std::optional<std::uint64_t> complete;
};

[[nodiscard]] std::optional<ContentRange> ParseContentRange(const std::u16string& text);

struct HttpAnswer {
    std::uint32_t status = 0;
    std::optional<std::uint32_t> contentLength;
    std::u16string contentRange;  // the Content-Range header, empty when absent
};

enum class HttpNext {
    Transfer,         // write the body at the decided offset
    Complete,         // the working file already holds the whole file
    AskCredentials,   // 401 or 407
    RestartFromZero,  // drop what the working file holds and ask for the whole file again
    Fail,
};

struct HttpDecision {
    HttpNext next = HttpNext::Fail;
    DownloadResult result = kDownloadSuccess;  // for Fail
    std::uint32_t total = 0;                   // expected size of the whole file, 0 = unknown
    std::uint32_t offset = 0;                  // where the body goes in the working file
};

// The status table, for an answer to a request that asked for the bytes from `offset` on.
// Only 200 and 206 ever write a body to the working file, so an error page is never saved.
[[nodiscard]] HttpDecision DecideHttpAnswer(const HttpAnswer& answer, std::uint32_t offset);

enum class BodyEnd { Complete, Reconnect, Incomplete };

// The body ended with the working file `fileSize` bytes long.
[[nodiscard]] BodyEnd DecideBodyEnd(std::uint64_t fileSize, std::uint32_t total, bool http);

// The realm="..." attribute of a WWW-Authenticate or Proxy-Authenticate header; empty if none.
[[nodiscard]] std::u16string RealmFromChallenge(const std::u16string& header);

// A download retries a failed connection and reconnects a broken transfer from one budget, so a
// server that keeps failing or dropping ends the download instead of looping for ever.
class RetryBudget {
public:
    static constexpr int kInitial = 6;
    // False when the budget is spent; otherwise takes one.
    [[nodiscard]] bool Take() {
        if (left_ <= 0) {
            return false;
        }
        --left_;
        return true;
    }
    [[nodiscard]] int Left() const { return left_; }

private:
    int left_ = kInitial;
};

// The connection could not be made at all: wait and try again.
[[nodiscard]] bool IsConnectRetryError(DownloadResult error);
// A transfer broke off: reconnect and resume (HTTP and HTTPS only; FTP transfers end).
[[nodiscard]] bool IsReconnectError(DownloadResult error, bool http);
// A certificate the user may accept in the library's dialog.
[[nodiscard]] bool IsCertificateError(DownloadResult error);

}  // namespace maglorin
