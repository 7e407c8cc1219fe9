#include "fuzz_scratch.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>
#include <unistd.h>

namespace maglorin::test_support {
namespace {

void RemoveScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(ScratchFolder(), ignored);
}

}  // namespace

const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                           ("maglorin-fuzz-" + std::to_string(::getpid()));
        std::error_code error;
        std::filesystem::create_directories(path, error);
        if (error) {
            std::abort();
        }
        return path;
    }();
    static const bool removeAtExit = std::atexit(RemoveScratchFolder) == 0;
    (void)removeAtExit;
    return folder;
}

std::filesystem::path WriteScratchFile(const char* name, const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path path = ScratchFolder() / name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::abort();
    }
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) {
        std::abort();
    }
    return path;
}

}  // namespace maglorin::test_support
