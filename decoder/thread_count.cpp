#include "thread_count.h"

#include "platform.h"

namespace maglorin::decoder {

std::uint32_t ThreadCountFromText(const std::optional<std::string>& numberOfProcessors) {
    if (!numberOfProcessors) {
        return 1;
    }
    std::uint64_t value = 0;
    for (char c : *numberOfProcessors) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > kMaxDecoderThreads) {
            return 1;  // also stops a long digit run from overflowing
        }
    }
    return value == 0 ? 1 : static_cast<std::uint32_t>(value);
}

std::uint32_t DecoderThreadCount() {
    return ThreadCountFromText(EnvironmentValue("NUMBER_OF_PROCESSORS", kEnvironmentValueChars));
}

}  // namespace maglorin::decoder
