// setup-bench [FOLDER] [MEGABYTES] [download]
// Times, in one run and on the same files, our MD5 of a large file beside `md5sum`, the copy
// of a large plain entry out of a package (the reader's entry window, read and written in
// 64 KiB blocks) beside `cp` of the same bytes, and the download of that file from a local nginx
// by our downloader (download-probe of the Windows tree this machine runs, windows_tree.h, under
// Wine) beside the plainest WinINet
// loop under the same Wine and `curl`. MD5 and copies: ours and the tool run in turns, five
// rounds, best time each, after one untimed pass that brings the file into the page cache, so
// both sides read from memory. Downloads: one untimed round, then seven in turns, median and best
// each, every side writing a new file into the same folder. Last, the install by that tree's
// maglorin-setup.exe beside msiexec alone of the same database, under Wine (install_row.h); not
// while that tree's tests run, whose Wine session it would share. With "download", only the
// download row runs.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <iostream>
#include <string>
#include <vector>

#include "entry_copy.h"
#include "install_row.h"
#include "md5.h"
#include "package_integrity.h"
#include "package_writer.h"
#include "payload_reader.h"
#include "windows_tree.h"

namespace maglorin {
namespace {

inline constexpr std::size_t kCopyBlock = 65536;

double Seconds(const std::function<bool()>& run) {
    const auto start = std::chrono::steady_clock::now();
    if (!run()) {
        return -1;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

// Ours and the tool take turns, five rounds, and each keeps its best time: on a shared machine a
// burst of load then hits both sides alike instead of one whole series.
struct Pair {
    double ours = 1e30;
    double tool = 1e30;
};

Pair BestOfInterleaved(const std::function<bool()>& ours, const std::function<bool()>& tool) {
    Pair best;
    for (int round = 0; round < 5; ++round) {
        const double a = Seconds(ours);
        const double b = Seconds(tool);
        if (a < 0 || b < 0) {
            return Pair{-1, -1};
        }
        best.ours = std::min(best.ours, a);
        best.tool = std::min(best.tool, b);
    }
    return best;
}

bool MakeFile(const std::filesystem::path& path, std::uint64_t bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<char> block(1 << 20);
    std::uint32_t state = 12345;
    for (std::uint64_t written = 0; written < bytes; written += block.size()) {
        for (char& c : block) {
            state = state * 1664525u + 1013904223u;
            c = static_cast<char>(state >> 24);
        }
        out.write(block.data(), static_cast<std::streamsize>(std::min<std::uint64_t>(block.size(), bytes - written)));
    }
    return static_cast<bool>(out);
}

std::string Quote(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

bool OurDigest(const std::filesystem::path& path, std::string& text) {
    PackageFile file;
    std::uint64_t size = 0;
    Md5Digest digest{};
    if (!file.Open(path, FileSharing::ReadAndWrite) || !file.Size(size) ||
        ComputeFileDigest(file, size, digest) != kResultSuccess) {
        return false;
    }
    text = Md5HexText(digest);
    return true;
}

bool ToolDigest(const std::filesystem::path& path, std::string& text) {
    FILE* pipe = ::popen(("md5sum " + Quote(path)).c_str(), "r");
    if (pipe == nullptr) {
        return false;
    }
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    text = std::string(line).substr(0, 32);
    return ::pclose(pipe) == 0 && read;
}

// The copy loop of a plain entry: read the window in 64 KiB blocks, write each block.
bool CopyEntry(const PayloadReader& reader, std::size_t index, const std::filesystem::path& target) {
    const EntryWindow window = reader.ReadWindow(index);
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        return false;
    }
    std::vector<std::uint8_t> block(kCopyBlock);
    std::uint64_t done = 0;
    bool ok = true;
    while (ok && done < window.size) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), window.size - done));
        std::size_t got = 0;
        ok = window.file->ReadAt(window.offset + done, block.data(), want, got) && got == want &&
             ::write(out, block.data(), got) == static_cast<ssize_t>(got);
        done += got;
    }
    return ::close(out) == 0 && ok;
}

// The extractor's own copy of a plain entry (entry_copy.h), into a POSIX file.
class PosixEntryOutput final : public EntryOutput {
public:
    explicit PosixEntryOutput(int fd) : fd_(fd) {}
    bool Write(const std::uint8_t* bytes, std::size_t count) override {
        return ::write(fd_, bytes, count) == static_cast<ssize_t>(count);
    }

private:
    int fd_;
};

bool ExtractorCopy(const PayloadReader& reader, std::size_t index, const std::filesystem::path& target) {
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        return false;
    }
    PosixEntryOutput output(out);
    const bool ok = CopyEntryData(reader.ReadWindow(index), output, nullptr) == kResultSuccess;
    return ::close(out) == 0 && ok;
}

void Report(const char* what, double ours, double tool, const char* toolName, std::uint64_t bytes) {
    const double mb = static_cast<double>(bytes) / (1024.0 * 1024.0);
    std::printf("%-34s %8.1f MB/s   %-8s %8.1f MB/s   ratio %.2fx\n", what, mb / ours, toolName, mb / tool, tool / ours);
}

