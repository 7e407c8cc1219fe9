#include "download_read_size.h"

#include <algorithm>

namespace maglorin {

void ReadSize::Answered(std::uint32_t asked, std::uint32_t got, bool waited) {
    if (waited) {
        next_ = kMinReadSize;
    } else if (got >= asked && asked == next_) {
        next_ = asked >= kMaxReadSize / 2 ? kMaxReadSize : asked * 2;
    }
    // A short read without a wait is the end of the data or of what the library holds: no news.
}

}  // namespace maglorin
