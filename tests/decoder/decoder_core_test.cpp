// The extraction library's rules, reached below the exports: names, path joining, directory
// chains, the thread count, the free-space walk, short folders and missing CRCs.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "bounded_lzma_decoder.h"
#include "header_bounds.h"
#include "decoder_test_support.h"
#include "disk_space_check.h"
#include "extraction_state.h"
#include "output_paths.h"
#include "thread_count.h"

namespace maglorin::decoder {
namespace {

namespace fs = std::filesystem;

PathString P(const char* text) {
    PathString out;
    for (const char* c = text; *c != '\0'; ++c) {
        out += static_cast<PathChar>(*c == '|' ? kPathSeparator : *c);  // '|' = this platform's separator
    }
    return out;
}

struct NameRow {
    const char* name;
    bool safe;
};

TEST(ItemNames, OnlyNamesThatStayInsideTheOutputFolderAreSafe) {
    const NameRow rows[] = {
        {"readme.txt", true},        {"docs/a.txt", true},         {"docs\\a.txt", true},
        {"a/./b", true},             {"a//b", true},               {"..txt", true},
        {"a..b/c", true},            {"console.txt", true},        {"com10", true},
        {"../x", false},             {"a/../../x", false},         {"..\\x", false},
        {"a/..", false},             {"/etc/passwd", false},       {"\\x", false},
        {"C:x", false},              {"C:\\x", false},             {"a/b:stream", false},
        {"...", false},              {". .", false},               {"a/ /b", false},
        {"CON", false},              {"nul.txt", false},           {"docs/Com1", false},
        {"lpt9.log", false},         {"aux .txt", false},          {"CONOUT$", false},
        {"", false},                 {".", false},                 {"./", false},
    };
    for (const NameRow& row : rows) {
        EXPECT_EQ(IsSafeItemName(P(row.name)), row.safe) << row.name;
    }
}

TEST(PathJoining, AddsExactlyOneSeparatorAndTurnsSlashes) {
    EXPECT_EQ(JoinItemPath(P("|out"), P("a/b\\c")), P("|out|a|b|c"));
    EXPECT_EQ(JoinItemPath(P("|out|"), P("a")), P("|out|a"));
}

TEST(PathJoining, RefusesMoreThanTheLimitWithoutOverrunning) {
    const PathString folder = P("|out|");
    const PathString fits(kMaxJoinedPathChars - folder.size(), PathChar('n'));
    EXPECT_TRUE(JoinItemPath(folder, fits));
    EXPECT_FALSE(JoinItemPath(folder, fits + PathChar('n')));
    EXPECT_FALSE(JoinItemPath(folder, PathString(5000, PathChar('n'))));
}

TEST(OutputFolder, MustBeTerminatedInsideItsField) {
    ExtractionContext context;
    std::memset(&context, 0, sizeof context);
    for (PathChar& c : context.outputFolder) c = PathChar('x');
    EXPECT_FALSE(OutputFolderOf(context));
    context.outputFolder[3] = 0;
    EXPECT_EQ(OutputFolderOf(context), P("xxx"));
}

TEST(DirectoryChain, CreatesEveryLevelBelowTheVolume) {
#if defined(_WIN32)
    const std::vector<PathString> expected = {P("C:|out"), P("C:|out|a"), P("C:|out|a|b")};
    EXPECT_EQ(DirectoryChain(P("C:|out|a|b|")), expected);
    const std::vector<PathString> prefixed = {P("||?|C:|out")};
    EXPECT_EQ(DirectoryChain(P("||?|C:|out|")), prefixed);
    const std::vector<PathString> network = {P("||server|share"), P("||server|share|a")};
    EXPECT_EQ(DirectoryChain(P("||server|share|a|")), network);
#else
    const std::vector<PathString> expected = {P("|tmp|out"), P("|tmp|out|a"), P("|tmp|out|a|b")};
    EXPECT_EQ(DirectoryChain(P("|tmp|out|a|b|")), expected);
#endif
}

struct ParentRow {
    const char* folder;
    const char* name;
    std::vector<const char*> parents;
};

// Parents of files are created only below the output folder, never the folder itself or above.
TEST(ParentFolders, OnlyTheFoldersBetweenTheOutputFolderAndTheFile) {
    const ParentRow rows[] = {
        {"|out|", "b.txt", {}},
        {"|out|", "a/b.txt", {"|out|a"}},
        {"|out", "a/b.txt", {"|out|a"}},
        {"|out|", "a\\b/c/d.txt", {"|out|a", "|out|a|b", "|out|a|b|c"}},
        {"|out|", "a//b.txt", {"|out|a"}},
        {"|out|", "./a/b.txt", {"|out|.", "|out|.|a"}},
        {"|out|", "../x/b.txt", {}},  // refused names give nothing to create
        {"|out|", "a/../../b.txt", {}},
        {"|out|", "/abs/b.txt", {}},
    };
    for (const ParentRow& row : rows) {
        std::vector<PathString> expected;
        for (const char* parent : row.parents) {
            expected.push_back(P(parent));
        }
        EXPECT_EQ(ParentFoldersInside(P(row.folder), P(row.name)), expected) << row.folder << " " << row.name;
    }
    EXPECT_TRUE(ParentFoldersInside(P("|out|"), PathString(kMaxJoinedPathChars, PathChar('a')) + P("/b")).empty());
}

struct DictionaryRow {
    std::uint32_t named;
    std::optional<std::uint64_t> unpackSize;
    std::optional<std::uint32_t> handedOn;
};

// The dictionary follows the output, in whole granules, and is refused above the ceiling.
TEST(LzmaDictionary, NeverLargerThanTheOutputNorTheCeiling) {
    constexpr std::uint32_t kCeiling = static_cast<std::uint32_t>(kMaxLzmaDictionary);
    const DictionaryRow rows[] = {
        {0xF0000000u, 200, 4096},                          // the claim is ignored for a small output
        {0xF0000000u, 0, 4096},                            // an empty output still gets one granule
        {0xF0000000u, 4097, 8192},
        {0x02000000u, 3, 4096},                            // "7zz a -si": 32 MiB named for 3 bytes
        {65536, 1 << 20, 65536},                           // the stream's own is smaller: kept
        {65536, std::nullopt, 65536},                      // unknown output: the named one
        {kCeiling, std::uint64_t{kCeiling} * 4, kCeiling},  // exactly the ceiling
        {kCeiling + 1, std::uint64_t{kCeiling} * 4, std::nullopt},
        {0xF0000000u, std::nullopt, std::nullopt},
        {0xF0000000u, std::uint64_t{kCeiling} + 1, std::nullopt},  // rounded up past the ceiling
    };
    for (const DictionaryRow& row : rows) {
        EXPECT_EQ(BoundedDictionary(row.named, row.unpackSize), row.handedOn)
            << row.named << " " << (row.unpackSize ? std::to_string(*row.unpackSize) : "unknown");
    }
}

struct HeaderRow {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::optional<std::uint64_t> claimed;
};

// The folder description of a compressed header as 7zz writes it, with its unpack size.
std::vector<std::uint8_t> EncodedHeader(std::vector<std::uint8_t> unpackSize) {
    std::vector<std::uint8_t> bytes = {0x17, 0x06, 0x80, 0x01, 0x01, 0x09, 0x21, 0x00,  // pack info
                                       0x07, 0x0B, 0x01, 0x00,                          // one folder
                                       0x01, 0x23, 0x03, 0x01, 0x01, 0x05, 0x5D, 0x00, 0x10, 0x00, 0x00,
                                       0x0C};
    const std::uint8_t crcAndEnd[] = {0x0A, 0x01, 1, 2, 3, 4, 0x00, 0x00};
    for (const std::uint8_t b : unpackSize) bytes.push_back(b);
    for (const std::uint8_t b : crcAndEnd) bytes.push_back(b);
    return bytes;
}

TEST(HeaderClaim, TheUnpackSizeOfACompressedHeaderIsReadBeforeTheReaderReservesIt) {
    const HeaderRow rows[] = {
        {"plain header", {0x01, 0x04, 0x06}, 0},
        {"one byte number", EncodedHeader({0x64}), 100},
        {"two byte number", EncodedHeader({0x81, 0x2C}), 0x12C},
        {"three gibibytes", EncodedHeader({0xFF, 0, 0, 0, 0xC0, 0, 0, 0, 0}), std::uint64_t{3} << 30},
        {"cut before the sizes", [] { auto b = EncodedHeader({0x64}); b.resize(24); return b; }(), std::nullopt},
        {"no folder id", {0x17, 0x07, 0x0A}, std::nullopt},
        {"external folders", {0x17, 0x07, 0x0B, 0x01, 0x01}, std::nullopt},
        {"too many folders", {0x17, 0x07, 0x0B, 0x80, 0xFF, 0x00}, std::nullopt},
        {"empty", {}, std::nullopt},
    };
    for (const HeaderRow& row : rows) {
        EXPECT_EQ(EncodedHeaderUnpackSize(row.bytes.data(), row.bytes.size()), row.claimed) << row.name;
    }
}

// A plain header as 7zz writes it for one LZMA folder holding `files` files of one stream each.
std::vector<std::uint8_t> PlainHeader(std::uint8_t folders, std::uint8_t files) {
    std::vector<std::uint8_t> bytes = {0x01, 0x04,                    // header, main streams
                                       0x06, 0x00, 0x01, 0x09, 0x40,  // one pack stream of 64 bytes
                                       0x00, 0x07, 0x0B, folders, 0x00};
    for (std::uint8_t f = 0; f < folders; ++f) {
        bytes.insert(bytes.end(), {0x01, 0x23, 0x03, 0x01, 0x01, 0x05, 0x5D, 0x00, 0x10, 0x00, 0x00});
    }
    bytes.push_back(0x0C);
    bytes.insert(bytes.end(), folders, 0x20);        // each folder unpacks to 32 bytes
    bytes.insert(bytes.end(), {0x00, 0x08, 0x0D});  // end of folders; files per folder
    bytes.insert(bytes.end(), folders, files);
    bytes.push_back(0x09);
    for (std::uint8_t f = 0; f < folders; ++f) bytes.insert(bytes.end(), files > 1 ? files - 1 : 0, 0x08);
    bytes.insert(bytes.end(), {0x00, 0x00, 0x05, files});  // end of files, of streams; the files
    bytes.insert(bytes.end(), 4u * files, 0x00);            // (their properties, not looked at)
    return bytes;
}

TEST(HeaderClaim, APlainHeaderCountsNoMoreItemsThanItsBytesCanHold) {
    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
        bool fits;
    };
    const std::vector<std::uint8_t> fine = PlainHeader(2, 3);
    std::vector<std::uint8_t> manyFiles = fine;
    manyFiles[manyFiles.size() - 13] = 0xEF;  // files: a four-byte number, 0x0F000000
    std::vector<std::uint8_t> manyPerFolder = fine;
    manyPerFolder[12 + 2 * 11 + 1 + 2 + 3] = 0xDF;  // the first folder claims a four-byte count
    const Row rows[] = {
        {"7zz's header", fine, true},
        {"one file", PlainHeader(1, 1), true},
        // Found by fuzzing: 167 million folders claimed in a header of 106 bytes.
        {"folders", {0x01, 0x04, 0x06, 0x00, 0x01, 0x09, 0x0D, 0x00, 0x07, 0x0B, 0xEA, 0xD7, 0x0D, 0x00}, false},
        {"pack streams", {0x01, 0x04, 0x06, 0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F, 0x09}, false},
        {"files, after archive properties", {0x01, 0x02, 0x00, 0x05, 0x81, 0x00}, false},
        // Files without data take a bit each: 16 of them in 2 bytes.
        {"files without data", {0x01, 0x05, 0x10, 0xFF, 0xFF}, true},
        {"one file too many", {0x01, 0x05, 0x11, 0xFF, 0xFF}, false},
        {"files of a folder", manyPerFolder, false},
        {"files", manyFiles, false},
        {"encoded header", EncodedHeader({0x64}), true},
        {"cut short", {0x01, 0x04, 0x06, 0x00}, true},
        {"empty", {}, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(PlainHeaderCountsFit(row.bytes.data(), row.bytes.size(), row.bytes.size()), row.fits) << row.name;
    }
    // Counts are judged against the whole header, of which only the start may be at hand.
    const std::vector<std::uint8_t> start(fine.begin(), fine.begin() + 12);
    EXPECT_TRUE(PlainHeaderCountsFit(start.data(), start.size(), fine.size()));
}

TEST(ThreadCount, FollowsNumberOfProcessors) {
    const std::pair<std::optional<std::string>, std::uint32_t> rows[] = {
        {std::nullopt, 1}, {"0", 1},  {"33", 1}, {"8x", 8},  {"16", 16},
        {"32", 32},        {"", 1},   {"x8", 1}, {"1", 1},   {"99999999999999999999999", 1},
    };
    for (const auto& [text, count] : rows) {
        EXPECT_EQ(ThreadCountFromText(text), count) << text.value_or("(unset)");
    }
}

TEST(ThreadCount, IsReadFromTheEnvironment) {
    const char* saved = std::getenv("NUMBER_OF_PROCESSORS");
    const std::optional<std::string> original = saved ? std::optional<std::string>(saved) : std::nullopt;
    test_support::SetEnvironment("NUMBER_OF_PROCESSORS", "12");
    EXPECT_EQ(DecoderThreadCount(), 12u);
    test_support::SetEnvironment("NUMBER_OF_PROCESSORS", std::string(300, '4'));  // longer than read
    EXPECT_EQ(DecoderThreadCount(), 1u);
    test_support::SetEnvironment("NUMBER_OF_PROCESSORS", std::nullopt);
    EXPECT_EQ(DecoderThreadCount(), 1u);
    test_support::SetEnvironment("NUMBER_OF_PROCESSORS", original);
}

// A volume whose free bytes are known by path; every other path fails the query.
struct FakeVolumes {
    std::map<PathString, std::uint64_t> free;
    std::vector<PathString> asked;
    FreeSpaceQuery Query() {
        return [this](const PathString& path) -> std::optional<std::uint64_t> {
            asked.push_back(path);
            const auto it = free.find(path);
            return it == free.end() ? std::nullopt : std::optional<std::uint64_t>(it->second);
        };
    }
};

TEST(DiskSpace, FileMustBeStrictlySmallerThanTheFreeBytes) {
    FakeVolumes volumes;
    volumes.free[P("|v|out")] = 1000;
    EXPECT_TRUE(HasRoomFor(P("|v|out|"), 999, volumes.Query()));
    EXPECT_FALSE(HasRoomFor(P("|v|out|"), 1000, volumes.Query()));
    EXPECT_FALSE(HasRoomFor(P("|v|out|"), 5000, volumes.Query()));
}

TEST(DiskSpace, WalksUpToTheFirstFolderThatAnswers) {
    FakeVolumes volumes;
    volumes.free[P("|v|")] = 10;
    EXPECT_TRUE(HasRoomFor(P("|v|new|deeper|"), 9, volumes.Query()));
    const std::vector<PathString> asked = {P("|v|new|deeper"), P("|v|new"), P("|v|")};
    EXPECT_EQ(volumes.asked, asked);
}

TEST(DiskSpace, FailsWhenNoFolderAnswers) {
    FakeVolumes volumes;
    EXPECT_FALSE(HasRoomFor(P("|v|a|b|"), 1, volumes.Query()));
    EXPECT_FALSE(volumes.asked.empty());
}

TEST(DiskSpace, NetworkPathKeepsItsFinalSeparator) {
    FakeVolumes volumes;
    volumes.free[P("||server|share|")] = 100;
    EXPECT_TRUE(HasRoomFor(P("||server|share|dir"), 1, volumes.Query()));
    EXPECT_EQ(volumes.asked.front(), P("||server|share|dir|"));
}

// Cases 7zz cannot make (a folder delivering fewer bytes than its files need, a folder claimed
// twice, files without CRC): the catalog is altered after a real archive was opened.
class AlteredCatalog : public ::testing::Test {
protected:
    std::int32_t ExtractAltered(void (*alter)(ArchiveCatalog&), const std::string& archiveName) {
        const auto handle = test_support::OpenForReading(test_support::TestData() / archiveName);
        ExtractionContext context;
        std::memset(&context, 0, sizeof context);
        context.archiveFile = handle->Handle();
        context.archiveSize = fs::file_size(test_support::TestData() / archiveName);
        const PathString folder = test_support::AsContextFolder(test_support::FreshFolder("short-" + archiveName), true);
        std::memcpy(context.outputFolder, folder.c_str(), (folder.size() + 1) * sizeof(PathChar));
        ExtractionState state;
        if (OpenArchive(context, state) != kInitOpened) {
            return -1;
        }
        alter(state.catalog);
        return ExtractAll(context, state);
    }
};

TEST_F(AlteredCatalog, FilesNeedingMoreThanTheFolderEndsWithFailure) {
    EXPECT_EQ(ExtractAltered([](ArchiveCatalog& catalog) {
                  for (auto it = catalog.items.rbegin(); it != catalog.items.rend(); ++it) {
                      if (it->folder) {
                          it->size += 10;  // the last file with data now wants 10 bytes more
                          it->crc.reset();
                          break;
                      }
                  }
              }, "solid.7z"),
              kExtractFailed);
}

TEST_F(AlteredCatalog, AFolderIsNeverDecodedTwice) {
    EXPECT_EQ(ExtractAltered([](ArchiveCatalog& catalog) {
                  // Every item with data claims the first folder.
                  for (ArchiveItem& item : catalog.items) {
                      if (item.folder) item.folder = 0;
                  }
              }, "nonsolid.7z"),
              kExtractFailed);
}

TEST_F(AlteredCatalog, WrongCrcFailsAndMissingCrcIsNotChecked) {
    EXPECT_EQ(ExtractAltered([](ArchiveCatalog& catalog) {
                  for (ArchiveItem& item : catalog.items) {
                      if (item.crc) *item.crc ^= 1u;
                  }
              }, "nonsolid.7z"),
              kExtractFailed);
    EXPECT_EQ(ExtractAltered([](ArchiveCatalog& catalog) {
                  for (ArchiveItem& item : catalog.items) item.crc.reset();
              }, "nonsolid.7z"),
              kExtractDone);
}

TEST_F(AlteredCatalog, UnalteredArchiveStillUnpacks) {
    EXPECT_EQ(ExtractAltered([](ArchiveCatalog&) {}, "nonsolid.7z"), kExtractDone);
}

}  // namespace
}  // namespace maglorin::decoder
