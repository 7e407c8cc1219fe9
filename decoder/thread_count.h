#pragma once
// The thread count handed to the 7-Zip folder decoder, taken from NUMBER_OF_PROCESSORS.

#include <cstdint>
#include <optional>
#include <string>

namespace maglorin::decoder {

inline constexpr std::size_t kEnvironmentValueChars = 260;
inline constexpr std::uint32_t kMaxDecoderThreads = 32;

// The value of the leading decimal digits; 1 when the variable is missing, the value is 0 or
// it is above kMaxDecoderThreads.
std::uint32_t ThreadCountFromText(const std::optional<std::string>& numberOfProcessors);

// ThreadCountFromText applied to the process environment.
std::uint32_t DecoderThreadCount();

}  // namespace maglorin::decoder
