// POSIX side of decoder-extract: libdecoder.so is opened with dlopen from the program's folder,
// archives are file descriptors.
#include "extract_platform.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace maglorin::extract_tool {
namespace {

class PosixDecoder final : public LoadedDecoder {
public:
    explicit PosixDecoder(void* library) : library_(library) {}
    ~PosixDecoder() override { dlclose(library_); }
    const DecoderExports& Exports() const override { return exports_; }
    DecoderExports exports_;

private:
    void* library_;
};

class PosixArchiveFile final : public ArchiveFile {
public:
    PosixArchiveFile(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    ~PosixArchiveFile() override { close(fd_); }
    NativeFileHandle Handle() const override { return fd_; }
    std::uint64_t Size() const override { return size_; }

private:
    int fd_;
    std::uint64_t size_;
};

std::string ProgramFolder() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) {
        return ".";
    }
    std::string path(buffer, static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/'));
}

template <typename Fn>
bool Bind(void* library, const char* name, Fn& target) {
    target = reinterpret_cast<Fn>(dlsym(library, name));
    return target != nullptr;
}

// UTF-8 to UTF-16; bytes that are not UTF-8 stand for themselves.
std::u16string ToUtf16(const std::string& text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
        char32_t c = lead;
        if (length > 1 && i + static_cast<std::size_t>(length) <= text.size()) {
            c = lead & (0x7F >> length);
            for (int k = 1; k < length; ++k) {
                c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
            }
            i += static_cast<std::size_t>(length);
        } else {
            ++i;
        }
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

}  // namespace

std::unique_ptr<LoadedDecoder> LoadDecoder(std::string& error) {
    const std::string path = ProgramFolder() + "/libdecoder.so";
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        error = "cannot load the extraction library " + path + ": " + dlerror();
        return nullptr;
    }
    auto decoder = std::make_unique<PosixDecoder>(library);
    DecoderExports& e = decoder->exports_;
    if (!Bind(library, "InitExtraction", e.initExtraction) ||
        !Bind(library, "GetTotalFilesSize", e.getTotalFilesSize) ||
        !Bind(library, "ExtractAllFiles", e.extractAllFiles) ||
        !Bind(library, "EndExtraction", e.endExtraction)) {
        error = "the extraction library " + path + " lacks one of its four functions";
        return nullptr;
    }
    return decoder;
}

std::unique_ptr<ArchiveFile> OpenArchiveFile(const std::string& path, std::string& error) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info{};
    if (fd < 0 || fstat(fd, &info) != 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        if (fd >= 0) {
            close(fd);
        }
        return nullptr;
    }
    return std::make_unique<PosixArchiveFile>(fd, static_cast<std::uint64_t>(info.st_size));
}

std::optional<std::basic_string<PathChar>> PrepareOutputFolder(const std::string& path, std::string& error) {
    std::string absolute = path;
    if (absolute.empty() || absolute[0] != '/') {
        char cwd[PATH_MAX];
        if (getcwd(cwd, sizeof cwd) == nullptr) {
            error = "cannot find the current folder";
            return std::nullopt;
        }
        absolute = std::string(cwd) + "/" + absolute;
    }
    for (std::size_t i = 1; i <= absolute.size(); ++i) {
        if (i == absolute.size() || absolute[i] == '/') {
            mkdir(absolute.substr(0, i).c_str(), 0777);
        }
    }
    struct stat info{};
    if (stat(absolute.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = "cannot create the output folder " + absolute;
        return std::nullopt;
    }
    if (absolute.back() != '/') {
        absolute += '/';
    }
    return ToUtf16(absolute);
}

bool OutputIsTerminal() {
    return isatty(STDOUT_FILENO) == 1;
}

}  // namespace maglorin::extract_tool
