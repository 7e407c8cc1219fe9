// The extraction library through its four exports, bound by name from the built library the way
// setup binds them, on archives made by 7zz. Runs natively and, against decoder.dll, under Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "decoder_test_support.h"

namespace maglorin::test_support {
namespace {

namespace fs = std::filesystem;

// Records the library's calls; the operations setup keeps for itself must never be called.
class RecordingSink final : public ExtractProgressSink {
public:
    void OverallStart(std::uint64_t) override { ++foreignCalls; }
    void Unused1() override { ++foreignCalls; }
    void ReleaseStart() override { ++foreignCalls; }
    void Finish() override { ++foreignCalls; }
    void AttachStartSignal(void*) override { ++foreignCalls; }
    void BeginItem(const PathChar*, std::int32_t) override { ++foreignCalls; }
    void Unused2() override { ++foreignCalls; }
    void SetTotal(std::uint64_t total) override { totals.push_back(total); }
    bool SetCompleted(std::uint64_t done) override {
        completed.push_back(done);
        return stopOnSetCompleted;
    }
    bool IsCancelled() override {
        ++cancelQueries;
        return cancelFromQuery != 0 && cancelQueries >= cancelFromQuery;
    }
    void ItemTotals(const PathChar*, std::uint64_t) override { ++foreignCalls; }

    std::vector<std::uint64_t> totals;
    std::vector<std::uint64_t> completed;
    int cancelQueries = 0;
    int cancelFromQuery = 0;  // 0: never cancel
    bool stopOnSetCompleted = false;
    int foreignCalls = 0;
};

class AnsweringSpaceHandler final : public DiskSpaceHandler {
public:
    explicit AnsweringSpaceHandler(std::int32_t answer) : answer_(answer) {}
    std::int32_t OnLowDiskSpace(const PathChar* folder, std::uint64_t bytes) override {
        ++calls;
        lastFolder = folder;
        lastBytes = bytes;
        return answer_;
    }
    int calls = 0;
    PathString lastFolder;
    std::uint64_t lastBytes = 0;

private:
    std::int32_t answer_;
};

struct Outcome {
    std::int32_t init = -1;
    std::uint64_t totalSize = 0;
    std::int32_t extract = -1;
};

std::uint64_t FileBytesIn(const fs::path& tree) {
    std::uint64_t total = 0;
    for (const auto& entry : fs::recursive_directory_iterator(tree)) {
        if (entry.is_regular_file()) {
            total += entry.file_size();
        }
    }
    return total;
}

class DecoderExportsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { library_ = LoadDecoderLibrary().release(); }
    static void TearDownTestSuite() {
        delete library_;
        library_ = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(library_, nullptr) << "the extraction library could not be loaded";
        const DecoderExports& e = library_->Exports();
        ASSERT_TRUE(e.initExtraction && e.getTotalFilesSize && e.extractAllFiles && e.endExtraction);
    }
    const DecoderExports& Exports() const { return library_->Exports(); }

    static ExtractionContext ContextFor(NativeFileHandle handle, std::uint64_t offset, std::uint64_t size,
                                        const PathString& folder) {
        ExtractionContext context;
        std::memset(&context, 0, sizeof context);
        context.archiveFile = handle;
        context.archiveOffset = offset;
        context.archiveSize = size;
        std::memcpy(context.outputFolder, folder.c_str(), (folder.size() + 1) * sizeof(PathChar));
        return context;
    }

    // Runs the four exports in setup's order on the file's window [offset, offset + size).
    Outcome Unpack(const fs::path& file, const fs::path& out, ExtractProgressSink* sink = nullptr,
                   DiskSpaceHandler* handler = nullptr, std::uint64_t offset = 0,
                   std::optional<std::uint64_t> size = std::nullopt, bool finalSeparator = true) {
        const auto handle = OpenForReading(file);
        ExtractionContext context = ContextFor(handle->Handle(), offset, size ? *size : fs::file_size(file) - offset,
                                               AsContextFolder(out, finalSeparator));
        Outcome outcome;
        outcome.init = Exports().initExtraction(&context);
        EXPECT_NE(context.state, nullptr);
        if (outcome.init == kInitOpened) {
            outcome.totalSize = Exports().getTotalFilesSize(&context);
            context.progressSink = sink;
            context.spaceHandler = handler;
            outcome.extract = Exports().extractAllFiles(&context);
        }
        EXPECT_EQ(Exports().endExtraction(&context), 0);
        EXPECT_EQ(context.state, nullptr);
        return outcome;
    }

