// The cookie-text routines over arbitrary cookie texts.

#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "http/cookies.h"

using namespace smsdock;
using namespace smsdock::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Text old = TakeText(in, 512);
    Text fresh = TakeText(in, 512);
    const Text separator = TakeText(in, 4);
    const bool bySeparator = in.ConsumeBool();

    const Text merged = MergeCookies(old, fresh);
    Require(merged == old);
    // Spaces go, so merging again changes nothing but the joins.
    Text again = merged;
    Text none;
    Require(MergeCookies(again, none).size() <= merged.size());

    TextArray list;
    const int count = SplitCharacters(merged, list);
    Require(count == static_cast<int>(list.size()));
    Require(count <= merged.size());
    ContainsCookieName(list, CookieName(fresh));
    IndexOfText(list, separator);
    JoinUnique(merged, separator, bySeparator);
    return 0;
}
