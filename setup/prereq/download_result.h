#pragma once
// Results of a download. 0 is success; the downloader's own conditions are the 0xE00000xx codes
// below; every other value is a system or Internet-library error code passed through as it came.

#include <cstdint>

namespace maglorin {

using DownloadResult = std::uint32_t;

inline constexpr DownloadResult kDownloadSuccess = 0;
// The address scheme is none of FTP, HTTP, HTTPS (or could not be split at all).
inline constexpr DownloadResult kDownloadBadAddress = 2;
inline constexpr DownloadResult kDownloadNoFileName = 0xE0000005;
inline constexpr DownloadResult kDownloadCancelled = 0xE0000008;
// The transfer ended before the expected size and could not be completed.
inline constexpr DownloadResult kDownloadIncomplete = 0xE000000F;
inline constexpr DownloadResult kDownloadNothingNew = 0xE0000010;
inline constexpr DownloadResult kDownloadNeedsCredentials = 0xE0000012;
inline constexpr DownloadResult kDownloadNotModified = 0xE0000013;
inline constexpr DownloadResult kDownloadForbidden = 0xE0000016;
inline constexpr DownloadResult kDownloadNotFound = 0xE0000018;
// The server answered with an HTTP status outside the success set (5xx, an unfollowed redirect,
// anything not handled below); the status itself is kept in the job for the log.
inline constexpr DownloadResult kDownloadHttpStatus = 0xE0000019;
// The server kept answering a range it was not asked for, so nothing it sent can be trusted.
inline constexpr DownloadResult kDownloadWrongRange = 0xE000001A;
// The scheme is Gopher or otherwise unsupported by the downloader (the library's own code).
inline constexpr DownloadResult kDownloadUnsupportedScheme = 12006;

// Internet-library errors the downloader reacts to.
inline constexpr DownloadResult kInternetTimeout = 12002;
inline constexpr DownloadResult kInternetNameNotResolved = 12007;
inline constexpr DownloadResult kInternetLoginFailure = 12015;
inline constexpr DownloadResult kInternetIncorrectUserName = 12013;
inline constexpr DownloadResult kInternetIncorrectPassword = 12014;
inline constexpr DownloadResult kInternetCannotConnect = 12029;
inline constexpr DownloadResult kInternetConnectionAborted = 12030;
inline constexpr DownloadResult kInternetConnectionReset = 12031;
inline constexpr DownloadResult kInternetCertificateDateInvalid = 12037;
inline constexpr DownloadResult kInternetCertificateNameInvalid = 12038;
inline constexpr DownloadResult kInternetClientCertificateNeeded = 12044;
inline constexpr DownloadResult kInternetInvalidCertificateAuthority = 12045;
inline constexpr DownloadResult kInternetDisconnected = 12163;

}  // namespace maglorin
