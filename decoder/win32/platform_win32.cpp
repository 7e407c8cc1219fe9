// Windows side of the platform seam: the archive handle is a HANDLE, paths are UTF-16 as they
// stand, free space comes from GetDiskFreeSpaceExW and times are set with SetFileTime.
#include "platform.h"

#include <windows.h>

namespace maglorin::decoder {
namespace {

FILETIME ToFileTime(std::uint64_t value) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(value & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return ft;
}

}  // namespace

[[nodiscard]] bool ReadHandle(NativeFileHandle handle, void* buffer, std::uint32_t size, std::uint32_t* bytesRead) {
    DWORD read = 0;
    const BOOL ok = ::ReadFile(static_cast<HANDLE>(handle), buffer, size, &read, nullptr);
    *bytesRead = ok ? read : 0;
    return ok != FALSE;
}

[[nodiscard]] bool SeekHandle(NativeFileHandle handle, std::int64_t distance, SeekOrigin origin,
                std::uint64_t* newPosition) {
    const DWORD method = origin == SeekOrigin::Begin ? FILE_BEGIN
                         : origin == SeekOrigin::Current ? FILE_CURRENT
                                                         : FILE_END;
    LARGE_INTEGER move;
    move.QuadPart = distance;
    LARGE_INTEGER result;
    if (!::SetFilePointerEx(static_cast<HANDLE>(handle), move, &result, method)) {
        return false;
    }
    *newPosition = static_cast<std::uint64_t>(result.QuadPart);
    return true;
}

OutputFile::~OutputFile() {
    static_cast<void>(Close());  // a file still open here is abandoned
}

bool OutputFile::Create(const PathString& path) {
    static_cast<void>(Close());  // a file still open here is abandoned
    const HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    handle_ = h == INVALID_HANDLE_VALUE ? nullptr : h;
    return handle_ != nullptr;
}

bool OutputFile::IsOpen() const {
    return handle_ != nullptr;
}

bool OutputFile::Write(const void* data, std::uint32_t size, std::uint32_t* written) {
    DWORD done = 0;
    const BOOL ok = ::WriteFile(static_cast<HANDLE>(handle_), data, size, &done, nullptr);
    *written = ok ? done : 0;
    return ok != FALSE;
}

bool OutputFile::SetTimes(const FileTimes& times) {
    FILETIME creation{}, access{}, write{};
    if (times.creation) creation = ToFileTime(*times.creation);
    if (times.lastAccess) access = ToFileTime(*times.lastAccess);
    if (times.lastWrite) write = ToFileTime(*times.lastWrite);
    return ::SetFileTime(static_cast<HANDLE>(handle_), times.creation ? &creation : nullptr,
                         times.lastAccess ? &access : nullptr,
                         times.lastWrite ? &write : nullptr) != FALSE;
}

bool OutputFile::Close() {
    if (handle_ == nullptr) {
        return true;
    }
    const bool ok = ::CloseHandle(static_cast<HANDLE>(handle_)) != FALSE;
    handle_ = nullptr;
    return ok;
}

[[nodiscard]] bool CreateOneDirectory(const PathString& path) {
    return ::CreateDirectoryW(path.c_str(), nullptr) != FALSE;
}

std::optional<std::uint64_t> FreeBytesAvailable(const PathString& path) {
    ULARGE_INTEGER available;
    if (!::GetDiskFreeSpaceExW(path.c_str(), &available, nullptr, nullptr)) {
        return std::nullopt;
    }
    return available.QuadPart;
}

std::optional<std::string> EnvironmentValue(const char* name, std::size_t maxChars) {
    std::wstring wideName;
    for (const char* p = name; *p != '\0'; ++p) {
        wideName += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    }
    std::wstring buffer(maxChars + 1, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), buffer.data(),
                                                   static_cast<DWORD>(buffer.size()));
    if (length == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
        return std::nullopt;
    }
    // A longer value does not fit: the call then answers the size it needs and copies nothing.
    if (length > maxChars) {
        return std::string();
    }
    std::string text;
    for (DWORD i = 0; i < length; ++i) {
        const wchar_t c = buffer[i];
        text += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return text;
}

}  // namespace maglorin::decoder
