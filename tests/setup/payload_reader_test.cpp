// The package reader against packages written by the packer's writer and then damaged.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "package_layout.h"
#include "package_test_support.h"
#include "payload_reader.h"

namespace maglorin {
namespace {

using test_support::Name;
using test_support::PatchLittleEndian32;
using test_support::PatternBytes;
using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

class PayloadReaderTest : public ::testing::Test {
protected:
    // Every package gets a file of its own: on Windows an open reader keeps others from
    // replacing its file.
    std::filesystem::path Write(const PackageContents& contents) {
        const std::filesystem::path path = folder_ / ("package-" + std::to_string(++files_) + ".exe");
        layout_ = test_support::WriteTestPackage(contents, path);
        return path;
    }

    // The previous damaged copy goes first (when no reader holds it any more).
    int OpenBytes(const std::vector<std::uint8_t>& bytes, PayloadReader& reader) {
        std::error_code ignored;
        std::filesystem::remove(folder_ / ("damaged-" + std::to_string(files_) + ".exe"), ignored);
        const std::filesystem::path path = folder_ / ("damaged-" + std::to_string(++files_) + ".exe");
        WriteFileBytes(path, bytes);
        return reader.Open(path);
    }

    // Every entry's bytes, read through the reader's window, equal what was packed.
    void ExpectEntryData(const PayloadReader& reader, const PackageContents& contents) {
        ASSERT_EQ(reader.Entries().size(), contents.entries.size());
        for (std::size_t i = 0; i < contents.entries.size(); ++i) {
            std::vector<std::uint8_t> data;
            ASSERT_EQ(reader.ReadEntryData(i, data), kResultSuccess);
            EXPECT_EQ(data, std::get<std::vector<std::uint8_t>>(contents.entries[i].data)) << "entry " << i;
        }
    }

