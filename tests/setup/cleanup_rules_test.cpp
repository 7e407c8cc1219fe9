// The clean-up at exit: which extracted entries go in each mode, for each group and keep flag,
// and when the main package folder is removed.
#include <gtest/gtest.h>

#include "cleanup_rules.h"

namespace maglorin {
namespace {

constexpr PayloadGroup G(std::uint32_t id) { return static_cast<PayloadGroup>(id); }

TEST(CleanupRulesTest, EntryDeletionPerModeGroupAndKeepFlag) {
    // Columns: modes 0 to 4. D = deleted, K = kept.
    struct Row {
        std::uint32_t group;
        bool keep;
        const char* modes;
    } rows[] = {
        {1, false, "DKKKD"}, {1, true, "KKKKD"},
        {3, false, "DKKKD"}, {3, true, "KKKKD"},
        {100, false, "DDKKD"}, {100, true, "DDKKD"}, {4000000000u, false, "DDKKD"},
        {0, false, "DDDKD"}, {2, true, "DDDKD"}, {99, false, "DDDKD"}, {4, true, "DDDKD"},
    };
    for (const Row& row : rows) {
        for (int mode = 0; mode <= 4; ++mode) {
            const bool expected = row.modes[mode] == 'D';
            EXPECT_EQ(DeletesEntryAtExit(static_cast<CleanupMode>(mode), G(row.group), row.keep), expected)
                << "group " << row.group << " keep " << row.keep << " mode " << mode;
        }
    }
}

TEST(CleanupRulesTest, EntriesAreCleanedUnlessMode3OrFilesLieBesideUncompressed) {
    const PackageFlags beside = PackageFlags::FilesBesideSetup;
    const PackageFlags besideCompressed = PackageFlags::FilesBesideSetup | PackageFlags::BesideFilesCompressed;
    for (int mode = 0; mode <= 4; ++mode) {
        const auto m = static_cast<CleanupMode>(mode);
        EXPECT_EQ(CleansExtractedEntries(m, PackageFlags::DatabaseInArchive), mode != 3) << mode;
        EXPECT_FALSE(CleansExtractedEntries(m, beside)) << mode;
        EXPECT_EQ(CleansExtractedEntries(m, besideCompressed), mode != 3) << mode;
    }
}

TEST(CleanupRulesTest, MainPackageFolderGoesInModes0And4ForArchives) {
    const PackageFlags archive = PackageFlags::DatabaseInArchive;
    const PackageFlags beside = PackageFlags::FilesBesideSetup | PackageFlags::BesideFilesCompressed;
    const char* expected = "YNNNY";
    for (int mode = 0; mode <= 4; ++mode) {
        const auto m = static_cast<CleanupMode>(mode);
        EXPECT_EQ(RemovesMainPackageFolder(m, archive), expected[mode] == 'Y') << mode;
        EXPECT_EQ(RemovesMainPackageFolder(m, beside), expected[mode] == 'Y') << mode;
        EXPECT_FALSE(RemovesMainPackageFolder(m, PackageFlags::None)) << mode;  // plain database
    }
}

TEST(CleanupRulesTest, KeepFilesGivesTheInitialMode) {
    EXPECT_EQ(CleanupModeFromKeepFiles(0), CleanupMode::Default);
    EXPECT_EQ(CleanupModeFromKeepFiles(1), CleanupMode::KeepMain);
    EXPECT_EQ(CleanupModeFromKeepFiles(2), CleanupMode::KeepAll);
    EXPECT_EQ(CleanupModeFromKeepFiles(3), CleanupMode::Default);
    EXPECT_EQ(CleanupModeFromKeepFiles(-1), CleanupMode::Default);
}

}  // namespace
}  // namespace maglorin
