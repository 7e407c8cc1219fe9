// The clean-up at exit under Wine: for every CleanupMode, exactly the files it should leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "extraction_test_support_win32.h"
#include "payload_extractor.h"

namespace maglorin {
namespace {

using namespace test_support;

using Files = std::vector<std::string>;

Files AfterCleanUp(const std::string& package, const std::vector<std::int32_t>& groups, int mode) {
    PayloadReader reader;
    EXPECT_EQ(reader.Open(Data(package)), kResultSuccess);
    const PathText folder = FreshFolder("cleanup-" + std::to_string(mode));
    {
        ExtractionSettings settings;
        settings.userInterfaceEnabled = false;
        settings.packageSubFolder = PathFromAscii("PKGSUB1");
        PayloadExtractor extractor(reader, settings);
        extractor.SetExtractionFolder(folder);
        EXPECT_EQ(extractor.ExtractGroups(groups, nullptr), kResultSuccess);
        extractor.SetCleanupMode(static_cast<CleanupMode>(mode));
    }
    return FilesBelow(folder);
}

TEST(ExtractionCleanupTest, PlainPackageKeepsPerModeGroupAndKeepFlag) {
    // MAIN\main.msi: group 1, keep; MAIN\notes.txt: group 1; pre\pre.exe: group 100, keep;
    // x\one.txt: group 101; own.txt: group 0.
    const Files all = {"MAIN\\main.msi", "MAIN\\notes.txt", "own.txt", "pre\\pre.exe", "x\\one.txt"};
    const Files expected[] = {
        {"MAIN\\main.msi"},                                          // 0: keep flag only
        {"MAIN\\main.msi", "MAIN\\notes.txt"},                       // 1: main package files
        {"MAIN\\main.msi", "MAIN\\notes.txt", "pre\\pre.exe", "x\\one.txt"},  // 2: all but group 0
        all,                                                         // 3: every entry
        {},                                                          // 4: main files too
    };
    for (int mode = 0; mode <= 4; ++mode) {
        EXPECT_EQ(AfterCleanUp("plain.pkg", {0, 1, 100, 101}, mode), expected[mode]) << "mode " << mode;
    }
}

TEST(ExtractionCleanupTest, ArchivePackageRemovesTheMainFolderInModes0And4) {
    const Files package = {"PKGSUB1\\1033.mst", "PKGSUB1\\bin\\kit.bin", "PKGSUB1\\docs\\deep\\numbers.txt",
                           "PKGSUB1\\lib\\a.jar.pack", "PKGSUB1\\lib\\b.jar.PACK", "PKGSUB1\\lib\\c.pack",
                           "PKGSUB1\\readme.txt", "PKGSUB1\\setup.msi"};
    auto with = [](Files files, std::initializer_list<const char*> more) {
        files.insert(files.end(), more.begin(), more.end());
        std::sort(files.begin(), files.end());
        return files;
    };
    // decoder.dll and the language library (delete-at-exit list) go in every mode; the files
    // unpacked from the prerequisite archive are not entries and stay.
    const Files expected[] = {
        {"prereq\\t\\tool.txt"},
        with(package, {"prereq\\t\\tool.txt"}),
        with(package, {"extras\\one.txt", "prereq\\pre.exe", "prereq\\t\\tool.txt"}),
        with(package, {"extras\\one.txt", "prereq\\pre.exe", "prereq\\t\\tool.txt"}),
        {"prereq\\t\\tool.txt"},
    };
    for (int mode = 0; mode <= 4; ++mode) {
        EXPECT_EQ(AfterCleanUp("archive.pkg", {0, 3, 100, 101}, mode), expected[mode]) << "mode " << mode;
    }
}

TEST(ExtractionCleanupTest, CreatedFoldersGoWhenEmptyAndTheFolderItselfStays) {
    PayloadReader reader;
    ASSERT_EQ(reader.Open(Data("plain.pkg")), kResultSuccess);
    const PathText folder = FreshFolder("cleanup-folders") + L"new\\deeper\\";
    {
        ExtractionSettings settings;
        settings.userInterfaceEnabled = false;
        PayloadExtractor extractor(reader, settings);
        extractor.SetExtractionFolder(folder);
        ASSERT_EQ(extractor.ExtractGroups({101}, nullptr), kResultSuccess);
        EXPECT_EQ(extractor.CreatedFolders().size(), 3u);  // new, deeper, x
    }
    EXPECT_FALSE(Exists(folder));
    EXPECT_TRUE(Exists(folder.substr(0, folder.size() - 11)));  // the fresh folder was not ours
}

TEST(ExtractionCleanupTest, RemovingTheMainFolderNeverFollowsALinkOut) {
    // make_extraction_packages.sh made linked\PKGSUB1\outside-link, a link to link-target.
    PayloadReader reader;
    ASSERT_EQ(reader.Open(Data("archive.pkg")), kResultSuccess);
    const PathText folder = Data("linked").wstring() + L"\\";
    const PathText outsideFile = Data("link-target").wstring() + L"\\keep.txt";
    ASSERT_TRUE(Exists(folder + L"PKGSUB1\\outside-link\\keep.txt"));
    ExtractionSettings settings;
    settings.userInterfaceEnabled = false;
    settings.cleanupMode = CleanupMode::KeepEntries;
    PayloadExtractor extractor(reader, settings);
    extractor.SetExtractionFolder(folder);
    ASSERT_EQ(extractor.ExtractGroups({3}, nullptr), kResultSuccess);
    EXPECT_EQ(extractor.DeleteMainPackageFolder(), kResultSuccess);
    EXPECT_FALSE(Exists(folder + L"PKGSUB1\\setup.msi"));
    EXPECT_EQ(ReadAll(outsideFile), "outside\n");
}

}  // namespace
}  // namespace maglorin
