// RandomInt's generator and bounds, and Rgb.

#include <gtest/gtest.h>

#include <optional>
#include <thread>
#include <vector>

#include "ui/window_layer.h"

namespace smsdock {
namespace {

// Draws on a new thread, whose generator starts afresh.
template <class F>
auto OnFreshThread(F draw) {
    decltype(draw()) result{};
    std::thread([&] { result = draw(); }).join();
    return result;
}

TEST(RandomIntTest, EachThreadsGeneratorGivesTheStatusLineColourSequence) {
    // Whatever this thread drew before does not move another thread's sequence.
    for (int i = 0; i < 5; ++i)
        RandomInt();
    const auto colours = OnFreshThread([] {
        std::vector<Colour> drawn;
        for (int tick = 0; tick < 3; ++tick) {
            const int red = RandomInt(0);
            const int green = RandomInt(0);
            const int blue = RandomInt(0);
            drawn.push_back(Rgb(red, green, blue));
        }
        return drawn;
    });
    EXPECT_EQ(colours,
              (std::vector<Colour>{Rgb(41, 35, 190), Rgb(132, 225, 108), Rgb(214, 174, 82)}));
}

TEST(RandomIntTest, WithoutBoundsItIsTheGeneratorValue) {
    const auto values = OnFreshThread([] {
        std::vector<int> drawn;
        for (int i = 0; i < 4; ++i)
            drawn.push_back(RandomInt());
        return drawn;
    });
    // state = state * 214013 + 2531011 from 1; value = (state >> 16) & 0x7FFF.
    EXPECT_EQ(values, (std::vector<int>{41, 18467, 6334, 26500}));
}

TEST(RandomIntTest, BoundsRule) {
    struct Case {
        std::optional<int> minimum, maximum;
        int expected;  // for the first generator value, 41
    };
    const Case cases[] = {
        {10, 20, 10 + 41 % 11},
        {20, 10, 10 + 41 % 11},  // the smaller end is the low end
        {-5, 20, 41 % 21},
        {{}, 20, 41 % 21},  // below 0 or absent counts as 0
        {5, -3, 41 % 6},
        {7, 7, 7},  // equal ends give that value
        {0, 0, 0},
        {100, {}, 141},  // absent maximum: 2147483647
        {{}, {}, 41},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.minimum.value_or(-99) << ".." << c.maximum.value_or(-99));
        EXPECT_EQ(OnFreshThread([&] { return RandomInt(c.minimum, c.maximum); }), c.expected);
    }
    // The whole range: span capped at 2147483646, so the value is low + 41.
    EXPECT_EQ(OnFreshThread([] { return RandomInt(0, 2147483647); }), 41);
}

TEST(RgbTest, UsesTheLowEightBitsOfEachComponent) {
    EXPECT_EQ(Rgb(255, 128, 0), 0x0080FFu);
    EXPECT_EQ(Rgb(256 + 1, -1, 0x1FF), 0xFFFF01u);
    EXPECT_EQ(Rgb(18467, 6334, 26500), Rgb(18467 & 255, 6334 & 255, 26500 & 255));
}

}  // namespace
}  // namespace smsdock
