#include "extraction_plan.h"

#include <algorithm>

#include "extraction_context.h"
#include "extraction_result.h"

namespace maglorin {

namespace {

std::size_t FindFirst(const std::vector<PayloadEntry>& entries, std::size_t none, auto matches) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (matches(entries[i])) {
            return i;
        }
    }
    return none;
}

}  // namespace

[[nodiscard]] bool IsArchiveType(PayloadFileType type) {
    switch (type) {
    case PayloadFileType::ProductArchive:
    case PayloadFileType::DatabaseArchive:
    case PayloadFileType::PrerequisiteArchive:
    case PayloadFileType::FurtherArchive: return true;
    default: return false;
    }
}

ExtractionPlan PlanGroups(const std::vector<PayloadEntry>& entries, const std::vector<std::int32_t>& groups) {
    ExtractionPlan plan;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PayloadEntry& entry = entries[i];
        const auto group = static_cast<std::int32_t>(entry.group);
        if (entry.extracted || std::find(groups.begin(), groups.end(), group) == groups.end()) {
            continue;
        }
        (IsArchiveType(entry.type) ? plan.archiveEntries : plan.plainEntries).push_back(i);
    }
    return plan;
}

std::vector<std::int32_t> GroupsForExtractCommand(const std::vector<PayloadEntry>& entries) {
    std::vector<std::int32_t> groups;
    for (const PayloadEntry& entry : entries) {
        const auto id = static_cast<std::uint32_t>(entry.group);
        const bool wanted = entry.group == PayloadGroup::PlainDatabase ||
                            entry.group == PayloadGroup::CompressedDatabase ||
                            id >= static_cast<std::uint32_t>(PayloadGroup::FirstSeparate);
        const auto asId = static_cast<std::int32_t>(id);
        if (wanted && std::find(groups.begin(), groups.end(), asId) == groups.end()) {
            groups.push_back(asId);
        }
    }
    return groups;
}

PayloadGroup MainPackageGroup(PackageFlags flags) {
    return HasFlag(flags, PackageFlags::DatabaseInArchive) ? PayloadGroup::CompressedDatabase
                                                           : PayloadGroup::PlainDatabase;
}

std::size_t MainPackageEntry(const std::vector<PayloadEntry>& entries, PackageFlags flags, std::size_t none) {
    const bool inArchive = HasFlag(flags, PackageFlags::DatabaseInArchive);
    const PayloadGroup group = MainPackageGroup(flags);
    const PayloadFileType type = inArchive ? PayloadFileType::DatabaseArchive : PayloadFileType::PlainDatabase;
    return FindFirst(entries, none, [&](const PayloadEntry& e) { return e.group == group && e.type == type; });
}

std::size_t PrerequisiteEntry(const std::vector<PayloadEntry>& entries, PackageNameView name, std::size_t none) {
    const std::size_t plain = FindFirst(entries, none, [&](const PayloadEntry& e) {
        return e.type == PayloadFileType::PlainPrerequisite && e.name == name;
    });
    if (plain != none) {
        return plain;
    }
    return FindFirst(entries, none, [&](const PayloadEntry& e) {
        return e.type == PayloadFileType::PrerequisiteArchive && e.name == name;
    });
}

[[nodiscard]] int ArchiveExtractionResult(int extractAllFilesResult) {
    switch (extractAllFilesResult) {
    case kExtractDone: return kResultSuccess;
    case kExtractStopped: return kResultCancelled;
    default: return kResultExtractionFailed;
    }
}

}  // namespace maglorin
