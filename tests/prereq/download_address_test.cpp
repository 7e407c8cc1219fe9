#include "download_address.h"

#include <gtest/gtest.h>

namespace maglorin {
namespace {

struct SplitCase {
    const char16_t* text;
    DownloadScheme scheme;
    const char16_t* host;
    std::uint16_t port;
    const char16_t* user;
    const char16_t* password;
    const char16_t* path;
};

TEST(DownloadAddressTest, SplitsSchemeHostPortCredentialsAndPath) {
    const SplitCase cases[] = {
        {u"http://example.com/a/b.exe", DownloadScheme::Http, u"example.com", 80, u"", u"", u"/a/b.exe"},
        {u"HTTPS://Example.com:8443/x?y=1#frag", DownloadScheme::Https, u"Example.com", 8443, u"", u"", u"/x?y=1"},
        {u"ftp://joe:se:cret@127.0.0.1:2121/pub/f.bin", DownloadScheme::Ftp, u"127.0.0.1", 2121, u"joe", u"se:cret",
         u"/pub/f.bin"},
        {u"ftp://anon@host", DownloadScheme::Ftp, u"host", 21, u"anon", u"", u"/"},
        {u"http://host?q", DownloadScheme::Http, u"host", 80, u"", u"", u"/?q"},
        {u"http://[::1]:81/v6", DownloadScheme::Http, u"::1", 81, u"", u"", u"/v6"},
        {u"gopher://old.host/1", DownloadScheme::Gopher, u"old.host", 70, u"", u"", u"/1"},
        {u"file://server/share", DownloadScheme::Unknown, u"server", 0, u"", u"", u"/share"},
    };
    for (const SplitCase& c : cases) {
        DownloadAddress address;
        ASSERT_TRUE(SplitDownloadAddress(c.text, address)) << std::string(c.text, c.text + 10);
        EXPECT_EQ(address.scheme, c.scheme);
        EXPECT_EQ(address.host, c.host);
        EXPECT_EQ(address.port, c.port);
        EXPECT_EQ(address.userName, c.user);
        EXPECT_EQ(address.password, c.password);
        EXPECT_EQ(address.path, c.path);
    }
}

TEST(DownloadAddressTest, RefusesTextThatIsNoAddress) {
    for (const char16_t* text : {u"", u"example.com/a.exe", u"://host/a", u"http:///a", u"http://host:0/a",
                                 u"http://host:65536/a", u"http://host:8x/a", u"http://[::1/a", u"ht tp://host/a",
                                 u"http://user@/a"}) {
        DownloadAddress address;
        EXPECT_FALSE(SplitDownloadAddress(text, address)) << std::u16string(text).size();
    }
}

std::u16string NameOf(const char16_t* text) {
    DownloadAddress address;
    EXPECT_TRUE(SplitDownloadAddress(text, address));
    return FileNameFromAddress(address);
}

TEST(DownloadAddressTest, FileNameIsTheLastComponentOnlyWhenItIsASafeName) {
    EXPECT_EQ(NameOf(u"http://h/dir/setup.exe"), u"setup.exe");
    EXPECT_EQ(NameOf(u"http://h/dir/setup.exe?lang=1031"), u"setup.exe");
    EXPECT_EQ(NameOf(u"http://h/dir/My%20Setup.exe"), u"My Setup.exe");
    EXPECT_EQ(NameOf(u"http://h/dir/100%25.exe"), u"100%.exe");
    EXPECT_EQ(NameOf(u"http://h/dir/%E2%82%AC.exe"), u"%E2%82%AC.exe");
    // Nothing that could leave the download folder or mean something else to Windows.
    for (const char16_t* text : {u"http://h/", u"http://h/dir/", u"http://h/..", u"http://h/a/%2E%2E",
                                 u"http://h/a/..%5Cb.exe", u"http://h/a/%2Fetc", u"http://h/a/c%3A.exe",
                                 u"http://h/a/name.", u"http://h/a/x%00.exe", u"http://h?name.exe"}) {
        EXPECT_EQ(NameOf(text), u"") << std::u16string(text).size();
    }
}

TEST(DownloadAddressTest, LocalPathAndWorkingFile) {
    DownloadAddress address;
    ASSERT_TRUE(SplitDownloadAddress(u"http://h/pkg/redist.msi", address));
    EXPECT_EQ(FormLocalPath(u"C:\\dl\\given.msi", address), u"C:\\dl\\given.msi");
    EXPECT_EQ(FormLocalPath(u"C:\\dl\\", address), u"C:\\dl\\redist.msi");
    EXPECT_EQ(FormLocalPath(u"", address), u"");
    ASSERT_TRUE(SplitDownloadAddress(u"http://h/pkg/", address));
    EXPECT_EQ(FormLocalPath(u"C:\\dl\\", address), u"");
    EXPECT_EQ(WorkingFilePath(u"C:\\dl\\redist.msi"), u"C:\\dl\\redist.msi.part");
}

TEST(DownloadAddressTest, RangeHeaderOnlyWhenResuming) {
    EXPECT_EQ(RangeHeader(0), u"");
    EXPECT_EQ(RangeHeader(1048576), u"Range: bytes=1048576-\r\n");
    EXPECT_EQ(RangeHeader(4294967295u), u"Range: bytes=4294967295-\r\n");
}

}  // namespace
}  // namespace maglorin
