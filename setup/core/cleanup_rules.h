#pragma once
// What the clean-up at exit removes. The decisions are here; the file system work is done by
// the extractor (win32/payload_extractor.h), which asks these rules for every extracted entry.

#include <cstdint>

#include "package_records.h"

namespace maglorin {

enum class CleanupMode : std::int32_t {
    Default = 0,        // main package files go unless marked to keep
    KeepMain = 1,       // "minimum": keep the main package files
    KeepAll = 2,        // "complete": keep every extracted file
    KeepEntries = 3,    // keep every extracted entry; only the delete-at-exit list and created folders go
    DeleteMain = 4,     // delete the main package files even when marked to keep
};

// The initial mode from setup.ini's KeepFiles value (0 default, 1 "minimum", 2 "complete");
// any other number gives the default.
CleanupMode CleanupModeFromKeepFiles(std::int32_t keepFiles);

// Step 1 runs: not in mode 3, and not when the package files lie beside setup uncompressed.
[[nodiscard]] bool CleansExtractedEntries(CleanupMode mode, PackageFlags flags);

// For one extracted entry, when step 1 runs: groups 1 and 3 stay in modes 1 and 2, go in mode 4,
// and in mode 0 go unless their keep flag is set; groups 100 and above stay in mode 2 only;
// every other group goes.
[[nodiscard]] bool DeletesEntryAtExit(CleanupMode mode, PayloadGroup group, bool keepFlag);

// Step 2 (the main package folder with everything below it) runs: in modes 0 and 4, when the
// main package is an archive (DatabaseInArchive) or lies beside setup as archives.
[[nodiscard]] bool RemovesMainPackageFolder(CleanupMode mode, PackageFlags flags);

}  // namespace maglorin
