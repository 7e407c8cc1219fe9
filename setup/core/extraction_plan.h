#pragma once
// Which payload entries a request extracts, and how: plain entries are copied byte for byte,
// archive entries are unpacked by the extraction library. Portable decisions over the entry
// table; the extractor carries them out.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "package_records.h"

namespace maglorin {

// Types 6, 7, 9 and 10: 7z archives unpacked by the extraction library.
[[nodiscard]] bool IsArchiveType(PayloadFileType type);

struct ExtractionPlan {
    std::vector<std::size_t> plainEntries;    // table order
    std::vector<std::size_t> archiveEntries;  // table order
};

// Every entry of the listed groups, in table order, that is not yet extracted.
ExtractionPlan PlanGroups(const std::vector<PayloadEntry>& entries, const std::vector<std::int32_t>& groups);

// The groups "/extract" unpacks: the distinct groups 1, 3 and 100 and above, in table order.
std::vector<std::int32_t> GroupsForExtractCommand(const std::vector<PayloadEntry>& entries);

// The group holding the main package: 3 with DatabaseInArchive, else 1.
PayloadGroup MainPackageGroup(PackageFlags flags);

// The main entry: type 7 of group 3 with DatabaseInArchive, else type 0 of group 1; `none` when
// the package has none.
std::size_t MainPackageEntry(const std::vector<PayloadEntry>& entries, PackageFlags flags, std::size_t none);

// A prerequisite file by name: the first type-4 entry with that name, else the first type-9 one.
std::size_t PrerequisiteEntry(const std::vector<PayloadEntry>& entries, PackageNameView name, std::size_t none);

}  // namespace maglorin
