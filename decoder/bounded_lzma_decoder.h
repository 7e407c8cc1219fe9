#pragma once
// The LZMA coder the library registers with the 7-Zip reader (method 03 01 01), in place of
// 7-Zip's own registration: 7-Zip's LZMA decoder behind a check of its properties.
//
// An LZMA stream names the dictionary its decoder must reserve, and 7-Zip reserves it as soon as
// the properties are set, before a byte is decoded and for the archive's header too. A few
// hundred bytes of archive can thus ask for gigabytes. A decoder never needs more dictionary
// than the bytes it will produce, so the dictionary handed on is the smaller of the one the
// stream names and the coder's unpack size rounded up to kDictionaryGranule; when even that
// exceeds kMaxLzmaDictionary the stream is refused as damaged data (the database or the folder
// cannot be used) before anything is reserved. Decoding is unchanged: the stream never refers
// further back than the bytes it has produced.

#include <cstdint>
#include <optional>

namespace maglorin::decoder {

// The largest dictionary the library reserves, bytes. Archives whose solid blocks are larger than
// this and that were packed with an even larger dictionary are refused.
inline constexpr std::uint64_t kMaxLzmaDictionary = std::uint64_t{256} << 20;

// Dictionaries are reserved in whole steps of this many bytes (LZMA's own smallest is 4 KiB).
inline constexpr std::uint64_t kDictionaryGranule = 4096;

// The five property bytes of an LZMA stream: lc/lp/pb in one byte, then the dictionary size.
inline constexpr unsigned kLzmaPropertyBytes = 5;

// Registers the coder with the 7-Zip reader, once per process; called before an archive is
// opened (an explicit call, so no linker can drop the registration).
void RegisterBoundedLzmaDecoder();

// The dictionary size to hand on for a stream naming `named` bytes that will produce
// `unpackSize` bytes (unknown when empty); empty when it exceeds kMaxLzmaDictionary.
std::optional<std::uint32_t> BoundedDictionary(std::uint32_t named, std::optional<std::uint64_t> unpackSize);

}  // namespace maglorin::decoder
