#include "download_status.h"


namespace maglorin {
namespace {

bool ReadNumber(const std::u16string& text, std::size_t& at, std::uint64_t& value) {
    const std::size_t start = at;
    value = 0;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9' && at - start < 19) {
        value = value * 10 + static_cast<std::uint64_t>(text[at] - u'0');
        ++at;
    }
    return at > start && (at == text.size() || text[at] < u'0' || text[at] > u'9');
}

bool Expect(const std::u16string& text, std::size_t& at, char16_t c) {
    if (at < text.size() && text[at] == c) {
        ++at;
        return true;
    }
    return false;
}

HttpDecision Fail(DownloadResult result) { return HttpDecision{HttpNext::Fail, result, 0, 0}; }

HttpDecision DecideWhole(const HttpAnswer& answer, std::uint32_t offset) {
    if (answer.contentLength && offset > 0) {
        // The server ignored the range. A working file as long as the server's file is taken as
        // complete; a longer one cannot belong to it.
        if (offset == *answer.contentLength) {
            return HttpDecision{HttpNext::Complete, kDownloadSuccess, offset, offset};
        }
        if (offset > *answer.contentLength) {
            return Fail(kDownloadNothingNew);
        }
    }
    return HttpDecision{HttpNext::Transfer, kDownloadSuccess, answer.contentLength.value_or(0), 0};
}

HttpDecision DecidePartial(const HttpAnswer& answer, std::uint32_t offset) {
    std::uint64_t total = answer.contentLength ? std::uint64_t{*answer.contentLength} + offset : 0;
    if (!answer.contentRange.empty()) {
        const auto range = ParseContentRange(answer.contentRange);
        // Bytes from anywhere but the end of the working file would corrupt it.
        if (!range || !range->satisfied || range->first != offset) {
            return HttpDecision{HttpNext::RestartFromZero, kDownloadWrongRange, 0, 0};
        }
        if (range->complete) {
            total = *range->complete;
        }
    }
    if (total > UINT32_MAX) {
        return Fail(kDownloadHttpStatus);
    }
    // Without a length the total is unknown, but the body still continues the working file.
    if (total != 0 && total == offset) {
        return HttpDecision{HttpNext::Complete, kDownloadSuccess, offset, offset};
    }
    return HttpDecision{HttpNext::Transfer, kDownloadSuccess, static_cast<std::uint32_t>(total), offset};
}

// 416: nothing lies at or after the offset. When the server's file is exactly as long as the
// working file, that file is complete; otherwise it is stale and the whole file comes again.
HttpDecision DecideUnsatisfiable(const HttpAnswer& answer, std::uint32_t offset) {
    if (offset == 0) {
        return Fail(kDownloadHttpStatus);
    }
    const auto range = ParseContentRange(answer.contentRange);
    if (range && !range->satisfied && range->complete && *range->complete == offset) {
        return HttpDecision{HttpNext::Complete, kDownloadSuccess, offset, offset};
    }
    return HttpDecision{HttpNext::RestartFromZero, kDownloadHttpStatus, 0, 0};
}

}  // namespace

std::optional<ContentRange> ParseContentRange(const std::u16string& text) {
    const std::u16string unit = u"bytes ";
    if (text.compare(0, unit.size(), unit) != 0) {
        return std::nullopt;
    }
    ContentRange range;
    std::size_t at = unit.size();
    if (Expect(text, at, u'*')) {
        range.satisfied = false;
    } else {
        if (!ReadNumber(text, at, range.first) || !Expect(text, at, u'-') || !ReadNumber(text, at, range.last) ||
            range.last < range.first) {
            return std::nullopt;
        }
        range.satisfied = true;
    }
    if (!Expect(text, at, u'/')) {
        return std::nullopt;
    }
    if (Expect(text, at, u'*')) {
        if (!range.satisfied) {
            return std::nullopt;
        }
    } else {
        std::uint64_t complete = 0;
        if (!ReadNumber(text, at, complete) || (range.satisfied && range.last >= complete)) {
            return std::nullopt;
        }
        range.complete = complete;
    }
    return at == text.size() ? std::optional<ContentRange>(range) : std::nullopt;
}

HttpDecision DecideHttpAnswer(const HttpAnswer& answer, std::uint32_t offset) {
    switch (answer.status) {
    case 200:
        return DecideWhole(answer, offset);
    case 206:
        return DecidePartial(answer, offset);
    case 304:
        return Fail(kDownloadNotModified);
    case 401:
    case 407:
        return HttpDecision{HttpNext::AskCredentials, kDownloadNeedsCredentials, 0, 0};
    case 403:
        return Fail(kDownloadForbidden);
    case 404:
    case 410:
        return Fail(kDownloadNotFound);
    case 416:
        return DecideUnsatisfiable(answer, offset);
    default:
        // Server errors, unfollowed redirects and anything else: the body is not the file.
        return Fail(kDownloadHttpStatus);
    }
}

BodyEnd DecideBodyEnd(std::uint64_t fileSize, std::uint32_t total, bool http) {
    if (total == 0 || fileSize >= total) {
        return BodyEnd::Complete;
    }
    return http ? BodyEnd::Reconnect : BodyEnd::Incomplete;
}

std::u16string RealmFromChallenge(const std::u16string& header) {
    std::u16string lower = header;
    for (char16_t& c : lower) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c + (u'a' - u'A'));
        }
    }
    const std::u16string key = u"realm=";
    const auto at = lower.find(key);
    if (at == std::u16string::npos) {
        return {};
    }
    std::size_t start = at + key.size();
    if (start < header.size() && header[start] == u'"') {
        const auto close = header.find(u'"', start + 1);
        return header.substr(start + 1, close == std::u16string::npos ? std::u16string::npos : close - start - 1);
    }
    const auto end = header.find_first_of(u", ", start);
    return header.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
}

bool IsConnectRetryError(DownloadResult error) {
    return error == kInternetCannotConnect || error == kInternetNameNotResolved;
}

bool IsReconnectError(DownloadResult error, bool http) {
    return http && (error == kInternetTimeout || error == kInternetConnectionAborted ||
                    error == kInternetConnectionReset || error == kInternetDisconnected);
}

bool IsCertificateError(DownloadResult error) {
    return error == kInternetCertificateDateInvalid || error == kInternetCertificateNameInvalid ||
           error == kInternetClientCertificateNeeded || error == kInternetInvalidCertificateAuthority;
}

}  // namespace maglorin
