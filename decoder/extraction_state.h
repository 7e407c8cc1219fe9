#pragma once
// The library's state for one ExtractionContext, from InitExtraction to EndExtraction: the
// archive window, the 7-Zip reader with its database, the derived item catalog and the
// password provider.

#include <cstdint>
#include <memory>

#include "archive_items.h"
#include "extraction_context.h"

namespace maglorin::decoder {

struct SevenZipArchive;  // the 7-Zip objects, kept out of the portable headers

struct ExtractionState {
    ExtractionState();
    ~ExtractionState();

    std::unique_ptr<SevenZipArchive> archive;
    ArchiveCatalog catalog;
    bool opened = false;  // the database was read: extraction may go on
};

// Where the 7z signature is searched for, from the window start.
inline constexpr std::uint64_t kSignatureSearchLimit = 0x100000;

// Opens the archive in the context's window and reads its database: kInitOpened,
// kInitNoArchive or kInitBadDatabase.
[[nodiscard]] std::int32_t OpenArchive(const ExtractionContext& context, ExtractionState& state);

// Everything ExtractAllFiles does: kExtractDone, kExtractFailed or kExtractStopped.
[[nodiscard]] std::int32_t ExtractAll(const ExtractionContext& context, ExtractionState& state);

}  // namespace maglorin::decoder
