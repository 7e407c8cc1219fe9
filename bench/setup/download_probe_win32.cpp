// download-probe URL LOCALPATH
// Downloads one address with our downloader (no resume, quiet) and prints the seconds the job
// took, from start to the file in place, measured inside the process so that Wine's start-up is
// not counted. setup-bench runs it beside curl.
#include <windows.h>

#include <cstdio>
#include <string>

#include "download_job_win32.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: download-probe URL LOCALPATH\n");
        return 2;
    }
    maglorin::DownloadSettings settings;
    settings.address = reinterpret_cast<const char16_t*>(argv[1]);
    settings.localPath = reinterpret_cast<const char16_t*>(argv[2]);
    settings.resume = false;
    settings.quiet = true;
    ::DeleteFileW(argv[2]);
    LARGE_INTEGER frequency{}, start{}, end{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    maglorin::DownloadJob job(settings);
    const maglorin::DownloadResult result = job.Start();
    ::QueryPerformanceCounter(&end);
    if (result != maglorin::kDownloadSuccess) {
        std::fprintf(stderr, "download-probe: failed with %lu\n", static_cast<unsigned long>(result));
        return 1;
    }
    std::printf("%.6f\n", static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
    return 0;
}
