#include "setup_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace maglorin {
namespace {

TEST(LogMasking, HidesPasswordOptionAndPasswordProperties) {
    struct Case {
        std::u16string in;
        std::u16string out;
    };
    const Case cases[] = {
        {u"/qn REBOOT=R", u"/qn REBOOT=R"},
        {u"/password:abc /qn", u"/password:**** /qn"},
        {u"/password:\"a b c\" /qn", u"/password:\"****\" /qn"},
        {u"/password:  x", u"/password:  ****"},
        {u"/PASSWORD:x", u"/PASSWORD:****"},
        {u"/i a.msi DBPASSWORD=hunter2 USER=bob", u"/i a.msi DBPASSWORD=**** USER=bob"},
        {u"SQL_Pwd=\"two words\" X=1", u"SQL_Pwd=\"****\" X=1"},
        {u"Passwd=a=b", u"Passwd=****"},
        {u"PASSWORDHINT=x", u"PASSWORDHINT=****"},
        {u"NOTE=password=1", u"NOTE=password=1"},
        {u"A=1 SERVICEPASSWORD=", u"A=1 SERVICEPASSWORD=****"},
        {u"/password:", u"/password:****"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SetupLog::MaskSecrets(c.in), c.out) << std::string(c.in.begin(), c.in.end());
    }
}

TEST(LogFile, AppendsUtf8LinesAndIsQuietWithoutAFile) {
    SetupLog closed;
    closed.Write(u"nothing happens");
    EXPECT_FALSE(closed.IsOpen());

    const std::filesystem::path file = std::filesystem::temp_directory_path() / "maglorin_setup_log_test.txt";
    std::filesystem::remove(file);
    {
        std::ofstream(file, std::ios::binary) << "earlier run\r\n";
        SetupLog log;
        ASSERT_TRUE(log.Open(file));
        log.Write(u"step: Preparing...");
        log.Write(u"message: two\nlines \u00e9\u20ac\U0001F600");
    }
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(),
              "earlier run\r\nstep: Preparing...\r\nmessage: two lines \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\r\n");
    in.close();
    std::filesystem::remove(file);
}

TEST(LogFile, OpenFailsForAFolder) {
    SetupLog log;
    EXPECT_FALSE(log.Open(std::filesystem::temp_directory_path()));
    EXPECT_FALSE(log.IsOpen());
}

TEST(LogText, LoneSurrogateBecomesReplacementCharacter) {
    EXPECT_EQ(Utf8FromUtf16(std::u16string(1, static_cast<char16_t>(0xD800)) + u"a"), "\xEF\xBF\xBD" "a");
}

}  // namespace
}  // namespace maglorin
