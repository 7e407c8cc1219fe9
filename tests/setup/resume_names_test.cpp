// The names under which setup registers itself to run after a restart, and the Run value's data.

#include <gtest/gtest.h>

#include "resume_names.h"

namespace maglorin {
namespace {

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

TEST(ResumeNames, WorkItemNameReplacesEveryReservedCharacter) {
    EXPECT_EQ(WorkItemName(u"C:\\dist\\setup.exe"), u"C__dist_setup.exe.job");
    EXPECT_EQ(WorkItemName(u"\\\\server/share:*?\"<>|x"), u"__server_share_______x.job");
    EXPECT_EQ(WorkItemName(u"D:\\My Files\\setup.exe"), u"D__My Files_setup.exe.job");
    EXPECT_EQ(WorkItemName(u""), u".job");
}

TEST(ResumeNames, WorkItemApplicationIsQuotedOnce) {
    EXPECT_EQ(WorkItemApplication(u"C:\\dist\\setup.exe"), u"\"C:\\dist\\setup.exe\"");
    EXPECT_EQ(WorkItemApplication(u"\"C:\\a b\\setup.exe\""), u"\"C:\\a b\\setup.exe\"");
}

TEST(ResumeNames, RunValueNameKeepsTheLast79Characters) {
    for (const std::size_t length : {1u, 78u, 79u, 80u, 100u, 300u}) {
        std::u16string path = u"C:\\";
        for (std::size_t i = 0; path.size() + 4 < length; ++i) path += static_cast<char16_t>(u'a' + i % 26);
        path += u".exe";
        path.resize(length, u'x');
        const std::u16string name = RunValueName(path);
        if (length < 80) {
            EXPECT_EQ(name, path) << length;
        } else {
            EXPECT_EQ(name.size(), 79u) << length;
            EXPECT_EQ(name, path.substr(length - 79)) << length;
        }
        EXPECT_EQ(RunValueName(path), name) << "the same path always gives the same name";
    }
}

TEST(ResumeNames, RunValueDataQuotesPathsWithBlanks) {
    struct Case {
        std::u16string_view path;
        std::u16string_view arguments;
        std::u16string_view data;
    };
    const Case cases[] = {
        {u"C:\\dist\\setup.exe", u"", u"C:\\dist\\setup.exe"},
        {u"C:\\dist\\setup.exe", u"/exelang 1031", u"C:\\dist\\setup.exe /exelang 1031"},
        {u"C:\\dist\\setup.exe", u" /q", u"C:\\dist\\setup.exe /q"},
        // Without arguments too: otherwise the system would run "C:\Program.exe".
        {u"C:\\Program Files\\setup.exe", u"", u"\"C:\\Program Files\\setup.exe\""},
        {u"C:\\Program Files\\setup.exe", u"/q", u"\"C:\\Program Files\\setup.exe\" /q"},
        {u"\"C:\\Program Files\\setup.exe\"", u"/q", u"\"C:\\Program Files\\setup.exe\" /q"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunValueData(c.path, c.arguments), c.data) << Narrow(c.path) << " + " << Narrow(c.arguments);
    }
}

TEST(ResumeNames, OnlyAMissingOrLongRunValueIsWritten) {
    EXPECT_TRUE(RunValueNeedsWriting(std::nullopt));
    EXPECT_FALSE(RunValueNeedsWriting(0));
    EXPECT_FALSE(RunValueNeedsWriting(200));
    EXPECT_TRUE(RunValueNeedsWriting(201));
}

}  // namespace
}  // namespace maglorin
