#pragma once
// Random-access byte input for the model reader: a file read through a buffer (one system read
// per buffer fill, not per byte), or a block of memory.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace maglorin {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::int64_t Size() const = 0;
    // Copies `count` bytes at `offset` into `target`; false when they are not all there.
    virtual bool ReadAt(std::int64_t offset, void* target, std::size_t count) = 0;
};

class MemoryByteSource final : public ByteSource {
public:
    // The bytes are borrowed: they must outlive the source.
    MemoryByteSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    explicit MemoryByteSource(const std::vector<std::uint8_t>& bytes)
        : data_(bytes.data()), size_(bytes.size()) {}

    std::int64_t Size() const override { return static_cast<std::int64_t>(size_); }
    bool ReadAt(std::int64_t offset, void* target, std::size_t count) override;

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

class BufferedFileSource final : public ByteSource {
public:
    // False when the file cannot be opened or its size cannot be read.
    bool Open(const std::filesystem::path& path);

    std::int64_t Size() const override { return size_; }
    bool ReadAt(std::int64_t offset, void* target, std::size_t count) override;

private:
    bool Fill(std::int64_t offset);

    static constexpr std::size_t kBufferSize = 64 * 1024;
    std::ifstream file_;
    std::int64_t size_ = 0;
    std::vector<char> buffer_;
    std::int64_t bufferStart_ = 0;  // file offset of buffer_[0]
};

}  // namespace maglorin
