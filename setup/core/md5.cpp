#include "md5.h"

#include <algorithm>
#include <cstring>

namespace maglorin {

namespace {

inline std::uint32_t RotateLeft(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

inline std::uint32_t LoadWord(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The four auxiliary functions, in the forms that need the fewest operations.
inline std::uint32_t F(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return z ^ (x & (y ^ z)); }
inline std::uint32_t G(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return y ^ (z & (x ^ y)); }
inline std::uint32_t H(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return x ^ y ^ z; }
inline std::uint32_t I(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return y ^ (x | ~z); }

#define MD5_STEP(f, a, b, c, d, word, constant, shift) \
    a += f(b, c, d) + (word) + (constant);             \
    a = RotateLeft(a, shift) + b

}  // namespace

Md5::Md5() : state_{0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u} {}

void Md5::Compress(const std::uint8_t* blocks, std::size_t count) {
    std::uint32_t a0 = state_[0], b0 = state_[1], c0 = state_[2], d0 = state_[3];
    for (std::size_t block = 0; block < count; ++block, blocks += 64) {
        std::uint32_t x[16];
        for (int i = 0; i < 16; ++i) {
            x[i] = LoadWord(blocks + 4 * i);
        }
        std::uint32_t a = a0, b = b0, c = c0, d = d0;

        MD5_STEP(F, a, b, c, d, x[0], 0xd76aa478u, 7);
        MD5_STEP(F, d, a, b, c, x[1], 0xe8c7b756u, 12);
        MD5_STEP(F, c, d, a, b, x[2], 0x242070dbu, 17);
        MD5_STEP(F, b, c, d, a, x[3], 0xc1bdceeeu, 22);
        MD5_STEP(F, a, b, c, d, x[4], 0xf57c0fafu, 7);
        MD5_STEP(F, d, a, b, c, x[5], 0x4787c62au, 12);
        MD5_STEP(F, c, d, a, b, x[6], 0xa8304613u, 17);
        MD5_STEP(F, b, c, d, a, x[7], 0xfd469501u, 22);
        MD5_STEP(F, a, b, c, d, x[8], 0x698098d8u, 7);
        MD5_STEP(F, d, a, b, c, x[9], 0x8b44f7afu, 12);
        MD5_STEP(F, c, d, a, b, x[10], 0xffff5bb1u, 17);
        MD5_STEP(F, b, c, d, a, x[11], 0x895cd7beu, 22);
        MD5_STEP(F, a, b, c, d, x[12], 0x6b901122u, 7);
        MD5_STEP(F, d, a, b, c, x[13], 0xfd987193u, 12);
        MD5_STEP(F, c, d, a, b, x[14], 0xa679438eu, 17);
        MD5_STEP(F, b, c, d, a, x[15], 0x49b40821u, 22);

        MD5_STEP(G, a, b, c, d, x[1], 0xf61e2562u, 5);
        MD5_STEP(G, d, a, b, c, x[6], 0xc040b340u, 9);
        MD5_STEP(G, c, d, a, b, x[11], 0x265e5a51u, 14);
        MD5_STEP(G, b, c, d, a, x[0], 0xe9b6c7aau, 20);
        MD5_STEP(G, a, b, c, d, x[5], 0xd62f105du, 5);
        MD5_STEP(G, d, a, b, c, x[10], 0x02441453u, 9);
        MD5_STEP(G, c, d, a, b, x[15], 0xd8a1e681u, 14);
        MD5_STEP(G, b, c, d, a, x[4], 0xe7d3fbc8u, 20);
        MD5_STEP(G, a, b, c, d, x[9], 0x21e1cde6u, 5);
        MD5_STEP(G, d, a, b, c, x[14], 0xc33707d6u, 9);
        MD5_STEP(G, c, d, a, b, x[3], 0xf4d50d87u, 14);
        MD5_STEP(G, b, c, d, a, x[8], 0x455a14edu, 20);
        MD5_STEP(G, a, b, c, d, x[13], 0xa9e3e905u, 5);
        MD5_STEP(G, d, a, b, c, x[2], 0xfcefa3f8u, 9);
        MD5_STEP(G, c, d, a, b, x[7], 0x676f02d9u, 14);
        MD5_STEP(G, b, c, d, a, x[12], 0x8d2a4c8au, 20);

        MD5_STEP(H, a, b, c, d, x[5], 0xfffa3942u, 4);
        MD5_STEP(H, d, a, b, c, x[8], 0x8771f681u, 11);
        MD5_STEP(H, c, d, a, b, x[11], 0x6d9d6122u, 16);
        MD5_STEP(H, b, c, d, a, x[14], 0xfde5380cu, 23);
        MD5_STEP(H, a, b, c, d, x[1], 0xa4beea44u, 4);
        MD5_STEP(H, d, a, b, c, x[4], 0x4bdecfa9u, 11);
        MD5_STEP(H, c, d, a, b, x[7], 0xf6bb4b60u, 16);
        MD5_STEP(H, b, c, d, a, x[10], 0xbebfbc70u, 23);
        MD5_STEP(H, a, b, c, d, x[13], 0x289b7ec6u, 4);
        MD5_STEP(H, d, a, b, c, x[0], 0xeaa127fau, 11);
        MD5_STEP(H, c, d, a, b, x[3], 0xd4ef3085u, 16);
        MD5_STEP(H, b, c, d, a, x[6], 0x04881d05u, 23);
        MD5_STEP(H, a, b, c, d, x[9], 0xd9d4d039u, 4);
        MD5_STEP(H, d, a, b, c, x[12], 0xe6db99e5u, 11);
        MD5_STEP(H, c, d, a, b, x[15], 0x1fa27cf8u, 16);
        MD5_STEP(H, b, c, d, a, x[2], 0xc4ac5665u, 23);

        MD5_STEP(I, a, b, c, d, x[0], 0xf4292244u, 6);
        MD5_STEP(I, d, a, b, c, x[7], 0x432aff97u, 10);
        MD5_STEP(I, c, d, a, b, x[14], 0xab9423a7u, 15);
        MD5_STEP(I, b, c, d, a, x[5], 0xfc93a039u, 21);
        MD5_STEP(I, a, b, c, d, x[12], 0x655b59c3u, 6);
        MD5_STEP(I, d, a, b, c, x[3], 0x8f0ccc92u, 10);
        MD5_STEP(I, c, d, a, b, x[10], 0xffeff47du, 15);
        MD5_STEP(I, b, c, d, a, x[1], 0x85845dd1u, 21);
        MD5_STEP(I, a, b, c, d, x[8], 0x6fa87e4fu, 6);
        MD5_STEP(I, d, a, b, c, x[15], 0xfe2ce6e0u, 10);
        MD5_STEP(I, c, d, a, b, x[6], 0xa3014314u, 15);
        MD5_STEP(I, b, c, d, a, x[13], 0x4e0811a1u, 21);
        MD5_STEP(I, a, b, c, d, x[4], 0xf7537e82u, 6);
        MD5_STEP(I, d, a, b, c, x[11], 0xbd3af235u, 10);
        MD5_STEP(I, c, d, a, b, x[2], 0x2ad7d2bbu, 15);
        MD5_STEP(I, b, c, d, a, x[9], 0xeb86d391u, 21);

        a0 += a;
        b0 += b;
        c0 += c;
        d0 += d;
    }
    state_ = {a0, b0, c0, d0};
}

#undef MD5_STEP

void Md5::Update(const void* data, std::size_t length) {
    if (length == 0) {
        return;  // data may be null
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    totalBytes_ += length;
    if (pendingBytes_ > 0) {
        const std::size_t take = std::min(length, pending_.size() - pendingBytes_);
        std::memcpy(pending_.data() + pendingBytes_, bytes, take);
        pendingBytes_ += take;
        bytes += take;
        length -= take;
        if (pendingBytes_ < pending_.size()) {
            return;
        }
        Compress(pending_.data(), 1);
        pendingBytes_ = 0;
    }
    const std::size_t whole = length / 64;
    Compress(bytes, whole);
    bytes += whole * 64;
    length -= whole * 64;
    std::memcpy(pending_.data(), bytes, length);
    pendingBytes_ = length;
}

Md5Digest Md5::Finish() {
    const std::uint64_t bitLength = totalBytes_ * 8;
    // Padding: one 0x80 byte, zeros up to 56 mod 64, then the bit length, low byte first.
    std::uint8_t tail[72] = {0x80};
    const std::size_t padding = (pendingBytes_ < 56 ? 56 : 120) - pendingBytes_;
    for (int i = 0; i < 8; ++i) {
        tail[padding + i] = static_cast<std::uint8_t>(bitLength >> (8 * i));
    }
    Update(tail, padding + 8);

    Md5Digest digest{};
    for (int word = 0; word < 4; ++word) {
        for (int i = 0; i < 4; ++i) {
            digest[4 * word + i] = static_cast<std::uint8_t>(state_[word] >> (8 * i));
        }
    }
    return digest;
}

std::string Md5HexText(const Md5Digest& digest) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(32);
    for (std::uint8_t byte : digest) {
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0xF]);
    }
    return text;
}

}  // namespace maglorin
