#include "message_text.h"

#include <gtest/gtest.h>

namespace maglorin {
namespace {

TEST(MessageFormatting, FillsEachPlaceholderInOrder) {
    EXPECT_EQ(FormatText(u"%s Setup", {u"Maglorin"}), u"Maglorin Setup");
    EXPECT_EQ(FormatText(u"%s can not be installed lower than %s.", {u"Kit", u"3.1"}),
              u"Kit can not be installed lower than 3.1.");
    EXPECT_EQ(FormatText(u"%s and %s", {u"one"}), u"one and %s") << "a missing argument leaves its placeholder";
    EXPECT_EQ(FormatText(u"%s", {u"100%s %d"}), u"100%s %d") << "arguments are never read as patterns";
    EXPECT_EQ(FormatText(u"no placeholder", {u"x"}), u"no placeholder");
    EXPECT_EQ(FormatText(u"", {}), u"");
}

TEST(MessageFormatting, ProgramBaseNameDropsFolderAndExtension) {
    EXPECT_EQ(ProgramBaseName(u"C:\\dist\\setup.exe"), u"setup");
    EXPECT_EQ(ProgramBaseName(u"C:\\my.dir\\Kit Setup.v2.exe"), u"Kit Setup.v2");
    EXPECT_EQ(ProgramBaseName(u"setup"), u"setup");
    EXPECT_EQ(ProgramBaseName(u"D:/x/.hidden"), u".hidden");
}

PayloadEntry Entry(PayloadFileType type, const char* name) {
    PayloadEntry entry;
    entry.type = type;
    for (const char* c = name; *c; ++c) entry.name.push_back(static_cast<PathChar>(*c));
    return entry;
}

TEST(LanguageList, LibraryLanguagesComeFromLeadingDigitsOfTypeTwelveEntries) {
    const std::vector<PayloadEntry> entries = {
        Entry(PayloadFileType::LanguageLibrary, "1031.dll"),
        Entry(PayloadFileType::PlainDatabase, "1033.dll"),
        Entry(PayloadFileType::LanguageLibrary, "lang.dll"),
        Entry(PayloadFileType::LanguageLibrary, "99999999999999.dll"),
        Entry(PayloadFileType::LanguageLibrary, "2055x.dll"),
    };
    EXPECT_EQ(LibraryLanguages(entries), (std::vector<std::uint16_t>{1031, 2055}));
}

TEST(LanguageList, OneLinePerLanguageJoinedByCarriageReturnLineFeed) {
    const auto name = [](std::uint16_t id) { return id == 1033 ? std::u16string(u"English") : std::u16string(u"German"); };
    EXPECT_EQ(LanguageListText({1033, 1031}, name), u"1033-English\r\n1031-German");
    EXPECT_EQ(LanguageListText({}, name), u"");
}

}  // namespace
}  // namespace maglorin
