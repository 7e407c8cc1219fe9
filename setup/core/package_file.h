#pragma once
// The package file as the reader sees it: opened for reading, read at absolute positions.
// The narrow seam between the portable reader and the platform: posix/package_file_posix.cpp
// and win32/package_file_win32.cpp implement it. Owns the handle; move-only.

#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "extraction_context.h"  // NativeFileHandle
#include "unique_handle.h"

namespace maglorin {

enum class FileSharing {
    Read,          // others may read the file while it is open
    ReadAndWrite,  // others may also write it
};

// The platform's file handle or descriptor; each side defines Invalid() and Close().
struct PackageFileTraits {
    using Value = NativeFileHandle;
    static Value Invalid();
    static void Close(Value handle);
};

class PackageFile {
public:

    [[nodiscard]] bool Open(const std::filesystem::path& path, FileSharing sharing);
    void Close();
    [[nodiscard]] bool IsOpen() const;

    [[nodiscard]] bool Size(std::uint64_t& bytes) const;

    // Reads up to count bytes starting at position; bytesRead < count only at the end of the
    // file. False when the platform reports an error.
    [[nodiscard]] bool ReadAt(std::uint64_t position, void* buffer, std::size_t count, std::size_t& bytesRead) const;

    // For callers that hand the open file on (the extraction library reads archives through it).
    // Still owned by this object.
    NativeFileHandle Handle() const { return handle_.Get(); }

private:
    UniqueHandle<PackageFileTraits> handle_;
};

}  // namespace maglorin
