// wininet-floor-probe URL LOCALPATH
// The floor our downloader is measured against under the same Wine: the plainest WinINet
// download there is (a synchronous session, one GET, 1 MiB reads each written to the file, no
// ".part" file, no progress, no checks beyond the calls' own results). Prints the seconds from
// opening the session to the file closed. setup-bench runs it beside download-probe and curl, so
// a gap between ours and curl that this loop shows too lies in the library, not in our transfer.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "win32_handles.h"

namespace {

inline constexpr DWORD kReadSize = 1048576;  // bytes, our downloader's largest read

bool Fetch(const wchar_t* url, const wchar_t* localPath) {
    wchar_t host[256] = {};
    wchar_t path[2048] = {};
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = ARRAYSIZE(host);
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = ARRAYSIZE(path);
    if (!::InternetCrackUrlW(url, 0, 0, &parts)) {
        return false;
    }
    maglorin::InternetHandle session(::InternetOpenW(L"floor", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    maglorin::InternetHandle connection(session ? ::InternetConnectW(session.Get(), host, parts.nPort, nullptr,
                                                                     nullptr, INTERNET_SERVICE_HTTP, 0, 0)
                                                : nullptr);
    const wchar_t* accept[] = {L"*/*", nullptr};
    maglorin::InternetHandle request(
        connection ? ::HttpOpenRequestW(connection.Get(), L"GET", path, L"HTTP/1.0", L"", accept,
                                        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)
                   : nullptr);
    if (!request || !::HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0)) {
        return false;
    }
    maglorin::FileHandle file(
        ::CreateFileW(localPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    std::vector<char> buffer(kReadSize);
    for (;;) {
        DWORD got = 0;
        if (!::InternetReadFile(request.Get(), buffer.data(), kReadSize, &got)) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        DWORD written = 0;
        if (!::WriteFile(file.Get(), buffer.data(), got, &written, nullptr) || written != got) {
            return false;
        }
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: wininet-floor-probe URL LOCALPATH\n");
        return 2;
    }
    ::DeleteFileW(argv[2]);
    LARGE_INTEGER frequency{}, start{}, end{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    const bool fetched = Fetch(argv[1], argv[2]);
    ::QueryPerformanceCounter(&end);
    if (!fetched) {
        std::fprintf(stderr, "wininet-floor-probe: the download failed\n");
        return 1;
    }
    std::printf("%.6f\n", static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
    return 0;
}