// Runs a shell command and gives its standard output.
bool Capture(const std::string& command, std::string& output) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return false;
    }
    char chunk[256];
    output.clear();
    while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) {
        output += chunk;
    }
    return ::pclose(pipe) == 0;
}

int HttpPort(const std::filesystem::path& servers) {
    std::ifstream in(servers / "ports");
    std::string name;
    int port = 0;
    while (in >> name >> port) {
        if (name == "http") {
            return port;
        }
    }
    return 0;
}

std::string WinePath(const std::filesystem::path& path) {
    std::string text = "Z:" + path.string();
    for (char& c : text) {
        if (c == '/') {
            c = '\\';
        }
    }
    return text;
}

// One timed download each, seconds as each side measured them itself: download-probe and
// wininet-floor-probe inside their process from the request to the file in place (Wine's start is
// not counted), curl its own time_total (its process start is not counted either).
struct DownloadCommand {
    std::string label;
    std::string command;
    std::filesystem::path output;  // deleted before every run: each side writes a new file
    std::vector<double> seconds;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// All sides in turns: one untimed round (the file enters the page cache, Wine loads the library),
// then kDownloadRounds timed rounds; a burst of load then hits every side alike.
inline constexpr int kDownloadRounds = 7;

bool TimedDownloads(std::vector<DownloadCommand>& commands) {
    for (int round = 0; round <= kDownloadRounds; ++round) {
        for (DownloadCommand& side : commands) {
            std::error_code ignored;
            std::filesystem::remove(side.output, ignored);
            std::string output;
            if (!Capture(side.command, output) || std::atof(output.c_str()) <= 0) {
                std::fprintf(stderr, "setup-bench: %s failed: %s\n", side.label.c_str(), output.c_str());
                return false;
            }
            if (round > 0) {
                side.seconds.push_back(std::atof(output.c_str()));
            }
        }
    }
    return true;
}

void ReportDownloads(const std::vector<DownloadCommand>& commands, std::uint64_t bytes) {
    const double mb = static_cast<double>(bytes) / (1024.0 * 1024.0);
    const double curlMedian = Median(commands.back().seconds);
    std::printf("download, %d rounds, %.0f MB, median (best) MB/s, ratio of medians to curl:\n", kDownloadRounds, mb);
    for (const DownloadCommand& side : commands) {
        const double median = Median(side.seconds);
        const double best = *std::min_element(side.seconds.begin(), side.seconds.end());
        std::printf("  %-36s %8.1f (%6.1f) MB/s   ratio %.2fx\n", side.label.c_str(), mb / median, mb / best,
                    curlMedian / median);
    }
}

// The download row: the local nginx of the downloader tests serves the data file; our downloader
// (WinINet under Wine), the plainest WinINet loop under the same Wine, and curl fetch it in turns
// into the same folder.
bool DownloadRow(const std::filesystem::path& folder, const std::filesystem::path& data, std::uint64_t bytes) {
    const std::filesystem::path source = MAGLORIN_SOURCE_DIR;
    const WindowsTree tree = RunnableWindowsTree();
    const std::filesystem::path probe = tree.Bin() / "download-probe.exe";
    const std::filesystem::path floorProbe = tree.Bin() / "wininet-floor-probe.exe";
    if (!std::filesystem::exists(probe)) {
        std::printf("download: not measured, %s is missing (build the %s target download-probe)\n",
                    probe.string().c_str(), tree.name.c_str());
        return true;
    }
    const std::filesystem::path servers = folder / "servers";
    const std::filesystem::path wineState = tree.WineState();
    const std::string serversScript = Quote(source / "tests/prereq/download_servers.sh");
    // A Wine session already open (a test run) is used and left open.
    const bool sessionWasOpen = std::filesystem::exists(wineState / "xvfb.pid");
    std::string ignored;
    // Starting it again would fail: its wineserver is running already.
    const bool started = Capture(serversScript + " start " + Quote(servers), ignored) &&
                         (sessionWasOpen || Capture(tree.HarnessStart(), ignored));
    const int port = HttpPort(servers);
    std::error_code error;
    std::filesystem::remove(servers / "www/bench.bin", error);
    std::filesystem::create_hard_link(data, servers / "www/bench.bin", error);
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/bench.bin";
    const std::string wineRun = "MAGLORIN_WINE_STATE=" + Quote(wineState) + " " + Quote(source / "scripts/wine-run");
    std::vector<DownloadCommand> commands;
    const auto windowsSide = [&](const char* label, const std::filesystem::path& program, const char* file) {
        const std::filesystem::path output = folder / file;
        commands.push_back({label, wineRun + " " + Quote(program) + " " + url + " '" + WinePath(output) + "'", output, {}});
    };
    windowsSide("ours (download-probe, WinINet, Wine)", probe, "download-ours.bin");
    if (std::filesystem::exists(floorProbe)) {
        windowsSide("plain WinINet loop (same Wine)", floorProbe, "download-floor.bin");
    }
    const std::filesystem::path curlFile = folder / "download-curl.bin";
    commands.push_back({"curl", "curl -s --noproxy '*' -o " + Quote(curlFile) + " -w '%{time_total}' " + url, curlFile, {}});
    bool ok = started && port != 0 && !error && TimedDownloads(commands);
    for (const DownloadCommand& side : commands) {
        ok = ok && std::filesystem::file_size(side.output, error) == bytes;
    }
    (void)Capture(serversScript + " stop " + Quote(servers), ignored);
    if (!sessionWasOpen) {
        (void)Capture(tree.HarnessStop(), ignored);
    }
    for (const DownloadCommand& side : commands) {
        std::filesystem::remove(side.output, error);
    }
    if (!ok) {
        std::fprintf(stderr, "setup-bench: the download row failed\n");
        return false;
    }
    ReportDownloads(commands, bytes);
    return true;
}

int Run(const std::filesystem::path& folder, std::uint64_t megabytes, bool downloadOnly) {
    const std::uint64_t bytes = megabytes * 1024 * 1024;
    std::filesystem::create_directories(folder);
    const std::filesystem::path data = folder / "bench-data.bin";
    const std::filesystem::path package = folder / "bench-package.exe";
    std::printf("setup-bench: %llu MB in %s\n", static_cast<unsigned long long>(megabytes), folder.string().c_str());
    if (!MakeFile(data, bytes)) {
        std::fprintf(stderr, "setup-bench: cannot write %s\n", data.string().c_str());
        return 1;
    }
    if (downloadOnly) {
        const bool measured = DownloadRow(folder, data, bytes);
        std::filesystem::remove(data);
        return measured ? 0 : 1;
    }

    std::string ours, tool;
    if (!OurDigest(data, ours) || !ToolDigest(data, tool) || ours != tool) {
        std::fprintf(stderr, "setup-bench: digests differ or failed (%s / %s)\n", ours.c_str(), tool.c_str());
        return 1;
    }
    const Pair md5 = BestOfInterleaved([&] { return OurDigest(data, ours); }, [&] { return ToolDigest(data, tool); });
    if (md5.ours < 0) {
        std::fprintf(stderr, "setup-bench: a digest run failed\n");
        return 1;
    }
    Report("MD5 (ours, 64 KiB blocks)", md5.ours, md5.tool, "md5sum", bytes);

    PackageContents contents;
    contents.programImage = std::vector<std::uint8_t>(4096, 0);
    contents.entries.push_back({PayloadGroup::PlainDatabase, PayloadFileType::PlainDatabase, 0,
                                PackageName{u's', u'e', u't', u'u', u'p', u'.', u'm', u's', u'i'}, data});
    PackageLayoutInfo layout;
    std::string error;
    PayloadReader reader;
    if (!WritePackage(contents, package, layout, error) || reader.Open(package) != kResultSuccess) {
        std::fprintf(stderr, "setup-bench: cannot make the package: %s\n", error.c_str());
        return 1;
    }
    const std::filesystem::path ourCopy = folder / "copy-ours.bin";
    const std::filesystem::path toolCopy = folder / "copy-cp.bin";
    const std::string cp = "cp --reflink=never " + Quote(data) + " " + Quote(toolCopy);
    // Untimed first copies: the package enters the page cache, and both sides then overwrite an
    // existing file in every timed round (writing a new file is cheaper than replacing one).
    CopyEntry(reader, 0, ourCopy);
    if (std::system(cp.c_str()) != 0) {
        std::fprintf(stderr, "setup-bench: cp failed\n");
        return 1;
    }
    const Pair copy = BestOfInterleaved([&] { return CopyEntry(reader, 0, ourCopy); },
                                        [&] { return std::system(cp.c_str()) == 0; });
    if (copy.ours < 0 || std::filesystem::file_size(ourCopy) != bytes) {
        std::fprintf(stderr, "setup-bench: a copy failed\n");
        return 1;
    }
    Report("entry copy (reader window loop)", copy.ours, copy.tool, "cp", bytes);

    const Pair extractorCopy = BestOfInterleaved([&] { return ExtractorCopy(reader, 0, ourCopy); },
                                                 [&] { return std::system(cp.c_str()) == 0; });
    if (extractorCopy.ours < 0 || std::filesystem::file_size(ourCopy) != bytes) {
        std::fprintf(stderr, "setup-bench: the extractor's copy failed\n");
        return 1;
    }
    Report("entry copy (extractor)", extractorCopy.ours, extractorCopy.tool, "cp", bytes);

    if (!DownloadRow(folder, data, bytes)) {
        return 1;
    }

    for (const auto& path : {data, package, ourCopy, toolCopy}) {
        std::filesystem::remove(path);
    }
    return ReportInstallRow(folder);
}

}  // namespace
}  // namespace maglorin

int main(int argc, char** argv) {
    const std::filesystem::path folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path() / "setup-bench";
    const std::uint64_t megabytes = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 512;
    const bool downloadOnly = argc > 3 && std::string(argv[3]) == "download";
    return maglorin::Run(folder, megabytes, downloadOnly);
}