    test_support::TempFolder folder_;
    PackageLayoutInfo layout_;
    int files_ = 0;
};

TEST_F(PayloadReaderTest, OpensShippedLikePackageWithAllFields) {
    const PackageContents contents = test_support::ShippedLikeContents();
    PayloadReader reader;
    ASSERT_EQ(reader.Open(Write(contents)), kResultSuccess);
    EXPECT_TRUE(reader.IsOpened());
    EXPECT_EQ(static_cast<std::uint32_t>(reader.Flags()), 0x21Au);
    EXPECT_EQ(reader.DigestText(), layout_.digest);
    EXPECT_EQ(reader.Displacement(), 0);
    EXPECT_EQ(reader.FooterPosition(), layout_.footerPosition);
    EXPECT_EQ(reader.Footer().payloadStart, 5000u);
    ExpectEntryData(reader, contents);
    const PayloadEntry& database = reader.Entry(2);
    EXPECT_EQ(database.group, PayloadGroup::CompressedDatabase);
    EXPECT_EQ(database.type, PayloadFileType::DatabaseArchive);
    EXPECT_TRUE(database.KeepAfterInstall());
    EXPECT_FALSE(reader.Entry(3).KeepAfterInstall());
    EXPECT_EQ(database.size, 1500u);
    EXPECT_EQ(database.dataOffset, layout_.entryDataPositions[2]);
    for (const PayloadEntry& entry : reader.Entries()) {
        EXPECT_FALSE(entry.extracted);
    }
    EXPECT_EQ(reader.CheckIntegrity(), kResultSuccess);
}

TEST_F(PayloadReaderTest, FindsEntriesByGroupTypeAndName) {
    PackageContents contents = test_support::ShippedLikeContents();
    contents.entries.push_back({PayloadGroup{100}, PayloadFileType::PlainPrerequisite, 0, Name("pre\\a.exe"),
                                PatternBytes(10, 5)});
    contents.entries.push_back({PayloadGroup{101}, PayloadFileType::PlainPrerequisite, 0, Name("pre\\b.exe"),
                                PatternBytes(10, 6)});
    contents.externalFiles.push_back({PayloadFileType::ProductArchive, Name("FILES.7z")});
    contents.externalFiles.push_back({PayloadFileType::Configuration, Name("setup.ini")});
    PayloadReader reader;
    ASSERT_EQ(reader.Open(Write(contents)), kResultSuccess);

    EXPECT_EQ(reader.Entry(reader.FindEntry(PayloadGroup::CompressedDatabase, PayloadFileType::DatabaseArchive)).name,
              Name("ABCDEF1\\setup.msi"));
    EXPECT_EQ(reader.Entry(reader.FindEntry(PayloadGroup::ExtractionLibrary, PayloadFileType::ExtractionLibrary)).name,
              Name("decoder.dll"));
    EXPECT_EQ(reader.FindEntry(PayloadGroup::PlainDatabase, PayloadFileType::PlainDatabase), PayloadReader::kNone);
    EXPECT_EQ(reader.FindEntry(PayloadGroup::CompressedDatabase, PayloadFileType::ExtractionLibrary), PayloadReader::kNone);

    EXPECT_EQ(reader.FindEntryByName(PayloadFileType::PlainPrerequisite, Name("pre\\b.exe")), 5u);
    EXPECT_EQ(reader.FindEntryByName(PayloadFileType::PlainPrerequisite, Name("PRE\\B.EXE")), PayloadReader::kNone);
    EXPECT_EQ(reader.FindEntryByName(PayloadFileType::PrerequisiteArchive, Name("pre\\b.exe")), PayloadReader::kNone);

    EXPECT_EQ(reader.FindExternalFile(PayloadFileType::Configuration), 1u);
    EXPECT_EQ(reader.ExternalFiles()[0].name, Name("FILES.7z"));
    EXPECT_EQ(reader.FindExternalFile(PayloadFileType::DatabaseArchive), PayloadReader::kNone);
}

TEST_F(PayloadReaderTest, ExtractedMarksStartClearAndChangeOnlyWhenSet) {
    PayloadReader reader;
    const std::filesystem::path path = Write(test_support::ShippedLikeContents());
    ASSERT_EQ(reader.Open(path), kResultSuccess);
    reader.MarkExtracted(1, true);
    EXPECT_TRUE(reader.Entry(1).extracted);
    EXPECT_FALSE(reader.Entry(0).extracted);
    ASSERT_EQ(reader.Open(path), kResultSuccess);
    EXPECT_FALSE(reader.Entry(1).extracted);
}

TEST_F(PayloadReaderTest, ReadWindowPointsAtTheEntryDataInTheOpenFile) {
    const PackageContents contents = test_support::ShippedLikeContents();
    PayloadReader reader;
    ASSERT_EQ(reader.Open(Write(contents)), kResultSuccess);
    const EntryWindow window = reader.ReadWindow(3);
    ASSERT_NE(window.file, nullptr);
    EXPECT_EQ(window.offset, layout_.entryDataPositions[3]);
    ASSERT_EQ(window.size, 7000u);
    std::vector<std::uint8_t> data(window.size);
    std::size_t got = 0;
    ASSERT_TRUE(window.file->ReadAt(window.offset, data.data(), data.size(), got));
    EXPECT_EQ(got, data.size());
    EXPECT_EQ(data, std::get<std::vector<std::uint8_t>>(contents.entries[3].data));
}

TEST_F(PayloadReaderTest, ZeroEntriesOpensWithEmptyTables) {
    PackageContents contents;
    contents.programImage = PatternBytes(2000, 9);
    PayloadReader reader;
    ASSERT_EQ(reader.Open(Write(contents)), kResultSuccess);
    EXPECT_TRUE(reader.Entries().empty());
    EXPECT_TRUE(reader.ExternalFiles().empty());
    EXPECT_EQ(reader.FindEntry(PayloadGroup::SetupFiles, PayloadFileType::Configuration), PayloadReader::kNone);
    EXPECT_EQ(reader.CheckIntegrity(), kResultSuccess);
}

// Bytes appended after the footer move its magic across every position of the first three scan
// chunks and their overlaps; the footer is found wherever it lands.
TEST_F(PayloadReaderTest, ExtraBytesAfterTheFooterAtEveryChunkPosition) {
    const PackageContents contents = test_support::ShippedLikeContents();
    const std::vector<std::uint8_t> package = ReadFileBytes(Write(contents));
    for (std::size_t extra = 0; extra <= 3200; ++extra) {
        std::vector<std::uint8_t> bytes = package;
        bytes.resize(package.size() + extra, 0);
        PayloadReader reader;
        ASSERT_EQ(OpenBytes(bytes, reader), kResultSuccess) << extra << " extra bytes";
        ASSERT_EQ(reader.FooterPosition(), layout_.footerPosition);
        ASSERT_EQ(reader.Entries().size(), 4u);
    }
    PayloadReader reader;
    std::vector<std::uint8_t> bytes = package;
    bytes.resize(package.size() + 777, 0);
    ASSERT_EQ(OpenBytes(bytes, reader), kResultSuccess);
    ExpectEntryData(reader, contents);
}

// A bare footer placed so that its magic starts at every position from 3100 bytes before the end
// up to the end of a file that holds nothing else.
TEST_F(PayloadReaderTest, MagicAtEveryPositionNearTheEnd) {
    const std::size_t fileSize = 5000;
    for (std::size_t fromEnd = 1; fromEnd <= 3100; ++fromEnd) {
        const std::size_t magicAt = fileSize - fromEnd;
        const std::size_t footerAt = magicAt - kMagicOffsetInFooter;
        std::vector<std::uint8_t> bytes = PatternBytes(fileSize, 7);
        PayloadFooter footer;
        footer.footerOffset = static_cast<std::uint32_t>(footerAt);
        std::array<std::uint8_t, kFooterSize> raw{};
        EncodeFooter(footer, raw.data());
        const std::size_t fits = std::min(raw.size(), fileSize - footerAt);
        std::copy(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(fits), bytes.begin() + static_cast<std::ptrdiff_t>(footerAt));

        PayloadReader reader;
        const int result = OpenBytes(bytes, reader);
        if (fromEnd >= 12) {
            ASSERT_EQ(result, kResultSuccess) << "magic " << fromEnd << " bytes before the end";
            ASSERT_EQ(reader.FooterPosition(), footerAt);
        } else if (fromEnd == 11) {
            // Seen by the scan, but the footer runs past the end of the file.
            ASSERT_EQ(result, kResultDamagedPackage);
        } else {
            // Cut by the end of the file: the scan finds no magic and runs into the start.
            ASSERT_EQ(result, kResultReadError) << "magic " << fromEnd << " bytes before the end";
        }
    }
}

TEST_F(PayloadReaderTest, NearestMagicToTheEndWins) {
    // Two footers in one chunk: the later one decides (flags tell them apart).
    std::vector<std::uint8_t> bytes = PatternBytes(4000, 8);
    for (std::size_t footerAt : {3700u, 3900u}) {
        PayloadFooter footer;
        footer.footerOffset = static_cast<std::uint32_t>(footerAt);
        footer.flags = footerAt == 3900 ? PackageFlags::AskLanguage : PackageFlags::MainIsPatch;
        EncodeFooter(footer, bytes.data() + footerAt);
    }
    PayloadReader reader;
    ASSERT_EQ(OpenBytes(bytes, reader), kResultSuccess);
    EXPECT_EQ(reader.Flags(), PackageFlags::AskLanguage);

    // A damaged footer in the last chunk is not passed over for a good one further back.
    PayloadFooter older;
    older.footerOffset = 1000;
    EncodeFooter(older, bytes.data() + 1000);
    PatchLittleEndian32(bytes, 3700 + 12, 101);
    PatchLittleEndian32(bytes, 3900 + 12, 101);
    EXPECT_EQ(OpenBytes(bytes, reader), kResultDamagedPackage);
}

TEST_F(PayloadReaderTest, ShiftedTailReadsEntriesAtTheirActualPositions) {
    const PackageContents contents = test_support::ShippedLikeContents();
    const std::vector<std::uint8_t> package = ReadFileBytes(Write(contents));
    // Grown: bytes inserted into the program image. Shrunk: bytes removed from it.
    for (std::int64_t shift : {1, 2, 1000, 65536 + 3, -1, -7, -4999}) {
        std::vector<std::uint8_t> bytes = package;
        if (shift > 0) {
            bytes.insert(bytes.begin() + 10, static_cast<std::size_t>(shift), std::uint8_t{0});
        } else {
            bytes.erase(bytes.begin(), bytes.begin() + (-shift));
        }
        PayloadReader reader;
        ASSERT_EQ(OpenBytes(bytes, reader), kResultSuccess) << "shift " << shift;
        EXPECT_EQ(reader.Displacement(), shift);
        EXPECT_EQ(reader.Entry(1).dataOffset, static_cast<std::uint64_t>(static_cast<std::int64_t>(layout_.entryDataPositions[1]) + shift));
        ExpectEntryData(reader, contents);
    }
}

TEST_F(PayloadReaderTest, OnlyFormatVersion100IsAccepted) {
    const std::vector<std::uint8_t> package = ReadFileBytes(Write(test_support::ShippedLikeContents()));
    const struct {
        std::uint32_t version;
        int result;
    } cases[] = {{100, kResultSuccess}, {99, kResultDamagedPackage}, {101, kResultDamagedPackage},
                 {0, kResultDamagedPackage}, {0xFFFFFFFF, kResultDamagedPackage}};
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes = package;
        PatchLittleEndian32(bytes, layout_.footerPosition + 12, c.version);
        PayloadReader reader;
        EXPECT_EQ(OpenBytes(bytes, reader), c.result) << "version " << c.version;
    }
}

TEST_F(PayloadReaderTest, FilesWithoutAUsableFooterAreReadErrors) {
    PayloadReader reader;
    EXPECT_EQ(reader.Open(folder_ / "missing.exe"), kResultReadError);
    EXPECT_FALSE(reader.IsOpened());
    EXPECT_EQ(OpenBytes(PatternBytes(0, 1), reader), kResultReadError);
    EXPECT_EQ(OpenBytes(PatternBytes(1023, 1), reader), kResultReadError);
    EXPECT_EQ(OpenBytes(PatternBytes(100000, 1), reader), kResultReadError);  // no magic anywhere
    // A magic in the first 64 bytes would put the footer before the start of the file.
    std::vector<std::uint8_t> early = PatternBytes(1500, 2);
    std::copy(kPayloadMagic.begin(), kPayloadMagic.end(), early.begin() + 20);
    EXPECT_EQ(OpenBytes(early, reader), kResultReadError);
    EXPECT_FALSE(reader.IsOpened());
}

// Tables, names and data ranges that claim bytes the file does not hold before the footer.
TEST_F(PayloadReaderTest, DamagedTablesAreRefusedWithoutCrashOrHuge) {
    PackageContents contents = test_support::ShippedLikeContents();
    contents.externalFiles.push_back({PayloadFileType::ProductArchive, Name("FILES.7z")});
    const std::vector<std::uint8_t> package = ReadFileBytes(Write(contents));
    const std::uint64_t footer = layout_.footerPosition;
    const std::uint64_t table = layout_.entryTablePosition;
    const std::uint64_t external = layout_.externalTablePosition;
    const struct {
        const char* what;
        std::uint64_t position;
        std::uint32_t value;
        int result;
    } cases[] = {
        {"entry count one too many", footer + 8, 5, kResultDamagedPackage},
        {"entry count of a million", footer + 8, 1000000, kResultDamagedPackage},
        {"entry count 0xFFFFFFFF", footer + 8, 0xFFFFFFFFu, kResultDamagedPackage},
        {"entry table past the footer", footer + 20, static_cast<std::uint32_t>(footer + 1), kResultDamagedPackage},
        {"entry table at 0xFFFFFFFF", footer + 20, 0xFFFFFFFFu, kResultDamagedPackage},
        {"external count 0xFFFFFFFF", footer + 0, 0xFFFFFFFFu, kResultDamagedPackage},
        {"external count one too many", footer + 0, 2, kResultDamagedPackage},
        {"external table past the footer", footer + 4, static_cast<std::uint32_t>(footer + 8), kResultDamagedPackage},
        {"footer offset far beyond (negative displacement)", footer + 16, 0xF0000000u, kResultDamagedPackage},
        {"footer offset 0 (tables shifted past the footer)", footer + 16, 0, kResultDamagedPackage},
        {"name length 0xFFFFFFFF", table + 20, 0xFFFFFFFFu, kResultDamagedPackage},
        {"name length runs into the footer", table + 20, 0x10000, kResultDamagedPackage},
        {"name length 0", table + 20, 0, kResultDamagedPackage},
        {"data offset past the file", table + 16, 0xFFFFFF00u, kResultDamagedPackage},
        {"data size past the file", table + 12, 0xFFFFFFFFu, kResultDamagedPackage},
        {"data runs into the footer", table + 12, static_cast<std::uint32_t>(footer - layout_.entryDataPositions[0] + 1), kResultDamagedPackage},
        {"external name length 0x80000000", external + 4, 0x80000000u, kResultDamagedPackage},
        {"data ending at the footer is fine", table + 12, static_cast<std::uint32_t>(footer - layout_.entryDataPositions[0]), kResultSuccess},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes = package;
        PatchLittleEndian32(bytes, c.position, c.value);
        PayloadReader reader;
        EXPECT_EQ(OpenBytes(bytes, reader), c.result) << c.what;
        if (c.result != kResultSuccess) {
            EXPECT_TRUE(reader.Entries().empty()) << c.what;
            EXPECT_TRUE(reader.IsOpened()) << c.what;  // the footer itself was found
        }
    }
}

// Bytes cut out of the tables themselves: the footer is still found, but the tables it records no
// longer fit before it.
TEST_F(PayloadReaderTest, TablesWithBytesCutOutAreDamaged) {
    PackageContents contents = test_support::ShippedLikeContents();
    contents.externalFiles.push_back({PayloadFileType::ProductArchive, Name("FILES.7z")});
    const std::vector<std::uint8_t> package = ReadFileBytes(Write(contents));
    for (std::uint64_t cut = 1; cut <= layout_.footerPosition - layout_.entryTablePosition; ++cut) {
        std::vector<std::uint8_t> bytes = package;
        const auto footer = bytes.begin() + static_cast<std::ptrdiff_t>(layout_.footerPosition);
        bytes.erase(footer - static_cast<std::ptrdiff_t>(cut), footer);
        PayloadReader reader;
        ASSERT_EQ(OpenBytes(bytes, reader), kResultDamagedPackage) << cut << " table bytes cut";
        ASSERT_TRUE(reader.Entries().empty());
    }
}

TEST_F(PayloadReaderTest, TruncatedFooterIsDamaged) {
    std::vector<std::uint8_t> bytes = ReadFileBytes(Write(test_support::ShippedLikeContents()));
    bytes.pop_back();  // the last padding byte
    PayloadReader reader;
    EXPECT_EQ(OpenBytes(bytes, reader), kResultDamagedPackage);
}

// Names that would write outside the extraction folder are refused before anything is used.
TEST_F(PayloadReaderTest, UnsafeNamesAreRefused) {
    const char* names[] = {"..\\evil.dll", "a\\..\\..\\evil.dll", "../evil.dll", "\\Windows\\evil.dll",
                           "/etc/evil", "C:\\evil.dll", "C:evil.dll", "\\\\server\\share\\x", "\\\\?\\C:\\x",
                           "CON", "sub\\NUL.txt", "LPT1", "setup.ini:stream", "a\\\\b", "a\\", ".."};
    for (const char* unsafe : names) {
        PackageContents contents = test_support::ShippedLikeContents();
        contents.entries[3].name = Name(unsafe);
        PayloadReader reader;
        EXPECT_EQ(reader.Open(Write(contents)), kResultDamagedPackage) << unsafe;
        EXPECT_TRUE(reader.Entries().empty()) << unsafe;

        PackageContents beside = test_support::ShippedLikeContents();
        beside.externalFiles.push_back({PayloadFileType::ProductArchive, Name(unsafe)});
        EXPECT_EQ(reader.Open(Write(beside)), kResultDamagedPackage) << "external " << unsafe;
    }
}

TEST_F(PayloadReaderTest, IntegrityCheckComparesDigitsIgnoringCaseOfStoredHex) {
    const std::vector<std::uint8_t> package = ReadFileBytes(Write(test_support::ShippedLikeContents()));
    const std::uint64_t digestAt = layout_.footerPosition + 28;
    PayloadReader reader;

    std::vector<std::uint8_t> upper = package;
    std::transform(upper.begin() + static_cast<std::ptrdiff_t>(digestAt), upper.begin() + static_cast<std::ptrdiff_t>(digestAt + 32),
                   upper.begin() + static_cast<std::ptrdiff_t>(digestAt), [](std::uint8_t c) { return static_cast<std::uint8_t>(std::toupper(c)); });
    ASSERT_EQ(OpenBytes(upper, reader), kResultSuccess);
    EXPECT_NE(reader.DigestText(), layout_.digest);
    EXPECT_EQ(reader.CheckIntegrity(), kResultSuccess);

    std::vector<std::uint8_t> wrongDigit = package;
    wrongDigit[digestAt + 31] = wrongDigit[digestAt + 31] == '0' ? '1' : '0';
    ASSERT_EQ(OpenBytes(wrongDigit, reader), kResultSuccess);
    EXPECT_EQ(reader.CheckIntegrity(), kResultDamagedPackage);

    std::vector<std::uint8_t> changedData = package;
    changedData[layout_.entryDataPositions[1] + 17] ^= 0x40;
    ASSERT_EQ(OpenBytes(changedData, reader), kResultSuccess);
    EXPECT_EQ(reader.CheckIntegrity(), kResultDamagedPackage);

    // A code signature appended after the footer is not part of the digest.
    std::vector<std::uint8_t> signedPackage = package;
    const std::vector<std::uint8_t> signature = PatternBytes(4096, 77);
    signedPackage.insert(signedPackage.end(), signature.begin(), signature.end());
    ASSERT_EQ(OpenBytes(signedPackage, reader), kResultSuccess);
    EXPECT_EQ(reader.FooterPosition(), layout_.footerPosition);
    EXPECT_EQ(reader.CheckIntegrity(), kResultSuccess);

    // ... but a change before the footer still fails a signed package.
    signedPackage[layout_.entryDataPositions[0] + 3] ^= 0x01;
    ASSERT_EQ(OpenBytes(signedPackage, reader), kResultSuccess);
    EXPECT_EQ(reader.CheckIntegrity(), kResultDamagedPackage);
}

}  // namespace
}  // namespace maglorin
