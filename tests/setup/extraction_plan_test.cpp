// Which entries a request extracts, the groups of "/extract", the main entry, prerequisite
// lookups, the space check and question, and the library's answers in setup's numbering.
#include <gtest/gtest.h>

#include <map>

#include "extraction_plan.h"
#include "extraction_result.h"
#include "free_space.h"
#include "low_space_question.h"

namespace maglorin {
namespace {

PathText P(std::string_view ascii) { return PathFromAscii(ascii); }

PayloadEntry E(std::uint32_t group, std::uint32_t type, const char* name, bool extracted = false) {
    PayloadEntry entry;
    entry.group = static_cast<PayloadGroup>(group);
    entry.type = static_cast<PayloadFileType>(type);
    entry.name = P(name);
    entry.extracted = extracted;
    return entry;
}

const std::vector<PayloadEntry> kTable = {
    E(0, 3, "setup.ini"),   E(2, 8, "decoder.dll"), E(3, 7, "PKG\\setup.7z"), E(3, 6, "PKG\\FILES.7z"),
    E(100, 4, "pre.exe"),   E(100, 9, "pre.7z"),    E(101, 10, "more.7z", true), E(1, 0, "main.msi"),
    E(101, 11, "one.txt"),  E(0, 12, "1033.dll"),   E(100, 4, "pre.exe"),
};

TEST(ExtractionPlanTest, GroupsGiveTheirEntriesInTableOrderSplitByKind) {
    struct Case {
        std::vector<std::int32_t> groups;
        std::vector<std::size_t> plain;
        std::vector<std::size_t> archives;
    } cases[] = {
        {{3}, {}, {2, 3}},
        {{100}, {4, 10}, {5}},
        {{101}, {8}, {}},  // the archive of 101 is already extracted
        {{1, 2}, {1, 7}, {}},
        {{0}, {0, 9}, {}},
        {{7}, {}, {}},
        {{}, {}, {}},
    };
    for (const Case& c : cases) {
        const ExtractionPlan plan = PlanGroups(kTable, c.groups);
        EXPECT_EQ(plan.plainEntries, c.plain);
        EXPECT_EQ(plan.archiveEntries, c.archives);
    }
}

TEST(ExtractionPlanTest, ExtractCommandTakesGroups1And3And100Up) {
    EXPECT_EQ(GroupsForExtractCommand(kTable), (std::vector<std::int32_t>{3, 100, 101, 1}));
    EXPECT_TRUE(GroupsForExtractCommand({E(0, 3, "a"), E(2, 8, "b")}).empty());
}

TEST(ExtractionPlanTest, MainEntryAndPrerequisiteLookups) {
    constexpr std::size_t none = 999;
    EXPECT_EQ(MainPackageEntry(kTable, PackageFlags::DatabaseInArchive, none), 2u);
    EXPECT_EQ(MainPackageEntry(kTable, PackageFlags::None, none), 7u);
    EXPECT_EQ(MainPackageEntry({E(3, 6, "x")}, PackageFlags::DatabaseInArchive, none), none);
    EXPECT_EQ(MainPackageGroup(PackageFlags::DatabaseInArchive), PayloadGroup::CompressedDatabase);
    EXPECT_EQ(MainPackageGroup(PackageFlags::ExtractOnRequest), PayloadGroup::PlainDatabase);
    EXPECT_EQ(PrerequisiteEntry(kTable, P("pre.exe"), none), 4u);
    EXPECT_EQ(PrerequisiteEntry(kTable, P("pre.7z"), none), 5u);
    EXPECT_EQ(PrerequisiteEntry(kTable, P("PRE.EXE"), none), none);  // exact names
    EXPECT_EQ(PrerequisiteEntry(kTable, P("one.txt"), none), none);  // type 11 is no prerequisite
}

TEST(ExtractionPlanTest, LibraryAnswersInSetupsNumbering) {
    EXPECT_EQ(ArchiveExtractionResult(0), kResultSuccess);
    EXPECT_EQ(ArchiveExtractionResult(3), kResultExtractionFailed);
    EXPECT_EQ(ArchiveExtractionResult(5), kResultCancelled);
    EXPECT_EQ(ArchiveExtractionResult(1), kResultExtractionFailed);   // never taken as success
    EXPECT_EQ(ArchiveExtractionResult(-1), kResultExtractionFailed);
}

// Free bytes per path; paths not listed cannot be answered.
class TableFreeSpace final : public FreeSpaceQuery {
public:
    std::map<PathText, std::uint64_t> free;
    std::vector<PathText> asked;
    std::optional<std::uint64_t> FreeBytes(PathTextView path) override {
        asked.emplace_back(path);
        const auto it = free.find(PathText(path));
        if (it == free.end()) return std::nullopt;
        return it->second;
    }
};

TEST(FreeSpaceTest, WalksUpUntilAnsweredAndNeedsStrictlyLess) {
    TableFreeSpace query;
    query.free[P("C:\\")] = 100;
    EXPECT_TRUE(HasRoomFor(query, P("C:\\a\\b\\"), 99));
    EXPECT_EQ(query.asked, (std::vector<PathText>{P("C:\\a\\b"), P("C:\\a"), P("C:\\")}));
    EXPECT_FALSE(HasRoomFor(query, P("C:\\a\\b\\"), 100));  // exactly the free space fails

    TableFreeSpace prefixed;  // prefixed and network paths keep their final separator
    prefixed.free[P("\\\\?\\C:\\")] = 50;
    EXPECT_TRUE(HasRoomFor(prefixed, P("\\\\?\\C:\\x\\y"), 10));
    EXPECT_EQ(prefixed.asked, (std::vector<PathText>{P("\\\\?\\C:\\x\\y\\"), P("\\\\?\\C:\\x\\"), P("\\\\?\\C:\\")}));

    TableFreeSpace nothing;  // never answered: fails once the root is passed
    EXPECT_FALSE(HasRoomFor(nothing, P("C:\\a\\b\\"), 1));
    EXPECT_FALSE(HasRoomFor(nothing, P("\\\\server\\share\\dir\\"), 1));
    EXPECT_FALSE(HasRoomFor(nothing, P(""), 1));
}

class ScriptedPrompt final : public RetryPrompt {
public:
    std::vector<bool> answers;  // true = Retry
    std::vector<PathText> texts;
    std::function<void()> onRetry;
    bool AskRetry(PathTextView text) override {
        texts.emplace_back(text);
        if (texts.size() > answers.size()) return false;
        const bool retry = answers[texts.size() - 1];
        if (retry && onRetry) onRetry();
        return retry;
    }
};

TEST(LowSpaceQuestionTest, StopsAtOnceWithoutUserInterface) {
    TableFreeSpace query;
    ScriptedPrompt prompt;
    prompt.answers = {true};
    LowSpaceQuestion question(false, &prompt, query);
    const PathText folder = P("\\\\?\\C:\\X\\");
    EXPECT_EQ(question.OnLowDiskSpace(folder.c_str(), 10), 0);
    EXPECT_TRUE(prompt.texts.empty());
}

TEST(LowSpaceQuestionTest, RetryChecksAgainAndCancelStops) {
    TableFreeSpace query;
    query.free[P("\\\\?\\C:\\")] = 5;
    ScriptedPrompt prompt;
    prompt.answers = {true, true, true};
    int retries = 0;
    prompt.onRetry = [&] {
        if (++retries == 2) query.free[P("\\\\?\\C:\\")] = 500;  // the user freed space
    };
    LowSpaceQuestion question(true, &prompt, query);
    const PathText folder = P("\\\\?\\C:\\X\\");
    EXPECT_EQ(question.OnLowDiskSpace(folder.c_str(), 10), 1);
    ASSERT_EQ(prompt.texts.size(), 2u);
    EXPECT_EQ(prompt.texts[0], P("There is not enough space in folder:C:\\X\\\r\nPlease free some space and press "
                                 "Retry or press Cancel to abort the installation."));

    ScriptedPrompt cancelling;
    cancelling.answers = {true, false};
    query.free[P("\\\\?\\C:\\")] = 5;
    LowSpaceQuestion cancelled(true, &cancelling, query);
    EXPECT_EQ(cancelled.OnLowDiskSpace(folder.c_str(), 10), 0);
    EXPECT_EQ(cancelling.texts.size(), 2u);
}

}  // namespace
}  // namespace maglorin
