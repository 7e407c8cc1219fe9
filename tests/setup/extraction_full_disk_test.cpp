// A really full disk under Wine: drive S: is a 2 MiB tmpfs (small_drive.sh). The copy of an
// entry that does not fit asks the low-space question through the system's own free-space
// answer; an archive whose file does not fit reaches the same question through decoder.dll.
#include <gtest/gtest.h>

#include "extraction_test_support_win32.h"
#include "payload_extractor.h"

namespace maglorin {
namespace {

using namespace test_support;

constexpr const wchar_t* kDrive = L"S:\\";

PathText SmallDriveFolder(const std::wstring& name) {
    const PathText folder = std::wstring(kDrive) + name + L"\\";
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    return folder;
}

struct Case {
    const char* what;
    std::int32_t group;  // 100: the 3 MB plain entry; 101: the archive of a 4 MB file
    bool userInterface;
    int result;
    int asked;
};

TEST(ExtractionFullDiskTest, AnEntryThatDoesNotFitAsksOrStops) {
    if (::GetFileAttributesW(kDrive) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "no drive S: (small_drive.sh could not mount a tmpfs)";
    }
    const Case cases[] = {
        {"plain copy, no user interface", 100, false, kResultNotEnoughSpace, 0},
        {"plain copy, Retry on a still full disk, then Cancel", 100, true, kResultNotEnoughSpace, 2},
        // The library's question answered stop is its result 5, which setup reads as a cancel.
        {"archive, no user interface", 101, false, kResultCancelled, 0},
        {"archive, Retry on a still full disk, then Cancel", 101, true, kResultCancelled, 2},
    };
    for (const Case& c : cases) {
        PayloadReader reader;
        ASSERT_EQ(reader.Open(Data("large.pkg")), kResultSuccess);
        const PathText folder = SmallDriveFolder(L"full");
        ScriptedPrompt prompt;
        prompt.answers = {true};  // Retry once, then Cancel
        RecordedMessages messages;
        ExtractionSettings settings;
        settings.userInterfaceEnabled = c.userInterface;
        {
            PayloadExtractor extractor(reader, settings, {nullptr, &prompt, &messages});
            extractor.SetExtractionFolder(folder);
            EXPECT_EQ(extractor.ExtractGroups({c.group}, nullptr), c.result) << c.what;
            EXPECT_EQ(prompt.asked, c.asked) << c.what;
            EXPECT_FALSE(Exists(folder + L"big\\large.bin")) << c.what;   // never started
            EXPECT_FALSE(Exists(folder + L"bigarchive\\big.txt")) << c.what;
            if (c.asked > 0) {
                // The copy asks about the extraction folder, the library about the archive's output folder.
                const PathText asked = c.group == 100 ? folder : folder + L"bigarchive\\";
                EXPECT_EQ(prompt.lastText, LowSpaceText(asked)) << c.what;
            }
        }
        EXPECT_FALSE(Exists(folder + L"decoder.dll")) << c.what;  // gone at exit
    }
}

}  // namespace
}  // namespace maglorin
