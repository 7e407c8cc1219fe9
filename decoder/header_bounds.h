#pragma once
// The size an archive's compressed header claims, read before the 7-Zip reader sees it.
//
// 7-Zip reserves the whole unpacked size of a compressed ("encoded") header as soon as it reads
// the header's folder description, before a byte is decoded; a small archive can claim any size
// there. The library reads the same description first and refuses an archive whose header would
// unpack to more than kMaxHeaderBytes, or whose description it cannot read, as a database that
// cannot be used.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace maglorin::decoder {

// The largest unpacked header the library accepts, bytes (millions of items fit in it).
inline constexpr std::uint64_t kMaxHeaderBytes = std::uint64_t{256} << 20;

// The total unpacked size the header's folders claim: 0 for a plain header (its own bytes are
// all there is), empty when the description of an encoded header cannot be read.
std::optional<std::uint64_t> EncodedHeaderUnpackSize(const std::uint8_t* header, std::size_t size);

// 7-Zip also reserves room for every pack stream, folder and file a plain header counts before it
// reads them, and trusts each count up to two thousand million. Each pack stream, folder and
// file with data takes at least one byte of the header, and each file without data one bit, so a
// count beyond what the header bytes that follow it can describe is a claim, not a description. `header` holds the first `size` bytes of a plain header of `headerSize` bytes.
// False when a count exceeds what the header can hold; true for anything else (an encoded
// header, or a description this walk does not follow: the reader judges those itself).
bool PlainHeaderCountsFit(const std::uint8_t* header, std::size_t size, std::uint64_t headerSize);

}  // namespace maglorin::decoder
