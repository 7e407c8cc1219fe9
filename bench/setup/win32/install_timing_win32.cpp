// install-timing PACKAGE DATABASE PRODUCT-CODE [ROUNDS]
// Times, under the same system and in turns, an install by the shipped installer
// ("PACKAGE /exenoui /qn": extraction, then msiexec) and an install by msiexec alone of the same
// database already extracted ("msiexec /i DATABASE /qn"). After every install the product is
// removed again, untimed. Each side keeps its best time over ROUNDS rounds (default 3). Also times
// setup's own extractor alone on PACKAGE (open, unpack the main package into a fresh folder under
// the temporary folder, clean up), the part of setup's time that msiexec alone does not spend.
// Prints one line: "setup SECONDS msiexec SECONDS extract SECONDS". Exit status 0, or 1 when a
// run failed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

#include "payload_extractor.h"
#include "payload_reader.h"
#include "child_process_win32.h"

namespace {

using maglorin::test_support::ExitCodeOf;
using maglorin::test_support::Msiexec;

double Now() {
    LARGE_INTEGER counter{}, frequency{};
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Seconds one install took; negative when it failed, or when the product could not be removed
// afterwards (the next round would then measure a repair).
double TimedInstall(const std::wstring& program, const std::wstring& arguments, const std::wstring& productCode) {
    const double start = Now();
    const auto code = ExitCodeOf(program, arguments);
    const double took = Now() - start;
    const auto removed = ExitCodeOf(Msiexec(), L"/x " + productCode + L" /qn");
    if (code != 0u) {
        std::fprintf(stderr, "install-timing: %ls %ls ended with %ld\n", program.c_str(), arguments.c_str(),
                     code ? static_cast<long>(*code) : -1L);
        return -1;
    }
    return removed == 0u ? took : -1;
}

// Seconds setup's extractor takes for the main package, clean-up included; negative on failure.
double TimedExtraction(const std::wstring& package) {
    wchar_t temporary[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temporary);
    const std::wstring folder = std::wstring(temporary) + L"install-timing\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const double start = Now();
    maglorin::PayloadReader reader;
    if (reader.Open(package) != 0) {
        return -1;
    }
    maglorin::ExtractionSettings settings;
    settings.userInterfaceEnabled = false;
    int result = 0;
    {
        maglorin::PayloadExtractor extractor(reader, settings);
        extractor.SetExtractionFolder(folder);
        maglorin::PathText database;
        result = extractor.ExtractMainPackage(nullptr, database);
    }
    const double took = Now() - start;
    RemoveDirectoryW(folder.c_str());
    return result == 0 ? took : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fputs("usage: install-timing PACKAGE DATABASE PRODUCT-CODE [ROUNDS]\n", stderr);
        return 1;
    }
    const std::wstring setup = argv[1];
    const std::wstring database = L"/i " + maglorin::test_support::Quoted(argv[2]) + L" /qn";
    const std::wstring productCode = argv[3];
    const int rounds = argc > 4 ? std::max(1, static_cast<int>(std::wcstol(argv[4], nullptr, 10))) : 3;
    double bestSetup = 1e30, bestMsiexec = 1e30, bestExtract = 1e30;
    for (int round = 0; round < rounds; ++round) {
        const double a = TimedInstall(setup, L"/exenoui /qn", productCode);
        const double b = TimedInstall(Msiexec(), database, productCode);
        const double c = TimedExtraction(argv[1]);
        if (a < 0 || b < 0 || c < 0) {
            return 1;
        }
        bestSetup = std::min(bestSetup, a);
        bestMsiexec = std::min(bestMsiexec, b);
        bestExtract = std::min(bestExtract, c);
    }
    std::printf("setup %.3f msiexec %.3f extract %.3f\n", bestSetup, bestMsiexec, bestExtract);
    return 0;
}
