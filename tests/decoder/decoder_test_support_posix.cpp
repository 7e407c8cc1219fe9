#include "decoder_test_support.h"

#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace maglorin::test_support {
namespace {

class PosixLibrary final : public LoadedLibrary {
public:
    explicit PosixLibrary(void* handle) : handle_(handle) {}
    ~PosixLibrary() override { dlclose(handle_); }
    const DecoderExports& Exports() const override { return exports_; }
    DecoderExports exports_;

private:
    void* handle_;
};

class PosixReadHandle final : public ReadHandle {
public:
    explicit PosixReadHandle(int fd) : fd_(fd) {}
    ~PosixReadHandle() override { close(fd_); }
    NativeFileHandle Handle() const override { return fd_; }

private:
    int fd_;
};

class TmpfsVolume final : public SmallVolume {
public:
    explicit TmpfsVolume(std::filesystem::path folder) : folder_(std::move(folder)) {}
    ~TmpfsVolume() override { umount2(folder_.c_str(), MNT_DETACH); }

private:
    std::filesystem::path folder_;
};

constexpr std::int64_t kUnixEpochIn1601Ticks = 116444736000000000LL;

}  // namespace

std::unique_ptr<LoadedLibrary> LoadDecoderLibrary() {
    void* handle = dlopen((std::filesystem::absolute("libdecoder.so")).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return nullptr;
    }
    auto library = std::make_unique<PosixLibrary>(handle);
    DecoderExports& e = library->exports_;
    e.initExtraction = reinterpret_cast<InitExtractionFn>(dlsym(handle, "InitExtraction"));
    e.getTotalFilesSize = reinterpret_cast<GetTotalFilesSizeFn>(dlsym(handle, "GetTotalFilesSize"));
    e.extractAllFiles = reinterpret_cast<ExtractAllFilesFn>(dlsym(handle, "ExtractAllFiles"));
    e.endExtraction = reinterpret_cast<EndExtractionFn>(dlsym(handle, "EndExtraction"));
    return library;
}

std::unique_ptr<ReadHandle> OpenForReading(const std::filesystem::path& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw std::runtime_error("cannot open " + path.string());
    }
    return std::make_unique<PosixReadHandle>(fd);
}

std::optional<std::uint64_t> LastWriteTime(const std::filesystem::path& file) {
    struct stat info{};
    if (stat(file.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(info.st_mtim.tv_sec) * 10000000 +
                                      info.st_mtim.tv_nsec / 100 + kUnixEpochIn1601Ticks);
}

std::unique_ptr<SmallVolume> MountSmallVolume(const std::filesystem::path& folder, std::uint64_t bytes) {
    const std::string options = "size=" + std::to_string(bytes);
    if (mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
        return nullptr;
    }
    return std::make_unique<TmpfsVolume>(folder);
}

std::optional<std::uint64_t> CreationTime(const std::filesystem::path&) {
    return std::nullopt;
}

void SetEnvironment(const char* name, const std::optional<std::string>& value) {
    if (value) {
        setenv(name, value->c_str(), 1);
    } else {
        unsetenv(name);
    }
}

}  // namespace maglorin::test_support
