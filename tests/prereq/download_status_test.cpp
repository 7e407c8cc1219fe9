#include "download_status.h"

#include <gtest/gtest.h>

namespace maglorin {
namespace {

struct StatusCase {
    const char* what;
    HttpAnswer answer;
    std::uint32_t offset;
    HttpNext next;
    DownloadResult result;
    std::uint32_t total;
    std::uint32_t newOffset;
};

TEST(DownloadStatusTest, StatusTable) {
    const StatusCase cases[] = {
        {"fresh 200", {200, 5000, u""}, 0, HttpNext::Transfer, 0, 5000, 0},
        {"200 without length", {200, std::nullopt, u""}, 0, HttpNext::Transfer, 0, 0, 0},
        {"200 to a range: whole file again", {200, 5000, u""}, 1000, HttpNext::Transfer, 0, 5000, 0},
        {"200 as long as the working file", {200, 5000, u""}, 5000, HttpNext::Complete, 0, 5000, 5000},
        {"200 shorter than the working file", {200, 4000, u""}, 5000, HttpNext::Fail, kDownloadNothingNew, 0, 0},
        {"206 resumes", {206, 4000, u"bytes 1000-4999/5000"}, 1000, HttpNext::Transfer, 0, 5000, 1000},
        {"206 without range header", {206, 4000, u""}, 1000, HttpNext::Transfer, 0, 5000, 1000},
        {"206 without any length keeps appending", {206, std::nullopt, u""}, 1000, HttpNext::Transfer, 0, 0, 1000},
        {"206 at the wrong place", {206, 5000, u"bytes 0-4999/5000"}, 1000, HttpNext::RestartFromZero,
         kDownloadWrongRange, 0, 0},
        {"206 with a broken range", {206, 5000, u"bytes 1000-"}, 1000, HttpNext::RestartFromZero, kDownloadWrongRange,
         0, 0},
        {"206 to no range at all", {206, 100, u"bytes 100-199/200"}, 0, HttpNext::RestartFromZero,
         kDownloadWrongRange, 0, 0},
        {"206 with nothing left", {206, 0, u""}, 5000, HttpNext::Complete, 0, 5000, 5000},
        {"416 for a complete working file", {416, 0, u"bytes */5000"}, 5000, HttpNext::Complete, 0, 5000, 5000},
        {"416 for a stale working file", {416, 0, u"bytes */3000"}, 5000, HttpNext::RestartFromZero,
         kDownloadHttpStatus, 0, 0},
        {"416 without a range asked", {416, 0, u"bytes */3000"}, 0, HttpNext::Fail, kDownloadHttpStatus, 0, 0},
        {"304", {304, std::nullopt, u""}, 0, HttpNext::Fail, kDownloadNotModified, 0, 0},
        {"401", {401, 20, u""}, 0, HttpNext::AskCredentials, kDownloadNeedsCredentials, 0, 0},
        {"407", {407, 20, u""}, 700, HttpNext::AskCredentials, kDownloadNeedsCredentials, 0, 0},
        {"403", {403, 20, u""}, 700, HttpNext::Fail, kDownloadForbidden, 0, 0},
        {"404", {404, 20, u""}, 700, HttpNext::Fail, kDownloadNotFound, 0, 0},
        {"410", {410, 20, u""}, 0, HttpNext::Fail, kDownloadNotFound, 0, 0},
        // Error pages and redirects are never written as the file.
        {"500", {500, 300, u""}, 0, HttpNext::Fail, kDownloadHttpStatus, 0, 0},
        {"502", {502, 300, u""}, 0, HttpNext::Fail, kDownloadHttpStatus, 0, 0},
        {"302 not followed", {302, 150, u""}, 0, HttpNext::Fail, kDownloadHttpStatus, 0, 0},
        {"204", {204, std::nullopt, u""}, 0, HttpNext::Fail, kDownloadHttpStatus, 0, 0},
    };
    for (const StatusCase& c : cases) {
        const HttpDecision decision = DecideHttpAnswer(c.answer, c.offset);
        EXPECT_EQ(decision.next, c.next) << c.what;
        if (c.next == HttpNext::Fail || c.next == HttpNext::RestartFromZero || c.next == HttpNext::AskCredentials) {
            EXPECT_EQ(decision.result, c.result) << c.what;
        }
        if (c.next == HttpNext::Transfer || c.next == HttpNext::Complete) {
            EXPECT_EQ(decision.total, c.total) << c.what;
            EXPECT_EQ(decision.offset, c.newOffset) << c.what;
        }
    }
}

TEST(DownloadStatusTest, ContentRangeParsing) {
    auto range = ParseContentRange(u"bytes 1048576-2097151/2097152");
    ASSERT_TRUE(range);
    EXPECT_TRUE(range->satisfied);
    EXPECT_EQ(range->first, 1048576u);
    EXPECT_EQ(range->last, 2097151u);
    EXPECT_EQ(range->complete, 2097152u);
    range = ParseContentRange(u"bytes 5-9/*");
    ASSERT_TRUE(range);
    EXPECT_FALSE(range->complete);
    range = ParseContentRange(u"bytes */77");
    ASSERT_TRUE(range);
    EXPECT_FALSE(range->satisfied);
    EXPECT_EQ(range->complete, 77u);
    for (const char16_t* bad : {u"", u"bytes", u"items 0-1/2", u"bytes 9-5/10", u"bytes 0-10/10", u"bytes */*",
                                u"bytes 1-2/3x", u"bytes -2/3", u"bytes 1-2", u"bytes 99999999999999999999-1/2"}) {
        EXPECT_FALSE(ParseContentRange(bad)) << std::u16string(bad).size();
    }
}

TEST(DownloadStatusTest, EndOfBody) {
    EXPECT_EQ(DecideBodyEnd(5000, 5000, true), BodyEnd::Complete);
    EXPECT_EQ(DecideBodyEnd(1234, 0, true), BodyEnd::Complete);
    EXPECT_EQ(DecideBodyEnd(2500, 5000, true), BodyEnd::Reconnect);
    EXPECT_EQ(DecideBodyEnd(2500, 5000, false), BodyEnd::Incomplete);
}

TEST(DownloadStatusTest, RealmOfAChallenge) {
    EXPECT_EQ(RealmFromChallenge(u"Basic realm=\"Kit Store\""), u"Kit Store");
    EXPECT_EQ(RealmFromChallenge(u"Digest REALM=\"a, b\", nonce=\"x\""), u"a, b");
    EXPECT_EQ(RealmFromChallenge(u"Basic realm=plain, charset=x"), u"plain");
    EXPECT_EQ(RealmFromChallenge(u"Basic realm=\"unterminated"), u"unterminated");
    EXPECT_EQ(RealmFromChallenge(u"Negotiate"), u"");
}

TEST(DownloadStatusTest, RetryBudgetIsSharedAndEnds) {
    RetryBudget budget;
    int taken = 0;
    // Bounded loop: a budget that never ran out would fail the count below.
    for (int i = 0; i < 100 && budget.Take(); ++i) {
        ++taken;
    }
    EXPECT_EQ(taken, RetryBudget::kInitial);
    EXPECT_EQ(budget.Left(), 0);
    EXPECT_FALSE(budget.Take());
}

TEST(DownloadStatusTest, ErrorsThatRetryOrReconnect) {
    EXPECT_TRUE(IsConnectRetryError(12029));
    EXPECT_TRUE(IsConnectRetryError(12007));
    EXPECT_FALSE(IsConnectRetryError(12002));
    for (DownloadResult e : {12002u, 12030u, 12031u, 12163u}) {
        EXPECT_TRUE(IsReconnectError(e, true)) << e;
        EXPECT_FALSE(IsReconnectError(e, false)) << e;
    }
    EXPECT_FALSE(IsReconnectError(12029, true));
    for (DownloadResult e : {12037u, 12038u, 12044u, 12045u}) {
        EXPECT_TRUE(IsCertificateError(e)) << e;
    }
    EXPECT_FALSE(IsCertificateError(12039));
}

}  // namespace
}  // namespace maglorin
