#include <cstdint>

#include "ui/window_layer.h"

namespace smsdock {

namespace {

// The generator of the classic C run time, one state per thread, never seeded.
int NextGeneratorValue() {
    thread_local std::uint32_t state = 1;
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

}  // namespace

int RandomInt(std::optional<int> minimum, std::optional<int> maximum) {
    const std::int64_t low0 = minimum && *minimum > 0 ? *minimum : 0;
    const std::int64_t high0 = !maximum ? 2147483647 : (*maximum > 0 ? *maximum : 0);
    const std::int64_t low = low0 < high0 ? low0 : high0;
    const std::int64_t high = low0 < high0 ? high0 : low0;
    if (low == high) return static_cast<int>(low);
    const int value = NextGeneratorValue();
    std::int64_t span = high - low;
    if (span > 2147483646) span = 2147483646;
    return static_cast<int>(low + value % (span + 1));
}

}  // namespace smsdock
