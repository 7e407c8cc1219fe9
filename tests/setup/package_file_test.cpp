// The file seam under the reader: positioned reads, sizes, and opening the package again while
// the reader holds it (extraction and the integrity check do).
#include <gtest/gtest.h>

#include "package_file.h"
#include "package_test_support.h"

namespace maglorin {
namespace {

TEST(PackageFileTest, ReadsAtPositionsAndStopsAtTheEnd) {
    test_support::TempFolder folder;
    const std::vector<std::uint8_t> bytes = test_support::PatternBytes(100000, 4);
    test_support::WriteFileBytes(folder / "p.bin", bytes);
    PackageFile file;
    EXPECT_FALSE(file.IsOpen());
    ASSERT_TRUE(file.Open(folder / "p.bin", FileSharing::Read));
    std::uint64_t size = 0;
    ASSERT_TRUE(file.Size(size));
    EXPECT_EQ(size, bytes.size());

    std::vector<std::uint8_t> buffer(70000);
    std::size_t got = 0;
    ASSERT_TRUE(file.ReadAt(12345, buffer.data(), buffer.size(), got));
    ASSERT_EQ(got, buffer.size());
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), bytes.begin() + 12345));

    ASSERT_TRUE(file.ReadAt(99990, buffer.data(), 100, got));  // runs over the end
    EXPECT_EQ(got, 10u);
    EXPECT_EQ(buffer[9], bytes[99999]);
    ASSERT_TRUE(file.ReadAt(100000, buffer.data(), 100, got));
    EXPECT_EQ(got, 0u);
    ASSERT_TRUE(file.ReadAt(5000000000ull, buffer.data(), 100, got));  // beyond 4 GiB
    EXPECT_EQ(got, 0u);

    // Opened again, for reading and for the integrity check, while the first handle is open.
    PackageFile again;
    EXPECT_TRUE(again.Open(folder / "p.bin", FileSharing::Read));
    PackageFile shared;
    EXPECT_TRUE(shared.Open(folder / "p.bin", FileSharing::ReadAndWrite));

    PackageFile moved = std::move(file);
    EXPECT_FALSE(file.IsOpen());
    ASSERT_TRUE(moved.ReadAt(0, buffer.data(), 1, got));
    EXPECT_EQ(buffer[0], bytes[0]);
    moved.Close();
    EXPECT_FALSE(moved.IsOpen());
    EXPECT_FALSE(moved.ReadAt(0, buffer.data(), 1, got));
    EXPECT_FALSE(moved.Open(folder / "missing.bin", FileSharing::Read));
}

}  // namespace
}  // namespace maglorin
