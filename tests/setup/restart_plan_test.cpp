#include "restart_plan.h"

#include <gtest/gtest.h>

namespace maglorin {
namespace {

TEST(FixedDiskRestart, OnlyFromRemovableDrivesWithFilesBeside) {
    const PackageFlags beside = PackageFlags::FilesBesideSetup | PackageFlags::HasConfiguration;
    EXPECT_TRUE(NeedsFixedDiskRestart(false, beside, u"E:\\setup.exe", false));
    EXPECT_FALSE(NeedsFixedDiskRestart(true, beside, u"E:\\setup.exe", false)) << "a restarted copy never restarts";
    EXPECT_FALSE(NeedsFixedDiskRestart(false, PackageFlags::HasConfiguration, u"E:\\setup.exe", false));
    EXPECT_FALSE(NeedsFixedDiskRestart(false, beside, u"C:\\setup.exe", true));
    EXPECT_FALSE(NeedsFixedDiskRestart(false, beside, u"\\\\server\\share\\setup.exe", false));
    EXPECT_TRUE(NeedsFixedDiskRestart(false, beside, u"\\\\?\\E:\\setup.exe", false)) << "a prefixed drive path is no share";
}

TEST(FixedDiskRestart, CommandLineKeepsInterfaceOptionsAndTailButNeverThePassword) {
    const ParsedCommandLine parsed = ParseCommandLine(
        u"/exenoui /exelang 1031 /username:\"ann b\" /password:secret /exelog:\"C:\\l o g.txt\" /qn X=\"1 2\"");
    const std::u16string line = RestartCommandLine(u"C:\\Temp\\setup.exe", u"E:\\setup.exe", parsed);
    EXPECT_EQ(line,
              u"\"C:\\Temp\\setup.exe\" /OriginalPath:\"E:\\setup.exe\" /exenoui /exelang 1031"
              u" /exelog:\"C:\\l o g.txt\" /username:\"ann b\" /qn X=\"1 2\"");
    EXPECT_EQ(line.find(u"secret"), std::u16string::npos);
    EXPECT_EQ(line.find(u"/password"), std::u16string::npos);
}

// The command line stored for the run after a restart keeps the same options, and the same
// never holds the password.
TEST(ResumeArguments, KeepInterfaceOptionsAndTailButNeverThePassword) {
    const ParsedCommandLine parsed = ParseCommandLine(u"/password:\"p w\" /exebasicui /qb REBOOT=R");
    const std::u16string kept = KeptOptionsAndTail(parsed);
    EXPECT_EQ(kept, u" /exebasicui /qb REBOOT=R");
    EXPECT_EQ(kept.find(u"p w"), std::u16string::npos);
    EXPECT_EQ(KeptOptionsAndTail(ParseCommandLine(u"")), u"");
}

TEST(FixedDiskRestart, RestartedCopyParsesBackToTheSameRun) {
    const ParsedCommandLine original = ParseCommandLine(u"/exebasicui /qb REBOOT=R");
    const std::u16string line = RestartCommandLine(u"C:\\T\\s.exe", u"E:\\dir with blank\\s.exe", original);
    // The copy receives its command line without its own program name.
    const std::u16string arguments = line.substr(line.find(u"\" ") + 2);
    const ParsedCommandLine copy = ParseCommandLine(arguments);
    ASSERT_NE(copy.Find(OptionId::OriginalPath), nullptr);
    EXPECT_EQ(copy.Find(OptionId::OriginalPath)->value, u"E:\\dir with blank\\s.exe");
    EXPECT_TRUE(copy.Has(OptionId::BasicUi));
    EXPECT_EQ(copy.tail, original.tail);
    EXPECT_EQ(ChooseRunMode(copy), RunMode::Install);
}

TEST(FixedDiskRestart, TailWithoutLeadingBlankIsSeparated) {
    ParsedCommandLine parsed;
    parsed.tail = u"/qn";
    EXPECT_EQ(RestartCommandLine(u"C:\\c.exe", u"E:\\p.exe", parsed), u"\"C:\\c.exe\" /OriginalPath:\"E:\\p.exe\" /qn");
}

TEST(SelfDelete, OnlyTheCopyThisFlowMadeDeletesItself) {
    const std::u16string temp = u"C:\\Users\\u\\Temp\\";
    EXPECT_TRUE(IsOwnTemporaryCopy(u"C:\\Users\\u\\Temp\\setup.exe", temp, u"C:\\Users\\u\\Temp\\setup.exe"));
    EXPECT_TRUE(IsOwnTemporaryCopy(u"c:\\users\\U\\TEMP\\setup.exe", u"C:\\Users\\u\\Temp", u"C:\\USERS\\u\\Temp\\SETUP.exe"));
    // Typed by hand: no marker, or a marker naming another file.
    EXPECT_FALSE(IsOwnTemporaryCopy(u"C:\\Users\\u\\Temp\\setup.exe", temp, u""));
    EXPECT_FALSE(IsOwnTemporaryCopy(u"C:\\Users\\u\\Temp\\setup.exe", temp, u"C:\\Users\\u\\Temp\\other.exe"));
    // The user's own setup.exe outside the temporary folder, even with a matching marker.
    EXPECT_FALSE(IsOwnTemporaryCopy(u"D:\\setup.exe", temp, u"D:\\setup.exe"));
    EXPECT_FALSE(IsOwnTemporaryCopy(u"C:\\Users\\u\\Temp\\sub\\setup.exe", temp, u"C:\\Users\\u\\Temp\\sub\\setup.exe"));
    EXPECT_FALSE(IsOwnTemporaryCopy(u"", temp, u""));
}

TEST(SelfDelete, ScriptDeletesCopyWithBoundedRetriesThenItself) {
    const std::string script = SelfDeleteScript("C:\\TEMP\\SETUP~1.EXE", "C:\\TEMP\\EXE1A.tmp.bat");
    EXPECT_EQ(script,
              "@echo off \r\n"
              "set tries=0\r\n"
              "ATTRIB -r \"C:\\TEMP\\SETUP~1.EXE\" \r\n"
              ":try \r\n"
              "set /a tries+=1\r\n"
              "del \"C:\\TEMP\\SETUP~1.EXE\" \r\n"
              "if exist \"C:\\TEMP\\SETUP~1.EXE\" if %tries% LSS 2000 goto try\r\n"
              "ATTRIB -r \"C:\\TEMP\\EXE1A.tmp.bat\" \r\n"
              "del \"C:\\TEMP\\EXE1A.tmp.bat\" | cls");
}

}  // namespace
}  // namespace maglorin
