// decoder-bench [--size-mb N] [--work DIR]: makes a mixed-data LZMA archive of at least N MB
// (default 220) with 7zz, then unpacks it with our library (through its exports, in a child
// process so its peak memory is its own) and with `7zz x -mmt1`, and prints the speed of each,
// their ratio and the peak memory. Each side runs three times; the best time counts.
#include <dlfcn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "extraction_context.h"

namespace fs = std::filesystem;

namespace {

struct Measure {
    double seconds = 0;
    long peakKiB = 0;
    int status = -1;
};

// Deterministic pseudo-random numbers (xorshift64*).
class Random {
public:
    explicit Random(std::uint64_t start) : state_(start) {}
    std::uint64_t Next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 2685821657736338717ULL;
    }

private:
    std::uint64_t state_;
};

// Text-like lines, random bytes and repetitive records, in files of varied sizes.
std::uint64_t WriteMixedData(const fs::path& folder, std::uint64_t targetBytes) {
    static const char* kWords[] = {"kit", "shirt", "texture", "model", "render", "colour", "mesh",
                                   "light", "camera", "install", "package", "folder", "archive"};
    Random random(20260101);
    std::uint64_t written = 0;
    for (int index = 0; written < targetBytes; ++index) {
        const std::uint64_t size = (1 + random.Next() % 24) * 1024 * 1024 / (1 + index % 4);
        std::string data;
        data.reserve(size);
        const int kind = index % 3;
        while (data.size() < size) {
            if (kind == 0) {
                data += kWords[random.Next() % 13];
                data += random.Next() % 9 == 0 ? '\n' : ' ';
            } else if (kind == 1) {
                const std::uint64_t r = random.Next();
                data.append(reinterpret_cast<const char*>(&r), sizeof r);
            } else {
                char record[64];
                std::snprintf(record, sizeof record, "%08d;%06llu;%s\n", index,
                              static_cast<unsigned long long>(random.Next() % 1000), kWords[data.size() % 13]);
                data += record;
            }
        }
        const fs::path file = folder / ("part" + std::to_string(index) + (kind == 1 ? ".bin" : ".txt"));
        std::ofstream(file, std::ios::binary).write(data.data(), static_cast<std::streamsize>(data.size()));
        written += data.size();
    }
    return written;
}

// Runs child() in a forked process and measures its wall time and peak resident memory.
template <typename Child>
Measure InChild(Child child) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        _exit(child());
    }
    Measure measure;
    rusage usage{};
    int status = 0;
    wait4(pid, &status, 0, &usage);
    measure.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    measure.peakKiB = usage.ru_maxrss;
    measure.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return measure;
}

int UnpackWithLibrary(const fs::path& library, const fs::path& archive, const fs::path& out) {
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return 100;
    }
    const auto init = reinterpret_cast<maglorin::InitExtractionFn>(dlsym(handle, "InitExtraction"));
    const auto extract = reinterpret_cast<maglorin::ExtractAllFilesFn>(dlsym(handle, "ExtractAllFiles"));
    const auto end = reinterpret_cast<maglorin::EndExtractionFn>(dlsym(handle, "EndExtraction"));
    const int fd = open(archive.c_str(), O_RDONLY);
    maglorin::ExtractionContext context;
    std::memset(&context, 0, sizeof context);
    context.archiveFile = fd;
    context.archiveSize = fs::file_size(archive);
    const std::u16string folder = out.u16string() + u"/";
    std::memcpy(context.outputFolder, folder.c_str(), (folder.size() + 1) * sizeof(char16_t));
    int result = init(&context);
    if (result == 0) {
        result = extract(&context);
    }
    end(&context);
    close(fd);
    return result;
}

int RunProgram(const std::vector<std::string>& arguments) {
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    std::vector<char*> argv;
    for (const std::string& a : arguments) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    return 127;
}

fs::path ProgramFolder() {
    return fs::read_symlink("/proc/self/exe").parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t sizeMiB = 220;
    fs::path work = fs::current_path() / "decoder-bench-work";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--size-mb") == 0) {
            sizeMiB = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (std::strcmp(argv[i], "--work") == 0) {
            work = fs::absolute(argv[i + 1]);
        }
    }
    fs::remove_all(work);
    fs::create_directories(work / "source");
    const std::uint64_t dataBytes = WriteMixedData(work / "source", sizeMiB * 1000 * 1000);
    const fs::path archive = work / "bench.7z";
    const std::string makeArchive = "cd '" + (work / "source").string() + "' && 7zz a -t7z -m0=LZMA -bd '" +
                                    archive.string() + "' . >/dev/null";
    std::printf("data: %.1f MB in mixed files; making the LZMA archive with 7zz...\n", dataBytes / 1e6);
    std::fflush(stdout);
    if (std::system(makeArchive.c_str()) != 0) {
        std::fprintf(stderr, "decoder-bench: 7zz could not make the archive\n");
        return 1;
    }
    fs::remove_all(work / "source");
    std::printf("archive: %.1f MB\n", fs::file_size(archive) / 1e6);

    const fs::path library = ProgramFolder() / "libdecoder.so";
    Measure ours, reference;
    for (int round = 0; round < 3; ++round) {
        fs::remove_all(work / "ours");
        fs::create_directories(work / "ours");
        const Measure a = InChild([&] { return UnpackWithLibrary(library, archive, work / "ours"); });
        fs::remove_all(work / "7zz");
        const Measure b = InChild([&] {
            return RunProgram({"7zz", "x", "-mmt1", "-y", "-bd", "-o" + (work / "7zz").string(), archive.string()});
        });
        if (a.status != 0 || b.status != 0) {
            std::fprintf(stderr, "decoder-bench: extraction failed (ours %d, 7zz %d)\n", a.status, b.status);
            return 1;
        }
        if (round == 0 || a.seconds < ours.seconds) ours = a;
        if (round == 0 || b.seconds < reference.seconds) reference = b;
    }
    const double oursSpeed = dataBytes / 1e6 / ours.seconds;
    const double referenceSpeed = dataBytes / 1e6 / reference.seconds;
    std::printf("decoder library : %7.1f MB/s  (%.2f s)  peak memory %.1f MiB\n", oursSpeed, ours.seconds,
                ours.peakKiB / 1024.0);
    std::printf("7zz x -mmt1     : %7.1f MB/s  (%.2f s)  peak memory %.1f MiB\n", referenceSpeed, reference.seconds,
                reference.peakKiB / 1024.0);
    std::printf("ratio (ours / 7zz): %.3f\n", oursSpeed / referenceSpeed);
    fs::remove_all(work);
    return 0;
}