    static fs::path Archive(const std::string& name) { return TestData() / (name + ".7z"); }

    static LoadedLibrary* library_;
};

LoadedLibrary* DecoderExportsTest::library_ = nullptr;

TEST_F(DecoderExportsTest, SolidArchiveUnpacksTheWholeTreeWithTotalsAndProgress) {
    const fs::path out = FreshFolder("solid");
    RecordingSink sink;
    const Outcome outcome = Unpack(Archive("solid"), out, &sink);
    ASSERT_EQ(outcome.init, kInitOpened);
    EXPECT_EQ(outcome.extract, kExtractDone);
    const std::uint64_t bytes = FileBytesIn(TestData() / "src-mixed");
    EXPECT_EQ(outcome.totalSize, bytes);  // empty files count 0, folders are left out
    std::string difference;
    EXPECT_TRUE(SameTree(TestData() / "src-mixed", out, difference)) << difference;
    ASSERT_EQ(sink.totals.size(), 1u);
    EXPECT_EQ(sink.totals[0], bytes);
    ASSERT_FALSE(sink.completed.empty());
    EXPECT_EQ(sink.completed.back(), bytes);
    EXPECT_GT(sink.cancelQueries, 0);
    EXPECT_EQ(sink.foreignCalls, 0);
}

TEST_F(DecoderExportsTest, SeveralFoldersUnpack) {
    const fs::path out = FreshFolder("nonsolid");
    EXPECT_EQ(Unpack(Archive("nonsolid"), out).extract, kExtractDone);
    std::string difference;
    EXPECT_TRUE(SameTree(TestData() / "src-mixed", out, difference)) << difference;
}

TEST_F(DecoderExportsTest, ProgressCountsStartAgainInEveryFolder) {
    const fs::path out = FreshFolder("large-nonsolid");
    RecordingSink sink;
    const Outcome outcome = Unpack(Archive("large-nonsolid"), out, &sink);
    ASSERT_EQ(outcome.init, kInitOpened);
    EXPECT_EQ(outcome.extract, kExtractDone);
    std::string difference;
    EXPECT_TRUE(SameTree(TestData() / "src-large", out, difference)) << difference;
    const std::uint64_t bytes = FileBytesIn(TestData() / "src-large");
    const std::uint64_t largestFile = fs::file_size(TestData() / "src-large" / "part1.txt");
    ASSERT_GE(sink.completed.size(), 2u);
    bool restarted = false;
    for (std::size_t i = 0; i + 1 < sink.completed.size(); ++i) {
        EXPECT_LE(sink.completed[i], largestFile);  // counted within one folder
        restarted = restarted || (i > 0 && sink.completed[i] < sink.completed[i - 1]);
    }
    EXPECT_TRUE(restarted);
    EXPECT_EQ(sink.completed.back(), bytes);
}

struct RefusalRow {
    const char* archive;
    std::int32_t init;
    std::int32_t extract;  // when opened
};

class RefusedCoders : public DecoderExportsTest, public ::testing::WithParamInterface<RefusalRow> {};

TEST_P(RefusedCoders, OnlyLzmaFoldersDecode) {
    const RefusalRow row = GetParam();
    const fs::path out = FreshFolder(std::string("refused-") + row.archive);
    const Outcome outcome = Unpack(Archive(row.archive), out);
    EXPECT_EQ(outcome.init, row.init);
    if (row.init == kInitOpened) {
        EXPECT_EQ(outcome.extract, row.extract);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, RefusedCoders,
                         ::testing::Values(RefusalRow{"lzma2", kInitOpened, kExtractFailed},
                                           RefusalRow{"bcj", kInitOpened, kExtractFailed},
                                           RefusalRow{"ppmd", kInitOpened, kExtractFailed},
                                           RefusalRow{"aes-data", kInitOpened, kExtractFailed},
                                           RefusalRow{"aes-headers", kInitBadDatabase, 0}),
                         [](const auto& info) {
                             std::string name = info.param.archive;
                             for (char& c : name) c = c == '-' ? '_' : c;
                             return name;
                         });

TEST_F(DecoderExportsTest, FoldersAndEmptyFilesOnlyNeedNoDecoding) {
    const fs::path out = FreshFolder("empty");
    RecordingSink sink;
    const Outcome outcome = Unpack(Archive("empty"), out, &sink);
    ASSERT_EQ(outcome.init, kInitOpened);
    EXPECT_EQ(outcome.totalSize, 0u);
    EXPECT_EQ(outcome.extract, kExtractDone);
    std::string difference;
    EXPECT_TRUE(SameTree(TestData() / "src-empty", out, difference)) << difference;
    EXPECT_TRUE(sink.totals.empty());
    EXPECT_TRUE(sink.completed.empty());
}

TEST_F(DecoderExportsTest, MissingParentFoldersAreCreated) {
    const fs::path out = FreshFolder("parents");
    EXPECT_EQ(Unpack(Archive("parents"), out).extract, kExtractDone);
    EXPECT_EQ(ReadAll(out / "p1" / "p2" / "p3" / "f.txt"), "deep\n");
}

// "7zz a x.7z a/b.txt" lists no item for "a": the file's folders are made all the same.
TEST_F(DecoderExportsTest, FilesWhoseFoldersAreNoItemsAreWrittenIntoThem) {
    const std::string data = "inside a folder nobody listed\n";
    struct Case {
        const char* archive;
        bool hasData;
        bool hasEmpty;
    } cases[] = {{"implicit-data", true, false}, {"implicit-empty", false, true}, {"implicit-both", true, true}};
    for (const Case& c : cases) {
        const fs::path out = FreshFolder(c.archive);
        const Outcome outcome = Unpack(Archive(c.archive), out);
        ASSERT_EQ(outcome.init, kInitOpened) << c.archive;
        EXPECT_EQ(outcome.extract, kExtractDone) << c.archive;
        EXPECT_EQ(fs::exists(out / "a" / "b" / "data.txt"), c.hasData) << c.archive;
        if (c.hasData) {
            EXPECT_EQ(ReadAll(out / "a" / "b" / "data.txt"), data) << c.archive;
        }
        EXPECT_EQ(fs::is_regular_file(out / "c" / "d" / "empty.txt"), c.hasEmpty) << c.archive;
        if (c.hasEmpty) {
            EXPECT_EQ(fs::file_size(out / "c" / "d" / "empty.txt"), 0u) << c.archive;
        }
    }
}

// A file that cannot be created is a failure whether it has data or not: a plain file stands
// where its folder should be.
TEST_F(DecoderExportsTest, AFileThatCannotBeCreatedFailsEvenWhenEmpty) {
    for (const char* archive : {"implicit-data", "implicit-empty"}) {
        const fs::path out = FreshFolder(std::string("blocked-") + archive);
        WriteAll(out / "a", "in the way");
        WriteAll(out / "c", "in the way");
        const Outcome outcome = Unpack(Archive(archive), out);
        ASSERT_EQ(outcome.init, kInitOpened) << archive;
        EXPECT_EQ(outcome.extract, kExtractFailed) << archive;
        EXPECT_EQ(ReadAll(out / "a"), "in the way") << archive;
        EXPECT_EQ(ReadAll(out / "c"), "in the way") << archive;
    }
}

// A few kilobytes whose LZMA properties name a 3.75 GiB dictionary, in the header or in the
// data: the decoder reserves what the output needs, never what the archive claims, so both open
// and unpack (a 32-bit process could not even reserve the claimed dictionary).
TEST_F(DecoderExportsTest, DictionaryClaimedBeyondTheOutputIsNotReserved) {
    for (const char* archive : {"huge-dictionary-header", "huge-dictionary-data"}) {
        ASSERT_LT(fs::file_size(Archive(archive)), 4096u) << archive;
        const fs::path out = FreshFolder(archive);
        const Outcome outcome = Unpack(Archive(archive), out);
        EXPECT_EQ(outcome.init, kInitOpened) << archive;
        EXPECT_EQ(outcome.extract, kExtractDone) << archive;
        std::string difference;
        EXPECT_TRUE(SameTree(TestData() / "src-dictionary", out, difference)) << archive << ": " << difference;
    }
}

// The reader would reserve a compressed header's whole claimed size before decoding it.
TEST_F(DecoderExportsTest, HeaderClaimingGibibytesIsAnUnusableDatabase) {
    ASSERT_LT(fs::file_size(Archive("huge-header-claim")), 1000u);
    EXPECT_EQ(Unpack(Archive("huge-header-claim"), FreshFolder("huge-header-claim")).init, kInitBadDatabase);
}

TEST_F(DecoderExportsTest, OutputFolderWithoutFinalSeparatorJoinsOnce) {
    const fs::path out = FreshFolder("no-separator");
    EXPECT_EQ(Unpack(Archive("solid"), out, nullptr, nullptr, 0, std::nullopt, false).extract, kExtractDone);
    std::string difference;
    EXPECT_TRUE(SameTree(TestData() / "src-mixed", out, difference)) << difference;
}

TEST_F(DecoderExportsTest, LongerExistingFileIsReplacedWhole) {
    const fs::path out = FreshFolder("replace");
    WriteAll(out / "readme.txt", std::string(100000, 'x'));
    EXPECT_EQ(Unpack(Archive("solid"), out).extract, kExtractDone);
    EXPECT_EQ(ReadAll(out / "readme.txt"), ReadAll(TestData() / "src-mixed" / "readme.txt"));
}

// 2001-02-03 04:05:06 UTC in 100-ns intervals since 1601.
constexpr std::uint64_t kStoredTime = 126256467060000000ULL;

TEST_F(DecoderExportsTest, LastWriteTimeComesFromTheArchive) {
    const fs::path out = FreshFolder("times");
    EXPECT_EQ(Unpack(Archive("solid"), out).extract, kExtractDone);
    EXPECT_EQ(LastWriteTime(out / "readme.txt"), kStoredTime);
}

TEST_F(DecoderExportsTest, TimesTheArchiveLacksAreLeftToTheSystem) {
    const fs::path out = FreshFolder("no-times");
    EXPECT_EQ(Unpack(Archive("no-times"), out).extract, kExtractDone);
    EXPECT_EQ(ReadAll(out / "t.txt"), "times\n");
    // The source was touched to the stored date; without a stored time the file keeps today's.
    EXPECT_GT(LastWriteTime(out / "t.txt"), kStoredTime);
}

class ArchiveInsideAFile : public DecoderExportsTest {
protected:
    static constexpr std::uint64_t kOffset = 3 * 1024 * 1024;
    void SetUp() override {
        DecoderExportsTest::SetUp();
        archive_ = ReadAll(Archive("solid"));
        std::string bytes(kOffset, '\x5a');
        bytes += archive_;
        bytes += std::string(4096, '\x7f');  // something else follows the archive
        file_ = FreshFolder("offset-file") / "carrier.bin";
        WriteAll(file_, bytes);
    }
    std::string archive_;
    fs::path file_;
};

TEST_F(ArchiveInsideAFile, IsFoundAtItsOffset) {
    const fs::path out = FreshFolder("offset");
    const Outcome outcome = Unpack(file_, out, nullptr, nullptr, kOffset, archive_.size());
    ASSERT_EQ(outcome.init, kInitOpened);
    EXPECT_EQ(outcome.extract, kExtractDone);
    std::string difference;
    EXPECT_TRUE(SameTree(TestData() / "src-mixed", out, difference)) << difference;
}

TEST_F(ArchiveInsideAFile, IsNotFoundFromTwoMebibytesEarlier) {
    const fs::path out = FreshFolder("offset-early");
    const std::uint64_t early = kOffset - 2 * 1024 * 1024;
    EXPECT_EQ(Unpack(file_, out, nullptr, nullptr, early, archive_.size() + 2 * 1024 * 1024).init, kInitNoArchive);
}

TEST_F(ArchiveInsideAFile, WindowBeyondAnyFilePositionIsNoArchive) {
    const fs::path out = FreshFolder("offset-huge");
    EXPECT_EQ(Unpack(file_, out, nullptr, nullptr, kOffset, UINT64_MAX).init, kInitNoArchive);
}

class DamagedArchive : public DecoderExportsTest {
protected:
    fs::path Patched(const std::string& source, const std::string& name, std::size_t at, char value) {
        std::string bytes = ReadAll(Archive(source));
        bytes[at] = value;
        const fs::path file = FreshFolder("damaged-" + name) / "damaged.7z";
        WriteAll(file, bytes);
        return file;
    }
};

TEST_F(DamagedArchive, BrokenSignatureIsNoArchive) {
    EXPECT_EQ(Unpack(Patched("solid", "signature", 0, 'X'), FreshFolder("damaged-signature-out")).init, kInitNoArchive);
}

TEST_F(DamagedArchive, BrokenDatabaseCannotBeRead) {
    // The last bytes of an archive with plain headers are its database.
    const std::size_t size = fs::file_size(Archive("plain-headers"));
    EXPECT_EQ(Unpack(Patched("plain-headers", "database", size - 10, '\x33'), FreshFolder("damaged-db-out")).init,
              kInitBadDatabase);
}

TEST_F(DamagedArchive, BrokenCompressedDataFailsTheExtraction) {
    const Outcome outcome = Unpack(Patched("solid", "data", 32 + 1000, '\x00'), FreshFolder("damaged-data-out"));
    ASSERT_EQ(outcome.init, kInitOpened);
    EXPECT_EQ(outcome.extract, kExtractFailed);
}

TEST_F(DamagedArchive, TruncatedArchiveDoesNotOpen) {
    std::string bytes = ReadAll(Archive("solid"));
    bytes.resize(bytes.size() / 2);
    const fs::path file = FreshFolder("damaged-truncated") / "truncated.7z";
    WriteAll(file, bytes);
    EXPECT_NE(Unpack(file, FreshFolder("damaged-truncated-out")).init, kInitOpened);
}

// Replaces the stored CRC of readme.txt in the plain database and fixes the header checksums, so
// the archive opens and only that file's check fails.
TEST_F(DamagedArchive, CrcMismatchFailsAfterTheFileIsWritten) {
    std::string bytes = ReadAll(Archive("plain-headers"));
    const std::string readme = ReadAll(TestData() / "src-mixed" / "readme.txt");
    const std::uint32_t crc = Crc32(readme, 0, readme.size());
    const char stored[4] = {static_cast<char>(crc), static_cast<char>(crc >> 8), static_cast<char>(crc >> 16),
                            static_cast<char>(crc >> 24)};
    auto read64 = [&](std::size_t at) {
        std::uint64_t v = 0;
        for (int i = 7; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    auto write32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
    };
    const std::size_t headerStart = 32 + read64(12);
    const std::size_t headerSize = read64(20);
    const std::size_t at = bytes.find(std::string(stored, 4), headerStart);
    ASSERT_NE(at, std::string::npos);
    bytes[at] = static_cast<char>(bytes[at] ^ 0x55);
    write32(28, Crc32(bytes, headerStart, headerSize));
    write32(8, Crc32(bytes, 12, 20));
    const fs::path file = FreshFolder("crc") / "crc.7z";
    WriteAll(file, bytes);

    const fs::path out = FreshFolder("crc-out");
    const Outcome outcome = Unpack(file, out);
    ASSERT_EQ(outcome.init, kInitOpened);
    EXPECT_EQ(outcome.extract, kExtractFailed);
    EXPECT_EQ(ReadAll(out / "readme.txt"), readme);
}

// Every damaged byte ends in a result code, never a crash, and nothing lands outside the folder.
TEST_F(DamagedArchive, AnyDamagedByteEndsWithAResultCode) {
    const std::string original = ReadAll(Archive("plain-headers"));
    const fs::path root = FreshFolder("flips");
    std::vector<std::size_t> positions;
    for (std::size_t at = 0; at < 64; ++at) positions.push_back(at);  // signature and start header
    for (std::size_t at = 64; at < original.size(); at += original.size() / 61) positions.push_back(at);
    for (std::size_t back = 1; back <= 160 && back < original.size(); ++back) positions.push_back(original.size() - back);
    for (const std::size_t at : positions) {
        std::string bytes = original;
        bytes[at] = static_cast<char>(bytes[at] ^ (0x01 << (at % 8)));
        const fs::path file = root / "flipped.7z";
        WriteAll(file, bytes);
        const fs::path out = root / "out" / "inner";
        fs::remove_all(root / "out");
        fs::create_directories(out);
        const Outcome outcome = Unpack(file, out);
        EXPECT_TRUE(outcome.init == kInitOpened || outcome.init == kInitNoArchive || outcome.init == kInitBadDatabase)
            << "byte " << at;
        if (outcome.init == kInitOpened) {
            EXPECT_TRUE(outcome.extract == kExtractDone || outcome.extract == kExtractFailed) << "byte " << at;
        }
        for (const auto& entry : fs::directory_iterator(root / "out")) {
            EXPECT_EQ(entry.path().filename(), "inner") << "byte " << at;
        }
    }
}

TEST_F(DecoderExportsTest, CancelledOnTheFirstQueryCreatesNoFileWithData) {
    const fs::path out = FreshFolder("cancel-first");
    RecordingSink sink;
    sink.cancelFromQuery = 1;
    EXPECT_EQ(Unpack(Archive("large"), out, &sink).extract, kExtractStopped);
    EXPECT_EQ(sink.cancelQueries, 1);
    for (const char* part : {"part1.txt", "part2.txt", "part3.txt"}) {
        EXPECT_FALSE(fs::exists(out / part)) << part;
    }
}

TEST_F(DecoderExportsTest, CancelledMidwayStops) {
    RecordingSink sink;
    sink.cancelFromQuery = 3;
    EXPECT_EQ(Unpack(Archive("large"), FreshFolder("cancel-later"), &sink).extract, kExtractStopped);
    EXPECT_EQ(sink.cancelQueries, 3);
}

TEST_F(DecoderExportsTest, SetCompletedAnsweringStopStops) {
    RecordingSink sink;
    sink.stopOnSetCompleted = true;
    EXPECT_EQ(Unpack(Archive("large"), FreshFolder("stop-progress"), &sink).extract, kExtractStopped);
    EXPECT_EQ(sink.completed.size(), 1u);
}

TEST_F(DecoderExportsTest, ClimbingNameIsRefusedBeforeAnythingIsWritten) {
    const fs::path root = FreshFolder("climbing");
    const fs::path out = root / "out";
    fs::create_directories(out);
    EXPECT_EQ(Unpack(Archive("climbing"), out).extract, kExtractFailed);
    EXPECT_FALSE(fs::exists(root / "outside.txt"));
    EXPECT_TRUE(fs::is_empty(out));
}

TEST_F(DecoderExportsTest, AbsoluteNameIsRefusedBeforeAnythingIsWritten) {
    const fs::path out = FreshFolder("absolute");
    const fs::path target = TestData() / "traversal" / "outside.txt";
    WriteAll(target, "unchanged\n");
    EXPECT_EQ(Unpack(Archive("absolute"), out).extract, kExtractFailed);
    EXPECT_EQ(ReadAll(target), "unchanged\n");
    EXPECT_TRUE(fs::is_empty(out));
}

TEST_F(DecoderExportsTest, OverlongJoinedPathIsRefused) {
    const fs::path out = FreshFolder("long");
    EXPECT_EQ(Unpack(Archive("long"), out).extract, kExtractFailed);
    EXPECT_TRUE(fs::is_empty(out));
}

TEST_F(DecoderExportsTest, EndExtractionIsSafeTwiceAndAfterAFailedOpen) {
    const fs::path file = FreshFolder("not-an-archive") / "plain.bin";
    WriteAll(file, std::string(5000, 'q'));
    const auto handle = OpenForReading(file);
    ExtractionContext context = ContextFor(handle->Handle(), 0, 5000, AsContextFolder(FreshFolder("x"), true));
    EXPECT_EQ(Exports().initExtraction(&context), kInitNoArchive);
    EXPECT_EQ(Exports().endExtraction(&context), 0);
    EXPECT_EQ(context.state, nullptr);
    EXPECT_EQ(Exports().endExtraction(&context), 0);
    EXPECT_EQ(context.state, nullptr);
}

// The space cases need a volume smaller than the archive's first file: a 1 MiB tmpfs.
class LowDiskSpace : public DecoderExportsTest {
protected:
    void SetUp() override {
        DecoderExportsTest::SetUp();
        out_ = FreshFolder("low-space");
        volume_ = MountSmallVolume(out_, 1024 * 1024);
        if (!volume_) {
            GTEST_SKIP() << "no small volume can be mounted here; the rule is covered by decoder_core_test";
        }
    }
    fs::path out_;
    std::unique_ptr<SmallVolume> volume_;
};

TEST_F(LowDiskSpace, WithoutHandlerStopsBeforeCreatingTheFile) {
    EXPECT_EQ(Unpack(Archive("large"), out_).extract, kExtractStopped);
    EXPECT_TRUE(fs::is_empty(out_));
}

TEST_F(LowDiskSpace, HandlerAnsweringZeroStops) {
    AnsweringSpaceHandler handler(0);
    EXPECT_EQ(Unpack(Archive("large"), out_, nullptr, &handler).extract, kExtractStopped);
    EXPECT_EQ(handler.calls, 1);
    EXPECT_EQ(handler.lastFolder, AsContextFolder(out_, true));
    EXPECT_EQ(handler.lastBytes, fs::file_size(TestData() / "src-large" / "part1.txt"));
    EXPECT_TRUE(fs::is_empty(out_));
}

TEST_F(LowDiskSpace, HandlerAnsweringGoOnWritesUntilTheDiskIsFull) {
    AnsweringSpaceHandler handler(1);
    EXPECT_EQ(Unpack(Archive("large"), out_, nullptr, &handler).extract, kExtractFailed);
    EXPECT_EQ(handler.calls, 1);
    EXPECT_TRUE(fs::exists(out_ / "part1.txt"));
}

}  // namespace
}  // namespace maglorin::test_support
