// The program-wide values between two threads, and their release at exit.

#include <gtest/gtest.h>

#include <thread>

#include "app/state/globals.h"

namespace smsdock {
namespace {

TEST(GlobalsTest, ReleaseGlobalsFreesTheThreeTextsAndLeavesTheIntegers) {
    CurrentNumber.Set("13800000000");
    LatestVersion.Set("1.8");
    JumpLink.Set("无");
    PageCount = 57;
    TimerPeriod = 30000;
    ReleaseGlobals();
    EXPECT_EQ(CurrentNumber.Get(), Text());
    EXPECT_EQ(LatestVersion.Get(), Text());
    EXPECT_EQ(JumpLink.Get(), Text());
    EXPECT_EQ(PageCount.load(), 57);
    EXPECT_EQ(TimerPeriod.load(), 30000);
    ReleaseGlobals();  // nothing left to free
    EXPECT_EQ(JumpLink.Get(), Text());
}

// One thread replaces and releases the link while another reads it: every read is one of the
// values written, never a torn or freed one.
TEST(GlobalsTest, ATextIsReplacedAndReleasedWhileAnotherThreadReadsIt) {
    const Text first(std::string(200, 'a'));
    const Text second(std::string(300, 'b'));
    std::thread writer([&] {
        for (int i = 0; i < 20000; ++i) {
            JumpLink.Set(i % 2 ? first : second);
            if (i % 7 == 0) ReleaseGlobals();
            ++PageCount;
        }
    });
    int odd = 0;
    for (int i = 0; i < 20000; ++i) {
        const Text seen = JumpLink.Get();
        odd += !(seen.empty() || seen == first || seen == second);
    }
    writer.join();
    EXPECT_EQ(odd, 0);
}

}  // namespace
}  // namespace smsdock
