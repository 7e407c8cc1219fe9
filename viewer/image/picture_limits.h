#pragma once
// The largest picture the viewer takes, checked against the size a file claims before any pixel
// memory is allocated.

#include <cstdint>
#include <string>

namespace maglorin {

// Neither side may exceed this many pixels: the largest texture the viewer draws.
constexpr std::int64_t kMaxPictureSide = 16384;
// Nor may the whole picture exceed this many pixels (256 MB of 32-bit words).
#if defined(FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION)
// The fuzz tree decodes the same code paths with a 128 KB ceiling, so a run spends its time on
// many inputs rather than on filling a few huge ones.
constexpr std::int64_t kMaxPicturePixels = 32LL * 1024;
#else
constexpr std::int64_t kMaxPicturePixels = 64LL * 1024 * 1024;
#endif
// Files beyond this size are not pictures the viewer can use.
constexpr std::uint64_t kMaxPictureFileBytes = 256ULL * 1024 * 1024;

// True when a picture of width x height pixels may be decoded. Otherwise `error` says why: a
// picture without pixels, or one beyond the ceiling (with the claimed and the allowed size).
[[nodiscard]] bool PictureSizeAllowed(std::int64_t width, std::int64_t height, std::string& error);

}  // namespace maglorin
