// The package file on POSIX systems: a read-only descriptor and positioned reads.
#include "package_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace maglorin {

NativeFileHandle PackageFileTraits::Invalid() { return -1; }
void PackageFileTraits::Close(NativeFileHandle handle) { ::close(handle); }

// POSIX has no sharing modes; reading never locks others out.
bool PackageFile::Open(const std::filesystem::path& path, FileSharing) {
    handle_.Reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    return handle_.IsValid();
}

void PackageFile::Close() { handle_.Reset(); }

bool PackageFile::IsOpen() const { return handle_.IsValid(); }

bool PackageFile::Size(std::uint64_t& bytes) const {
    struct stat info {};
    if (!handle_.IsValid() || ::fstat(handle_.Get(), &info) != 0 || info.st_size < 0) {
        return false;
    }
    bytes = static_cast<std::uint64_t>(info.st_size);
    return true;
}

bool PackageFile::ReadAt(std::uint64_t position, void* buffer, std::size_t count,
                         std::size_t& bytesRead) const {
    bytesRead = 0;
    if (!handle_.IsValid() || position > static_cast<std::uint64_t>(INT64_MAX)) {
        return false;
    }
    auto* out = static_cast<unsigned char*>(buffer);
    while (bytesRead < count) {
        ssize_t got = ::pread(handle_.Get(), out + bytesRead, count - bytesRead,
                              static_cast<off_t>(position + bytesRead));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            break;
        }
        bytesRead += static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace maglorin
