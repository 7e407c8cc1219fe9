// Whole files replace their target only when complete: a failed write keeps the earlier file of
// that name and leaves no temporary file behind.
#include "image/whole_file_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mount.h>
#endif

namespace maglorin {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

std::vector<std::uint8_t> Bytes(std::size_t count, std::uint8_t value) {
    return std::vector<std::uint8_t>(count, value);
}

fs::path FreshFolder(const std::string& name) {
    const fs::path folder = fs::temp_directory_path() / "maglorin_whole_file" / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

TEST(WholeFileWriter, WritesANewFileAndReplacesAnEarlierOneCompletely) {
    const fs::path path = FreshFolder("replace") / "frame.bmp";
    ASSERT_EQ(WriteWholeFile(path, Bytes(5000, 0x11)), WholeFileResult::Written);
    EXPECT_EQ(ReadAll(path), Bytes(5000, 0x11));
    // A shorter file replaces a longer one: nothing of the old one is left at its end.
    ASSERT_EQ(WriteWholeFile(path, Bytes(10, 0x22)), WholeFileResult::Written);
    EXPECT_EQ(ReadAll(path), Bytes(10, 0x22));
    EXPECT_FALSE(fs::exists(PartialFilePath(path)));
    EXPECT_EQ(PartialFilePath(path).filename(), fs::path("frame.bmp.partial"));
}

TEST(WholeFileWriter, AFailedCreateKeepsTheEarlierFile) {
    const fs::path folder = FreshFolder("blocked");
    const fs::path path = folder / "frame.bmp";
    ASSERT_EQ(WriteWholeFile(path, Bytes(100, 0x33)), WholeFileResult::Written);
    // A folder where the temporary file would go: it cannot be created.
    fs::create_directory(PartialFilePath(path));
    EXPECT_EQ(WriteWholeFile(path, Bytes(50, 0x44)), WholeFileResult::CannotCreate);
    EXPECT_EQ(ReadAll(path), Bytes(100, 0x33));
    EXPECT_TRUE(fs::is_directory(PartialFilePath(path)));  // not ours: left alone

    const fs::path missing = folder / "no such folder" / "frame.bmp";
    EXPECT_EQ(WriteWholeFile(missing, Bytes(50, 0x44)), WholeFileResult::CannotCreate);
    EXPECT_FALSE(fs::exists(missing));
}

TEST(WholeFileWriter, AFolderInTheTargetsPlaceIsNotReplaced) {
    const fs::path folder = FreshFolder("folder-target");
    const fs::path path = folder / "frame.bmp";
    fs::create_directories(path / "inside");
    EXPECT_EQ(WriteWholeFile(path, Bytes(50, 0x55)), WholeFileResult::CannotReplace);
    EXPECT_TRUE(fs::is_directory(path / "inside"));
    EXPECT_FALSE(fs::exists(PartialFilePath(path)));
}

// A small volume that fills up: natively a tmpfs this test mounts, under Wine the small drive
// S: the small_drive fixture maps.
class FullVolume : public ::testing::Test {
protected:
    void SetUp() override {
#if defined(_WIN32)
        folder_ = "S:\\whole_file";
        if (GetFileAttributesW(L"S:\\") == INVALID_FILE_ATTRIBUTES) {
            GTEST_SKIP() << "no drive S: (small_drive.sh could not mount a tmpfs)";
        }
        fs::remove_all(folder_);
        fs::create_directories(folder_);
#else
        folder_ = FreshFolder("full-volume");
        if (mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=256k") != 0) {
            GTEST_SKIP() << "cannot mount a small tmpfs here";
        }
        mounted_ = true;
#endif
    }
    void TearDown() override {
#if defined(_WIN32)
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
#else
        if (mounted_) {
            umount2(folder_.c_str(), MNT_DETACH);
        }
#endif
    }
    fs::path folder_;
    bool mounted_ = false;
};

TEST_F(FullVolume, AWriteThatDoesNotFitKeepsTheEarlierFileAndLeavesNoPartOfTheNewOne) {
    const fs::path path = folder_ / "frame.bmp";
    ASSERT_EQ(WriteWholeFile(path, Bytes(20000, 0x66)), WholeFileResult::Written);
    const std::size_t tooLarge = 4 * 1024 * 1024;  // more than the volume holds
    EXPECT_EQ(WriteWholeFile(path, Bytes(tooLarge, 0x77)), WholeFileResult::CannotWrite);
    EXPECT_EQ(ReadAll(path), Bytes(20000, 0x66));
    EXPECT_FALSE(fs::exists(PartialFilePath(path)));
}

}  // namespace
}  // namespace maglorin
