#include "archive_window_stream.h"

#include <cstdint>

#include "platform.h"

namespace maglorin::decoder {

// Reads stop at the window's end, so bytes after the archive (the rest of the caller's file)
// are never handed to the reader.
Z7_COM7F_IMF(ArchiveWindowStream::Read(void* data, UInt32 size, UInt32* processedSize)) {
    if (processedSize != nullptr) {
        *processedSize = 0;
    }
    std::uint64_t position = 0;
    if (!SeekHandle(file_, 0, SeekOrigin::Current, &position)) {
        return E_FAIL;
    }
    const UInt64 windowEnd = WindowEnd();
    if (position >= windowEnd || size == 0) {
        return S_OK;
    }
    const UInt64 left = windowEnd - position;
    const UInt32 count = left < size ? static_cast<UInt32>(left) : size;
    std::uint32_t read = 0;
    if (!ReadHandle(file_, data, count, &read)) {
        return E_FAIL;
    }
    if (processedSize != nullptr) {
        *processedSize = read;
    }
    return S_OK;
}

namespace {

// base + distance as a file position, when it is one (0 to INT64_MAX).
[[nodiscard]] bool AddDistance(UInt64 base, Int64 distance, std::int64_t* target) {
    constexpr UInt64 kLargest = static_cast<UInt64>(INT64_MAX);
    if (base > kLargest) {
        return false;
    }
    const std::int64_t start = static_cast<std::int64_t>(base);
    if ((distance > 0 && start > INT64_MAX - distance) || start + distance < 0) {
        return false;
    }
    *target = start + distance;
    return true;
}

}  // namespace

Z7_COM7F_IMF(ArchiveWindowStream::Seek(Int64 offset, UInt32 seekOrigin, UInt64* newPosition)) {
    std::uint64_t filePosition = 0;
    std::int64_t target = 0;
    bool ok = false;
    switch (seekOrigin) {
        case STREAM_SEEK_SET:
            ok = AddDistance(offset_, offset, &target) &&
                 SeekHandle(file_, target, SeekOrigin::Begin, &filePosition);
            break;
        case STREAM_SEEK_CUR:
            ok = SeekHandle(file_, offset, SeekOrigin::Current, &filePosition);
            break;
        case STREAM_SEEK_END:
            ok = AddDistance(WindowEnd(), offset, &target) &&
                 SeekHandle(file_, target, SeekOrigin::Begin, &filePosition);
            break;
        default:
            return STG_E_INVALIDFUNCTION;
    }
    if (!ok) {
        return E_FAIL;
    }
    if (filePosition < offset_) {
        return HRESULT_WIN32_ERROR_NEGATIVE_SEEK;  // before the window start
    }
    if (newPosition != nullptr) {
        *newPosition = filePosition - offset_;
    }
    return S_OK;
}

}  // namespace maglorin::decoder
