#pragma once
// The operating-system services the extraction library needs, behind one narrow seam: reading
// and seeking the caller's archive handle, output files, directories, free space and the
// environment. platform_posix.cpp serves the native build, win32/platform_win32.cpp Windows.

#include <cstdint>
#include <optional>
#include <string>

#include "extraction_context.h"

namespace maglorin::decoder {

using PathString = std::basic_string<PathChar>;

// The separator of the paths the library builds. Item names may use either '/' or '\'.
#if defined(_WIN32)
inline constexpr PathChar kPathSeparator = L'\\';
#else
inline constexpr PathChar kPathSeparator = u'/';
#endif

enum class SeekOrigin { Begin, Current, End };

// Reads at the handle's current position. False on a failed read; *bytesRead is 0 at the end.
[[nodiscard]] bool ReadHandle(NativeFileHandle handle, void* buffer, std::uint32_t size, std::uint32_t* bytesRead);

// Moves the handle's position; *newPosition receives the absolute file position.
[[nodiscard]] bool SeekHandle(NativeFileHandle handle, std::int64_t distance, SeekOrigin origin,
                std::uint64_t* newPosition);

// Times as 100-nanosecond intervals since 1601-01-01 UTC; an empty value keeps what the
// system set.
struct FileTimes {
    std::optional<std::uint64_t> creation;
    std::optional<std::uint64_t> lastAccess;
    std::optional<std::uint64_t> lastWrite;
};

// An output file opened for writing (shared for reading, replacing an existing file, normal
// attributes). Closed by its destructor if Close was not called.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    [[nodiscard]] bool Create(const PathString& path);
    [[nodiscard]] bool IsOpen() const;
    // Writes up to size bytes; false when the write fails. *written may be less than size.
    [[nodiscard]] bool Write(const void* data, std::uint32_t size, std::uint32_t* written);
    [[nodiscard]] bool SetTimes(const FileTimes& times);
    [[nodiscard]] bool Close();

private:
#if defined(_WIN32)
    void* handle_ = nullptr;  // INVALID_HANDLE_VALUE is kept as nullptr here
#else
    int fd_ = -1;
#endif
};

// Creates one directory (its parent must exist). False when it could not be created, also when
// it exists already.
[[nodiscard]] bool CreateOneDirectory(const PathString& path);

// Free bytes available to the caller on the volume holding path; empty when the query fails.
std::optional<std::uint64_t> FreeBytesAvailable(const PathString& path);

// The value of an environment variable; empty when it is not set, an empty text when it is
// longer than maxChars code units (it does not fit the caller's buffer).
std::optional<std::string> EnvironmentValue(const char* name, std::size_t maxChars);

}  // namespace maglorin::decoder
