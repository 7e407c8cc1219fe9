#include "entry_copy.h"

#include <algorithm>
#include <vector>

#include "extraction_result.h"

namespace maglorin {

[[nodiscard]] int CopyEntryData(const EntryWindow& window, EntryOutput& output, ExtractProgressSink* progress) {
    if (window.file == nullptr) {
        return kResultReadError;
    }
    std::vector<std::uint8_t> block(kEntryCopyBlock);
    std::uint64_t done = 0;
    while (done < window.size) {
        if (progress != nullptr && progress->IsCancelled()) {
            return kResultCancelled;
        }
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), window.size - done));
        std::size_t got = 0;
        if (!window.file->ReadAt(window.offset + done, block.data(), want, got) || got == 0) {
            return kResultReadError;
        }
        if (!output.Write(block.data(), got)) {
            return kResultReadError;
        }
        done += got;
        if (progress != nullptr && progress->SetCompleted(done)) {
            return kResultCancelled;
        }
    }
    return kResultSuccess;
}

}  // namespace maglorin
