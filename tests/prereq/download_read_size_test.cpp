#include "download_read_size.h"

#include <gtest/gtest.h>

#include <vector>

namespace maglorin {
namespace {

// Each answer is to a read of the size the policy asked for just before.
struct Answer {
    enum Kind { Full, Short, Waited, Nothing } kind;
};

struct ReadSizeCase {
    const char* what;
    std::vector<Answer::Kind> answers;
    std::uint32_t expectedNext;
};

std::uint32_t Replay(const std::vector<Answer::Kind>& answers) {
    ReadSize size;
    for (Answer::Kind kind : answers) {
        const std::uint32_t asked = size.Next();
        switch (kind) {
        case Answer::Full:
            size.Answered(asked, asked, false);
            break;
        case Answer::Short:
            size.Answered(asked, asked / 3, false);
            break;
        case Answer::Waited:
            size.Answered(asked, asked, true);
            break;
        case Answer::Nothing:
            size.Answered(asked, 0, false);
            break;
        }
    }
    return size.Next();
}

TEST(DownloadReadSizeTest, GrowsWhileDataIsWaitingAndFallsBackWhenTheNetworkIsSlow) {
    using A = Answer;
    const ReadSizeCase cases[] = {
        {"first read", {}, kMinReadSize},
        {"one full read doubles", {A::Full}, 2 * kMinReadSize},
        {"four full reads", {A::Full, A::Full, A::Full, A::Full}, 16 * kMinReadSize},
        {"growth stops at the buffer", std::vector<A::Kind>(12, A::Full), kMaxReadSize},
        {"a wait drops to the smallest read", {A::Full, A::Full, A::Full, A::Waited}, kMinReadSize},
        {"a wait at the largest read", {A::Full, A::Full, A::Full, A::Full, A::Full, A::Full, A::Waited},
         kMinReadSize},
        {"a short read keeps the size", {A::Full, A::Full, A::Short}, 4 * kMinReadSize},
        {"the end of the data keeps the size", {A::Full, A::Nothing}, 2 * kMinReadSize},
        {"growth resumes after a wait", {A::Full, A::Waited, A::Full}, 2 * kMinReadSize},
    };
    for (const ReadSizeCase& c : cases) {
        EXPECT_EQ(Replay(c.answers), c.expectedNext) << c.what;
    }
}

TEST(DownloadReadSizeTest, NeverAsksForMoreThanTheBufferHolds) {
    ReadSize size;
    for (int read = 0; read < 40; ++read) {
        ASSERT_LE(size.Next(), kMaxReadSize);
        ASSERT_GE(size.Next(), kMinReadSize);
        size.Answered(size.Next(), size.Next(), false);
    }
    EXPECT_EQ(size.Next(), kMaxReadSize);
}

// An answer to a read of another size (a drain of a challenge body shares the policy) does not
// let one full answer of a small read grow a larger size.
TEST(DownloadReadSizeTest, AnswersToOtherSizesDoNotGrowIt) {
    ReadSize size;
    size.Answered(kMinReadSize, kMinReadSize, false);
    size.Answered(100, 100, false);
    EXPECT_EQ(size.Next(), 2 * kMinReadSize);
}

}  // namespace
}  // namespace maglorin
