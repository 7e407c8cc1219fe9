// The owner's rules, with a handle kind that records every close: each handle is closed exactly
// once, moves hand ownership on, Receive and Reset close what was held first.
#include "unique_handle.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace maglorin {
namespace {

std::vector<int>& ClosedHandles() {
    static std::vector<int> closed;
    return closed;
}

// Handles are small numbers; -1 means none, as with a file descriptor.
struct RecordingTraits {
    using Value = int;
    static Value Invalid() { return -1; }
    static void Close(Value handle) { ClosedHandles().push_back(handle); }
};
using RecordingHandle = UniqueHandle<RecordingTraits>;

class UniqueHandleTest : public ::testing::Test {
protected:
    void SetUp() override { ClosedHandles().clear(); }
    static const std::vector<int>& Closed() { return ClosedHandles(); }
};

TEST_F(UniqueHandleTest, ClosesItsHandleOnceWhenDestroyedAndNeverTheInvalidValue) {
    {
        RecordingHandle held(7);
        RecordingHandle none;
        RecordingHandle explicitlyNone(-1);
        EXPECT_TRUE(held.IsValid());
        EXPECT_TRUE(static_cast<bool>(held));
        EXPECT_FALSE(none.IsValid());
        EXPECT_FALSE(explicitlyNone.IsValid());
        EXPECT_EQ(held.Get(), 7);
        EXPECT_EQ(none.Get(), -1);
        EXPECT_TRUE(Closed().empty());
    }
    EXPECT_EQ(Closed(), std::vector<int>{7});
}

TEST_F(UniqueHandleTest, MovingHandsOwnershipOnAndClosesTheTargetsOldHandle) {
    {
        RecordingHandle first(1);
        RecordingHandle second(std::move(first));
        EXPECT_FALSE(first.IsValid());  // NOLINT(bugprone-use-after-move): moved-from is empty
        EXPECT_EQ(second.Get(), 1);

        RecordingHandle third(3);
        third = std::move(second);
        EXPECT_EQ(Closed(), std::vector<int>{3});
        EXPECT_EQ(third.Get(), 1);

        RecordingHandle& alias = third;
        third = std::move(alias);  // a self-move keeps the handle open
        EXPECT_EQ(third.Get(), 1);
        EXPECT_EQ(Closed(), std::vector<int>{3});
    }
    EXPECT_EQ(Closed(), (std::vector<int>{3, 1}));
}

TEST_F(UniqueHandleTest, ReleaseGivesTheHandleAwayAndResetClosesTheOldOne) {
    RecordingHandle handle(4);
    EXPECT_EQ(handle.Release(), 4);
    EXPECT_FALSE(handle.IsValid());
    handle.Reset();  // nothing held: nothing closed
    EXPECT_TRUE(Closed().empty());

    handle.Reset(5);
    handle.Reset(6);
    EXPECT_EQ(Closed(), std::vector<int>{5});
    EXPECT_EQ(handle.Get(), 6);
    handle.Reset();
    EXPECT_EQ(Closed(), (std::vector<int>{5, 6}));
    EXPECT_FALSE(handle.IsValid());
}

TEST_F(UniqueHandleTest, ReceiveClosesTheHeldHandleBeforeAFunctionWritesANewOne) {
    RecordingHandle handle(8);
    int* slot = handle.Receive();
    EXPECT_EQ(Closed(), std::vector<int>{8});
    EXPECT_EQ(*slot, -1);
    *slot = 9;  // as a function returning its handle through a pointer does
    EXPECT_EQ(handle.Get(), 9);
    handle.Reset();
    EXPECT_EQ(Closed(), (std::vector<int>{8, 9}));
}

}  // namespace
}  // namespace maglorin
