// The command line of decoder-extract.
#include <gtest/gtest.h>

#include "extract_command_line.h"

namespace maglorin::extract_tool {
namespace {

struct Row {
    std::vector<std::string> arguments;
    bool accepted;
    std::uint64_t offset;
    std::optional<std::uint64_t> size;
};

TEST(ExtractCommandLine, ParsesArchiveFolderOffsetAndSize) {
    const Row rows[] = {
        {{"a.7z", "out"}, true, 0, std::nullopt},
        {{"a.7z", "out", "--offset", "4096"}, true, 4096, std::nullopt},
        {{"--size", "10", "a.7z", "--offset", "7", "out"}, true, 7, 10},
        {{"a.7z", "out", "--offset", "18446744073709551615"}, true, UINT64_MAX, std::nullopt},
        {{"a.7z", "out", "--offset", "18446744073709551616"}, false, 0, std::nullopt},
        {{"a.7z", "out", "--offset", "-1"}, false, 0, std::nullopt},
        {{"a.7z", "out", "--offset", "0x10"}, false, 0, std::nullopt},
        {{"a.7z", "out", "--offset"}, false, 0, std::nullopt},
        {{"a.7z", "out", "--level", "9"}, false, 0, std::nullopt},
        {{"a.7z"}, false, 0, std::nullopt},
        {{"a.7z", "out", "extra"}, false, 0, std::nullopt},
        {{}, false, 0, std::nullopt},
    };
    for (const Row& row : rows) {
        const ParseResult result = ParseExtractCommand(row.arguments);
        ASSERT_EQ(result.command.has_value(), row.accepted) << ::testing::PrintToString(row.arguments);
        if (row.accepted) {
            EXPECT_EQ(result.command->archive, "a.7z");
            EXPECT_EQ(result.command->outputFolder, "out");
            EXPECT_EQ(result.command->offset, row.offset);
            EXPECT_EQ(result.command->size, row.size);
        } else {
            EXPECT_FALSE(result.error.empty());
        }
    }
}

}  // namespace
}  // namespace maglorin::extract_tool
