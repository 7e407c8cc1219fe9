#pragma once
// The package file as the reader sees it: opened for reading, read at absolute positions.
// The narrow seam between the portable reader and the platform: posix/package_file_posix.cpp
// and win32/package_file_win32.cpp implement it. Owns the handle; move-only.

#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "extraction_context.h"  // NativeFileHandle

namespace maglorin {

enum class FileSharing {
    Read,          // others may read the file while it is open
    ReadAndWrite,  // others may also write it
};

class PackageFile {
public:
    PackageFile() = default;
    ~PackageFile();
    PackageFile(PackageFile&& other) noexcept;
    PackageFile& operator=(PackageFile&& other) noexcept;
    PackageFile(const PackageFile&) = delete;
    PackageFile& operator=(const PackageFile&) = delete;

    bool Open(const std::filesystem::path& path, FileSharing sharing);
    void Close();
    bool IsOpen() const;

    bool Size(std::uint64_t& bytes) const;

    // Reads up to count bytes starting at position; bytesRead < count only at the end of the
    // file. False when the platform reports an error.
    bool ReadAt(std::uint64_t position, void* buffer, std::size_t count, std::size_t& bytesRead) const;

    // For callers that hand the open file on (the extraction library reads archives through it).
    // Still owned by this object.
    NativeFileHandle Handle() const { return handle_; }

private:
#if defined(_WIN32)
    NativeFileHandle handle_ = reinterpret_cast<NativeFileHandle>(static_cast<std::intptr_t>(-1));
#else
    NativeFileHandle handle_ = -1;
#endif
};

}  // namespace maglorin
