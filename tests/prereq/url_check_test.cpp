// The address check under Wine against the fixture's servers on 127.0.0.1.
#include "url_check_win32.h"

#include <gtest/gtest.h>

#include "download_test_support_win32.h"

namespace maglorin {
namespace {

using test_support::Url;

class UrlCheckTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(test_support::ReadServerPorts(ports)) << "the download_servers fixture is not running"; }
    UrlCheckOptions Options() const {
        UrlCheckOptions options;
        options.retryPauseMs = 20;
        return options;
    }
    test_support::ServerPorts ports;
};

TEST_F(UrlCheckTest, OnlyATwoHundredAnswerIsReachable) {
    EXPECT_TRUE(IsUrlReachable(Url("http", ports.http, "/kit.bin"), Options()));
    EXPECT_TRUE(IsUrlReachable(Url("http", ports.test, "/file/10"), Options()));
    EXPECT_EQ(CheckUrl(Url("http", ports.http, "/missing.msi"), Options()), kDownloadNotFound);
    EXPECT_EQ(CheckUrl(Url("http", ports.http, "/forbidden"), Options()), kDownloadForbidden);
    for (const char* path : {"/status/500", "/status/302", "/status/304", "/status/416", "/status/100"}) {
        EXPECT_FALSE(IsUrlReachable(Url("http", ports.test, path), Options())) << path;
    }
    EXPECT_EQ(CheckUrl(Url("http", ports.http, "/private/kit.bin"), Options()), kDownloadNeedsCredentials);
}

TEST_F(UrlCheckTest, CredentialsAndSchemes) {
    test_support::TestPrompt prompt;
    prompt.hasStored = true;
    prompt.stored = Credentials{u"kit", u"secret"};
    UrlCheckOptions options = Options();
    options.prompt = &prompt;
    EXPECT_TRUE(IsUrlReachable(Url("http", ports.http, "/private/kit.bin"), options));
    EXPECT_EQ(prompt.found, 1);
    EXPECT_EQ(prompt.asked, 0);

    EXPECT_TRUE(IsUrlReachable(Url("ftp", ports.ftp, "/kit.bin"), Options()));
    EXPECT_FALSE(IsUrlReachable(Url("ftp", ports.ftp, "/missing.msi"), Options()));
    EXPECT_EQ(CheckUrl(u"gopher://127.0.0.1/1", Options()), kDownloadUnsupportedScheme);
    EXPECT_EQ(CheckUrl(u"not an address", Options()), kDownloadBadAddress);
    EXPECT_EQ(CheckUrl(u"http://127.0.0.1:1/setup.msi", Options()), kInternetCannotConnect);
}

}  // namespace
}  // namespace maglorin
