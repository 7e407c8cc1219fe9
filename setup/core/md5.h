#pragma once
// MD5 message digest (RFC 1321), setup's own: the package integrity check hashes the whole
// package with it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace maglorin {

using Md5Digest = std::array<std::uint8_t, 16>;

class Md5 {
public:
    Md5();
    void Update(const void* data, std::size_t length);
    Md5Digest Finish();  // the object must not be updated afterwards

private:
    void Compress(const std::uint8_t* blocks, std::size_t count);  // count 64-byte blocks

    std::array<std::uint32_t, 4> state_;
    std::uint64_t totalBytes_ = 0;
    std::array<std::uint8_t, 64> pending_{};
    std::size_t pendingBytes_ = 0;
};

// 32 lower-case hexadecimal digits.
std::string Md5HexText(const Md5Digest& digest);

}  // namespace maglorin
