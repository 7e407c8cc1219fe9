// The packer's manifest parser and its checks of what setup could read.
#include <gtest/gtest.h>

#include "name_text.h"
#include "package_manifest.h"
#include "package_test_support.h"
#include "payload_reader.h"

namespace maglorin {
namespace {

using test_support::Name;

TEST(PackageManifestTest, ReadsEveryStatement) {
    const char* text =
        "# the shipped package\r\n"
        "image bin/setup.exe\n"
        "\n"
        "flags DatabaseInArchive 0x10\n"
        "flags VerifyDigest\n"
        "   configuration conf/setup.ini\n"
        "entry 2 8 remove decoder.dll \"/abs/decoder.dll\"\n"
        "entry\t3 7 keep \"ABC 1\\setup.msi\" \"out/a \"\"b\"\".7z\"\n"
        "external 6 FILES.7z\n";
    PackageManifest manifest;
    std::string error;
    ASSERT_TRUE(ParsePackageManifest(text, "/base", manifest, error)) << error;
    EXPECT_TRUE(manifest.hasImage);
    EXPECT_EQ(std::get<std::filesystem::path>(manifest.contents.programImage), std::filesystem::path("/base/bin/setup.exe"));
    EXPECT_EQ(static_cast<std::uint32_t>(manifest.contents.flags), 0x21Eu);
    ASSERT_EQ(manifest.contents.entries.size(), 3u);
    const PackageEntryInput& configuration = manifest.contents.entries[0];
    EXPECT_EQ(configuration.group, PayloadGroup::SetupFiles);
    EXPECT_EQ(configuration.type, PayloadFileType::Configuration);
    EXPECT_EQ(configuration.name, Name("setup.ini"));
    EXPECT_EQ(std::get<std::filesystem::path>(configuration.data), std::filesystem::path("/base/conf/setup.ini"));
    EXPECT_EQ(std::get<std::filesystem::path>(manifest.contents.entries[1].data), std::filesystem::path("/abs/decoder.dll"));
    const PackageEntryInput& database = manifest.contents.entries[2];
    EXPECT_EQ(database.group, PayloadGroup::CompressedDatabase);
    EXPECT_EQ(database.type, PayloadFileType::DatabaseArchive);
    EXPECT_EQ(database.entryFlags, kEntryKeepFlag);
    EXPECT_EQ(database.name, Name("ABC 1\\setup.msi"));
    EXPECT_EQ(std::get<std::filesystem::path>(database.data), std::filesystem::path("/base/out/a \"b\".7z"));
    ASSERT_EQ(manifest.contents.externalFiles.size(), 1u);
    EXPECT_EQ(manifest.contents.externalFiles[0].type, PayloadFileType::ProductArchive);
}

TEST(PackageManifestTest, NamesAreUtf8) {
    PackageManifest manifest;
    std::string error;
    ASSERT_TRUE(ParsePackageManifest("entry 100 4 remove \"pr\xC3\xA9\\\xF0\x9F\x98\x80.exe\" x\n", "/", manifest, error));
    const PackageName& name = manifest.contents.entries[0].name;
    ASSERT_EQ(name.size(), 10u);
    EXPECT_EQ(static_cast<std::uint16_t>(name[2]), 0xE9);
    EXPECT_EQ(static_cast<std::uint16_t>(name[4]), 0xD83D);  // surrogate pair
    EXPECT_EQ(static_cast<std::uint16_t>(name[5]), 0xDE00);
    EXPECT_EQ(PackageNameToUtf8(name), "pr\xC3\xA9\\\xF0\x9F\x98\x80.exe");
    EXPECT_FALSE(ParsePackageManifest("entry 100 4 remove \"bad\xC3\" x\n", "/", manifest, error));
}

TEST(PackageManifestTest, RefusesStatementsItCannotTake) {
    const struct {
        const char* text;
        const char* line;
    } cases[] = {
        {"image\n", "line 1"},
        {"image a b\n", "line 1"},
        {"# ok\nflags Unknown\n", "line 2"},
        {"flags\n", "line 1"},
        {"entry 1 2 keep name\n", "line 1"},
        {"entry x 2 keep name src\n", "line 1"},
        {"entry 1 0x2 maybe name src\n", "line 1"},
        {"entry 1 99999999999 keep name src\n", "line 1"},
        {"external 6\n", "line 1"},
        {"external six FILES.7z\n", "line 1"},
        {"entry 1 2 keep \"open name src\n", "line 1"},
        {"configuration\n", "line 1"},
        {"\n\nfiles a b\n", "line 3"},
    };
    for (const auto& c : cases) {
        PackageManifest manifest;
        std::string error;
        EXPECT_FALSE(ParsePackageManifest(c.text, "/", manifest, error)) << c.text;
        EXPECT_EQ(error.rfind(c.line, 0), 0u) << c.text << " -> " << error;
    }
}

TEST(PackageManifestTest, FlagsTextNamesEveryFlag) {
    EXPECT_EQ(PackageFlagsText(static_cast<PackageFlags>(0x21A)),
              "HasConfiguration DatabaseInArchive ExtractOnRequest ConfigurationInPayload");
    EXPECT_EQ(PackageFlagsText(PackageFlags::None), "None");
}

// What setup could not read is refused before anything is written.
TEST(PackageContentsCheckTest, RefusesPackagesSetupCouldNotUse) {
    EXPECT_EQ(CheckPackageContents(test_support::ShippedLikeContents()), "");
    const struct {
        const char* what;
        void (*damage)(PackageContents&);
    } cases[] = {
        {"parent name", [](PackageContents& c) { c.entries[1].name = Name("..\\decoder.dll"); }},
        {"absolute name", [](PackageContents& c) { c.entries[1].name = Name("\\decoder.dll"); }},
        {"drive name", [](PackageContents& c) { c.entries[1].name = Name("D:\\decoder.dll"); }},
        {"device name", [](PackageContents& c) { c.entries[1].name = Name("AUX.dll"); }},
        {"empty name", [](PackageContents& c) { c.entries[1].name.clear(); }},
        {"unsafe external", [](PackageContents& c) { c.externalFiles.push_back({PayloadFileType::ProductArchive, Name("..\\x")}); }},
        {"same name twice", [](PackageContents& c) { c.entries[1].name = Name("SETUP.INI"); }},
        {"undefined flag bit", [](PackageContents& c) { c.flags = c.flags | static_cast<PackageFlags>(0x400); }},
        {"configuration entry missing", [](PackageContents& c) { c.entries.erase(c.entries.begin()); }},
        {"external configuration missing",
         [](PackageContents& c) { c.flags = PackageFlags::HasConfiguration; }},
        {"shorter than one scan chunk",
         [](PackageContents& c) {
             c.programImage = test_support::PatternBytes(100, 1);
             c.entries.resize(1);
         }},
        {"missing source", [](PackageContents& c) { c.entries[1].data = std::filesystem::path("/nonexistent/decoder.dll"); }},
    };
    for (const auto& c : cases) {
        PackageContents contents = test_support::ShippedLikeContents();
        c.damage(contents);
        EXPECT_NE(CheckPackageContents(contents), "") << c.what;
    }
    PackageContents beside = test_support::ShippedLikeContents();
    beside.flags = PackageFlags::HasConfiguration | PackageFlags::FilesBesideSetup;
    beside.externalFiles.push_back({PayloadFileType::Configuration, Name("setup.ini")});
    EXPECT_EQ(CheckPackageContents(beside), "");
}

TEST(PackageWriterTest, FailedWriteLeavesNoOutput) {
    test_support::TempFolder folder;
    PackageContents contents = test_support::ShippedLikeContents();
    contents.entries[2].data = folder / "missing.7z";
    PackageLayoutInfo layout;
    std::string error;
    EXPECT_FALSE(WritePackage(contents, folder / "out.exe", layout, error));
    EXPECT_NE(error.find("missing.7z"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(folder / "out.exe"));
    EXPECT_FALSE(std::filesystem::exists(folder / "out.exe.partial"));
}

TEST(PackageWriterTest, WritesTheLayoutInOrderAndFromFiles) {
    test_support::TempFolder folder;
    test_support::WriteFileBytes(folder / "image.exe", test_support::PatternBytes(1200, 11));
    test_support::WriteFileBytes(folder / "files.7z", test_support::PatternBytes(70000, 12));
    PackageContents contents;
    contents.programImage = folder / "image.exe";
    contents.entries.push_back({PayloadGroup{100}, PayloadFileType::FurtherArchive, 0, Name("p\\files.7z"), folder / "files.7z"});
    contents.externalFiles.push_back({PayloadFileType::ProductArchive, Name("FILES.7z")});
    PackageLayoutInfo layout = test_support::WriteTestPackage(contents, folder / "out.exe");
    EXPECT_EQ(layout.payloadStart, 1200u);
    EXPECT_EQ(layout.entryDataPositions, std::vector<std::uint64_t>{1200});
    EXPECT_EQ(layout.entryTablePosition, 71200u);
    EXPECT_EQ(layout.externalTablePosition, 71200u + 24 + 2 * 10);
    EXPECT_EQ(layout.footerPosition, layout.externalTablePosition + 8 + 2 * 8);
    EXPECT_EQ(std::filesystem::file_size(folder / "out.exe"), layout.footerPosition + 76);

    PayloadReader reader;
    ASSERT_EQ(reader.Open(folder / "out.exe"), kResultSuccess);
    EXPECT_EQ(reader.Footer().payloadStart, 1200u);
    EXPECT_EQ(reader.Footer().footerOffset, layout.footerPosition);
    std::vector<std::uint8_t> data;
    ASSERT_EQ(reader.ReadEntryData(0, data), kResultSuccess);
    EXPECT_EQ(data, test_support::PatternBytes(70000, 12));
    EXPECT_EQ(reader.CheckIntegrity(), kResultSuccess);
}

}  // namespace
}  // namespace maglorin
