// The package file on Windows: a Win32 file handle, as setup.exe opens its own file, and reads
// at explicit positions through OVERLAPPED offsets on the synchronous handle.
#include "package_file.h"

#include <windows.h>

#include "win32_handles.h"

namespace maglorin {

// The same handle kind as FileHandle owns.
NativeFileHandle PackageFileTraits::Invalid() { return FileHandleTraits::Invalid(); }
void PackageFileTraits::Close(NativeFileHandle handle) { FileHandleTraits::Close(handle); }

bool PackageFile::Open(const std::filesystem::path& path, FileSharing sharing) {
    DWORD share = FILE_SHARE_READ;
    if (sharing == FileSharing::ReadAndWrite) {
        share |= FILE_SHARE_WRITE;
    }
    handle_.Reset(::CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return handle_.IsValid();
}

void PackageFile::Close() { handle_.Reset(); }

bool PackageFile::IsOpen() const { return handle_.IsValid(); }

bool PackageFile::Size(std::uint64_t& bytes) const {
    LARGE_INTEGER size{};
    if (!handle_.IsValid() || !::GetFileSizeEx(handle_.Get(), &size) || size.QuadPart < 0) {
        return false;
    }
    bytes = static_cast<std::uint64_t>(size.QuadPart);
    return true;
}

bool PackageFile::ReadAt(std::uint64_t position, void* buffer, std::size_t count,
                         std::size_t& bytesRead) const {
    bytesRead = 0;
    if (!handle_.IsValid()) {
        return false;
    }
    auto* out = static_cast<unsigned char*>(buffer);
    while (bytesRead < count) {
        const std::uint64_t at = position + bytesRead;
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>(at);
        where.OffsetHigh = static_cast<DWORD>(at >> 32);
        const std::size_t remaining = count - bytesRead;
        const DWORD ask = remaining > 0x40000000u ? 0x40000000u : static_cast<DWORD>(remaining);
        DWORD got = 0;
        if (!::ReadFile(handle_.Get(), out + bytesRead, ask, &got, &where)) {
            if (::GetLastError() == ERROR_HANDLE_EOF) {
                break;
            }
            return false;
        }
        if (got == 0) {
            break;
        }
        bytesRead += got;
    }
    return true;
}

}  // namespace maglorin
