#include "cleanup_rules.h"

namespace maglorin {

CleanupMode CleanupModeFromKeepFiles(std::int32_t keepFiles) {
    switch (keepFiles) {
    case 1: return CleanupMode::KeepMain;
    case 2: return CleanupMode::KeepAll;
    default: return CleanupMode::Default;
    }
}

[[nodiscard]] bool CleansExtractedEntries(CleanupMode mode, PackageFlags flags) {
    const bool besideUncompressed = HasFlag(flags, PackageFlags::FilesBesideSetup) &&
                                    !HasFlag(flags, PackageFlags::BesideFilesCompressed);
    return mode != CleanupMode::KeepEntries && !besideUncompressed;
}

[[nodiscard]] bool DeletesEntryAtExit(CleanupMode mode, PayloadGroup group, bool keepFlag) {
    const auto id = static_cast<std::uint32_t>(group);
    if (group == PayloadGroup::PlainDatabase || group == PayloadGroup::CompressedDatabase) {
        switch (mode) {
        case CleanupMode::KeepMain:
        case CleanupMode::KeepAll:
        case CleanupMode::KeepEntries: return false;
        case CleanupMode::DeleteMain: return true;
        case CleanupMode::Default: return !keepFlag;
        }
        return false;
    }
    if (id >= static_cast<std::uint32_t>(PayloadGroup::FirstSeparate)) {
        return mode != CleanupMode::KeepAll && mode != CleanupMode::KeepEntries;
    }
    return mode != CleanupMode::KeepEntries;
}

[[nodiscard]] bool RemovesMainPackageFolder(CleanupMode mode, PackageFlags flags) {
    const bool modeRemoves = mode == CleanupMode::Default || mode == CleanupMode::DeleteMain;
    return modeRemoves && (HasFlag(flags, PackageFlags::DatabaseInArchive) ||
                           HasFlag(flags, PackageFlags::BesideFilesCompressed));
}

}  // namespace maglorin
