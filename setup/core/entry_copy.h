#pragma once
// The byte-for-byte copy of a plain entry out of the package file. Portable: the target is an
// EntryOutput (a Win32 file in setup, a POSIX file in the benchmark, memory in tests).

#include <cstddef>
#include <cstdint>

#include "extraction_context.h"
#include "payload_reader.h"

namespace maglorin {

inline constexpr std::size_t kEntryCopyBlock = 65536;  // bytes per read and write

class EntryOutput {
public:
    virtual ~EntryOutput() = default;
    // Writes all count bytes; false when the system wrote fewer or failed.
    [[nodiscard]] virtual bool Write(const std::uint8_t* bytes, std::size_t count) = 0;
};

// Copies the window in blocks of at most 64 KiB. Before each block it asks the progress object
// (when there is one) whether it is cancelled: 14. A failed or empty read (the window runs past
// the end of the file) or a failed write: 2. After each block the running byte count goes to
// the progress object.
[[nodiscard]] int CopyEntryData(const EntryWindow& window, EntryOutput& output, ExtractProgressSink* progress);

}  // namespace maglorin
