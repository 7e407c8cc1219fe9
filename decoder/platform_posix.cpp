// POSIX side of the platform seam: the archive handle is a file descriptor, paths are UTF-16
// converted to UTF-8, free space comes from statvfs and times are set with futimens (a creation
// time has no place here and is skipped).
#include "platform.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace maglorin::decoder {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Unpaired surrogates become U+FFFD.
std::string ToUtf8(const PathString& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

// 100-ns intervals since 1601 to a timespec since 1970.
timespec ToTimespec(std::optional<std::uint64_t> fileTime) {
    timespec ts{};
    if (!fileTime) {
        ts.tv_nsec = UTIME_OMIT;
        return ts;
    }
    // Whole seconds first, unsigned: any 64-bit value an archive stores converts without
    // overflow (the largest is some 58,000 years after 1601).
    constexpr std::int64_t kEpochDifferenceSeconds = 11644473600LL;
    const auto seconds1601 = static_cast<std::int64_t>(*fileTime / 10000000u);
    ts.tv_sec = static_cast<time_t>(seconds1601 - kEpochDifferenceSeconds);
    ts.tv_nsec = static_cast<long>((*fileTime % 10000000u) * 100u);
    return ts;
}

}  // namespace

[[nodiscard]] bool ReadHandle(NativeFileHandle handle, void* buffer, std::uint32_t size, std::uint32_t* bytesRead) {
    for (;;) {
        const ssize_t n = ::read(handle, buffer, size);
        if (n >= 0) {
            *bytesRead = static_cast<std::uint32_t>(n);
            return true;
        }
        if (errno != EINTR) {
            *bytesRead = 0;
            return false;
        }
    }
}

[[nodiscard]] bool SeekHandle(NativeFileHandle handle, std::int64_t distance, SeekOrigin origin,
                std::uint64_t* newPosition) {
    const int whence = origin == SeekOrigin::Begin ? SEEK_SET
                       : origin == SeekOrigin::Current ? SEEK_CUR
                                                       : SEEK_END;
    const off_t result = ::lseek(handle, static_cast<off_t>(distance), whence);
    if (result < 0) {
        return false;
    }
    *newPosition = static_cast<std::uint64_t>(result);
    return true;
}

OutputFile::~OutputFile() {
    static_cast<void>(Close());  // a file still open here is abandoned
}

bool OutputFile::Create(const PathString& path) {
    static_cast<void>(Close());  // a file still open here is abandoned
    // O_NOFOLLOW: a link planted at the destination must not redirect the write elsewhere.
    fd_ = ::open(ToUtf8(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    return fd_ >= 0;
}

bool OutputFile::IsOpen() const {
    return fd_ >= 0;
}

bool OutputFile::Write(const void* data, std::uint32_t size, std::uint32_t* written) {
    for (;;) {
        const ssize_t n = ::write(fd_, data, size);
        if (n >= 0) {
            *written = static_cast<std::uint32_t>(n);
            return true;
        }
        if (errno != EINTR) {
            *written = 0;
            return false;
        }
    }
}

bool OutputFile::SetTimes(const FileTimes& times) {
    const timespec ts[2] = {ToTimespec(times.lastAccess), ToTimespec(times.lastWrite)};
    return ::futimens(fd_, ts) == 0;
}

bool OutputFile::Close() {
    if (fd_ < 0) {
        return true;
    }
    const bool ok = ::close(fd_) == 0;
    fd_ = -1;
    return ok;
}

[[nodiscard]] bool CreateOneDirectory(const PathString& path) {
    return ::mkdir(ToUtf8(path).c_str(), 0777) == 0;
}

std::optional<std::uint64_t> FreeBytesAvailable(const PathString& path) {
    struct statvfs info{};
    if (::statvfs(ToUtf8(path).c_str(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.f_bavail) * static_cast<std::uint64_t>(info.f_frsize);
}

std::optional<std::string> EnvironmentValue(const char* name, std::size_t maxChars) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return std::nullopt;
    }
    std::string text(value);
    // Like the Windows query with a buffer of maxChars: a longer value is not delivered.
    if (text.size() > maxChars) {
        text.clear();
    }
    return text;
}

}  // namespace maglorin::decoder
