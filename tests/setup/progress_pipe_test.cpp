// The progress pipe protocol: the messages of each command in decimal, running totals across
// items, the "CLOSE" reply as cancel, group ids and the "/out:" value.
#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "progress_pipe.h"

namespace maglorin {
namespace {

PathText P(std::string_view ascii) { return PathFromAscii(ascii); }

std::string Ascii(PathTextView text) { return std::string(text.begin(), text.end()); }

// Records every message; answers "CLOSE" to the message numbers listed, "OK" otherwise.
class RecordingTransport final : public PipeTransport {
public:
    std::vector<std::string> sent;
    std::vector<std::size_t> closeAt;  // 0-based message numbers
    bool failSends = false;

    bool Send(PathTextView message) override {
        if (failSends) return false;
        sent.push_back(Ascii(message));
        return true;
    }
    bool Receive(PathText& reply) override {
        const std::size_t number = sent.size() - 1;
        const bool close = std::find(closeAt.begin(), closeAt.end(), number) != closeAt.end();
        reply = P(close ? "CLOSE" : "OK");
        return true;
    }
};

TEST(ProgressPipeTest, CommandsGoOutAsDecimalPartsInOrder) {
    RecordingTransport transport;
    void* signalled = nullptr;
    ProgressPipe pipe(transport, [&](void* event) { signalled = event; });
    int startEvent = 0;
    pipe.AttachStartSignal(&startEvent);
    pipe.OverallStart(0x100000002ull);
    pipe.ReleaseStart();
    const PathText first = P("C:\\X\\a.txt");
    pipe.BeginItem(first.c_str(), 3);
    pipe.SetTotal(10);
    EXPECT_FALSE(pipe.SetCompleted(4));
    EXPECT_FALSE(pipe.SetCompleted(10));  // a cancel shows at the next query
    const PathText second = P("C:\\X\\b.txt");
    pipe.BeginItem(second.c_str(), -2);
    EXPECT_FALSE(pipe.SetCompleted(5));  // a cancel shows at the next query
    pipe.ItemTotals(second.c_str(), 0xFFFFFFFFull);
    pipe.Finish();
    const std::vector<std::string> expected = {
        "184549376", "2", "1",                               // overall start, total low, high
        "134217728", "3", "150994944", "C:\\X\\a.txt",        // begin item
        "167772160", "4", "0",                               // item progress
        "167772160", "10", "0",
        "134217728", "-2", "150994944", "C:\\X\\b.txt",
        "167772160", "15", "0",                              // previous item's 10 added to the total
        "117440512", "C:\\X\\b.txt", "-1", "0",              // item totals, low part as signed
        "CLOSE",
    };
    EXPECT_EQ(transport.sent, expected);
    EXPECT_EQ(signalled, &startEvent);
    EXPECT_FALSE(pipe.IsCancelled());
}

TEST(ProgressPipeTest, CloseToTheLastPartOfACommandCancels) {
    struct Case {
        const char* what;
        std::size_t closeAt;  // message number answered "CLOSE"
        bool cancels;
    } cases[] = {
        {"overall start, high part", 2, true},
        {"overall start, command number", 0, false},
        {"overall start, low part", 1, false},
        {"begin item, text", 6, false},
        {"item progress, high part", 9, true},
        {"item progress, low part", 8, false},
        {"item totals, high part", 13, true},
        {"item totals, text", 11, false},
    };
    for (const Case& c : cases) {
        RecordingTransport transport;
        transport.closeAt = {c.closeAt};
        ProgressPipe pipe(transport, nullptr);
        pipe.OverallStart(1);
        const PathText text = P("t");
        pipe.BeginItem(text.c_str(), 1);
        EXPECT_FALSE(pipe.SetCompleted(1));  // a cancel shows at the next query
        pipe.ItemTotals(text.c_str(), 1);
        EXPECT_EQ(pipe.IsCancelled(), c.cancels) << c.what;
    }
}

TEST(ProgressPipeTest, ABrokenPipeStopsTalkingButDoesNotCancel) {
    RecordingTransport transport;
    transport.failSends = true;
    ProgressPipe pipe(transport, nullptr);
    pipe.OverallStart(5);
    EXPECT_FALSE(pipe.SetCompleted(1));  // a cancel shows at the next query
    EXPECT_FALSE(pipe.Connected());
    EXPECT_FALSE(pipe.IsCancelled());
}

TEST(ProgressPipeTest, GroupIdsAreTheDecimalPiecesBeforeEachSemicolon) {
    struct Case {
        const char* value;
        std::vector<std::int32_t> ids;
    } cases[] = {
        {"100;101;", {100, 101}},
        {"100;101", {100}},                // text after the last ';' is not used
        {"-5;0;7;", {-5, 0, 7}},
        {"", {}},
        {";;", {}},                        // empty pieces are no ids
        {"1x;2;", {2}},                    // not a number: left out, not group 0
        {"2147483647;2147483648;-2147483648;", {2147483647, -2147483648}},
        {"-;3;", {3}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseGroupIds(P(c.value)), c.ids) << c.value;
    }
}

TEST(ProgressPipeTest, OutFolderLosesItsQuotesAndEndsInASeparator) {
    EXPECT_EQ(OutFolderValue(P("\"C:\\out dir\"")), P("C:\\out dir\\"));
    EXPECT_EQ(OutFolderValue(P("C:\\out\\")), P("C:\\out\\"));
    EXPECT_EQ(OutFolderValue(P("C:\\out")), P("C:\\out\\"));
    EXPECT_EQ(OutFolderValue(P("\"")), P("\\"));
    EXPECT_EQ(ProgressPipeName(P("42")), P("\\\\.\\pipe\\ToServer42"));
}

}  // namespace
}  // namespace maglorin
