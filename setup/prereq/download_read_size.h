#pragma once
// How many bytes one read of a download asks the Internet library for. Every read is written to
// the working file and reported to the sink as one step, so the size trades the cost of a read
// (one library call and, under Wine, several server round trips) against how often progress,
// pause and cancel are seen.
//
// A read the library answers at once and in full shows the data is arriving faster than it is
// taken: the next read asks for twice as much, up to kMaxReadSize. A read that had to wait for
// the network drops back to kMinReadSize, so a slow link still reports every kMinReadSize bytes.

#include <cstdint>

namespace maglorin {

inline constexpr std::uint32_t kMinReadSize = 51200;    // bytes
inline constexpr std::uint32_t kMaxReadSize = 1048576;  // bytes; the size of the read buffer

class ReadSize {
public:
    [[nodiscard]] std::uint32_t Next() const { return next_; }
    // One read asked for `asked` bytes and got `got`; `waited`: it went asynchronous first.
    void Answered(std::uint32_t asked, std::uint32_t got, bool waited);

private:
    std::uint32_t next_ = kMinReadSize;
};

}  // namespace maglorin
