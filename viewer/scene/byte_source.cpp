#include "scene/byte_source.h"

#include <algorithm>
#include <cstring>

namespace maglorin {

namespace {

bool InRange(std::int64_t offset, std::size_t count, std::int64_t size) {
    return offset >= 0 && offset <= size &&
           static_cast<std::uint64_t>(size - offset) >= static_cast<std::uint64_t>(count);
}

}  // namespace

bool MemoryByteSource::ReadAt(std::int64_t offset, void* target, std::size_t count) {
    if (!InRange(offset, count, Size())) {
        return false;
    }
    if (count > 0) {
        std::memcpy(target, data_ + offset, count);
    }
    return true;
}

bool BufferedFileSource::Open(const std::filesystem::path& path) {
    file_.open(path, std::ios::binary);
    if (!file_) {
        return false;
    }
    file_.seekg(0, std::ios::end);
    const std::streamoff end = file_.tellg();
    if (end < 0) {
        return false;
    }
    size_ = static_cast<std::int64_t>(end);
    buffer_.clear();
    bufferStart_ = 0;
    return true;
}

// Loads the buffer with the bytes from `offset` on (as many as the file has).
bool BufferedFileSource::Fill(std::int64_t offset) {
    const auto count = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(kBufferSize), size_ - offset));
    buffer_.resize(count);
    file_.clear();
    file_.seekg(static_cast<std::streamoff>(offset));
    file_.read(buffer_.data(), static_cast<std::streamsize>(count));
    if (!file_ || file_.gcount() != static_cast<std::streamsize>(count)) {
        buffer_.clear();
        return false;
    }
    bufferStart_ = offset;
    return true;
}

bool BufferedFileSource::ReadAt(std::int64_t offset, void* target, std::size_t count) {
    if (!InRange(offset, count, size_)) {
        return false;
    }
    auto* out = static_cast<char*>(target);
    while (count > 0) {
        const std::int64_t bufferEnd = bufferStart_ + static_cast<std::int64_t>(buffer_.size());
        if (offset < bufferStart_ || offset >= bufferEnd) {
            if (!Fill(offset)) {
                return false;
            }
            continue;
        }
        const auto available = static_cast<std::size_t>(bufferEnd - offset);
        const std::size_t take = std::min(available, count);
        std::memcpy(out, buffer_.data() + (offset - bufferStart_), take);
        out += take;
        offset += static_cast<std::int64_t>(take);
        count -= take;
    }
    return true;
}

}  // namespace maglorin
