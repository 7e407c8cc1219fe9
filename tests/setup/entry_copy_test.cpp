// The copy of a plain entry: exact bytes in 64 KiB blocks, progress after each block, a cancel
// before a block, and a window that runs past the file is a read error, not a shorter copy.
#include <gtest/gtest.h>

#include "entry_copy.h"
#include "extraction_result.h"
#include "package_test_support.h"

namespace maglorin {
namespace {

class MemoryOutput final : public EntryOutput {
public:
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> writes;
    bool fail = false;
    bool Write(const std::uint8_t* data, std::size_t count) override {
        if (fail) return false;
        bytes.insert(bytes.end(), data, data + count);
        writes.push_back(count);
        return true;
    }
};

class CountingProgress final : public ExtractProgressSink {
public:
    int cancelAtQuery = -1;
    int queries = 0;
    std::vector<std::uint64_t> completed;
    void SetTotal(std::uint64_t) override {}
    bool SetCompleted(std::uint64_t done) override {
        completed.push_back(done);
        return false;
    }
    bool IsCancelled() override { return cancelAtQuery >= 0 && queries++ >= cancelAtQuery; }
};

struct Fixture {
    test_support::TempFolder folder;
    std::vector<std::uint8_t> data = test_support::PatternBytes(3 * kEntryCopyBlock + 123, 7);
    PayloadReader reader;
    Fixture() {
        PackageContents contents;
        contents.programImage = std::vector<std::uint8_t>(2048, 0x90);
        contents.entries.push_back({PayloadGroup::FirstSeparate, PayloadFileType::PlainPrerequisite, 0,
                                    test_support::Name("big.bin"), data});
        test_support::WriteTestPackage(contents, folder / "p.exe");
        EXPECT_EQ(reader.Open(folder / "p.exe"), kResultSuccess);
    }
};

TEST(EntryCopyTest, CopiesTheExactBytesInBlocksWithProgress) {
    Fixture f;
    MemoryOutput output;
    CountingProgress progress;
    EXPECT_EQ(CopyEntryData(f.reader.ReadWindow(0), output, &progress), kResultSuccess);
    EXPECT_EQ(output.bytes, f.data);
    EXPECT_EQ(output.writes, (std::vector<std::size_t>{65536, 65536, 65536, 123}));
    EXPECT_EQ(progress.completed, (std::vector<std::uint64_t>{65536, 131072, 196608, 196731}));
    MemoryOutput quiet;
    EXPECT_EQ(CopyEntryData(f.reader.ReadWindow(0), quiet, nullptr), kResultSuccess);
    EXPECT_EQ(quiet.bytes, f.data);
}

TEST(EntryCopyTest, CancelWriteFailureAndShortSourceAreNotSuccess) {
    Fixture f;
    CountingProgress cancelling;
    cancelling.cancelAtQuery = 2;
    MemoryOutput partial;
    EXPECT_EQ(CopyEntryData(f.reader.ReadWindow(0), partial, &cancelling), kResultCancelled);
    EXPECT_EQ(partial.bytes.size(), 2u * kEntryCopyBlock);

    MemoryOutput failing;
    failing.fail = true;
    EXPECT_EQ(CopyEntryData(f.reader.ReadWindow(0), failing, nullptr), kResultReadError);

    EntryWindow pastTheEnd = f.reader.ReadWindow(0);
    pastTheEnd.size = static_cast<std::uint32_t>(pastTheEnd.size + 100000);  // more than the file holds
    MemoryOutput shortCopy;
    EXPECT_EQ(CopyEntryData(pastTheEnd, shortCopy, nullptr), kResultReadError);

    MemoryOutput none;
    EXPECT_EQ(CopyEntryData(EntryWindow{}, none, nullptr), kResultReadError);
}

}  // namespace
}  // namespace maglorin
