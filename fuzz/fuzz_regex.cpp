// RegexMatcher over random patterns and texts: it either matches or fails the search, within
// its match limit, and its results stay inside the subject.

#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "text/regex_matcher.h"

using namespace smsdock;
using namespace smsdock::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const bool caseSensitive = in.ConsumeBool();
    const bool multiline = in.ConsumeBool();
    const bool global = in.ConsumeBool();
    const bool quoteMarker = in.ConsumeBool();
    const Text pattern = TakeText(in, 64);
    const Text replacement = TakeText(in, 32);
    const Text subject(in.ConsumeRemainingBytesAsString());

    RegexMatcher matcher;
    const bool ok = matcher.Search(pattern, subject, caseSensitive, multiline, global, quoteMarker);
    const int count = matcher.MatchCount();
    Require(ok || count == 0);
    for (int i = 1; i <= count + 1 && i <= 50; ++i) {
        int position = 0;
        const Text match = matcher.MatchText(i, &position);
        Require(position == -2 || (position >= 0 && position <= subject.size()));
        for (int k = 0; k <= matcher.SubmatchCount() + 1 && k <= 10; ++k)
            matcher.SubmatchText(i, k, &position);
    }
    matcher.ReplaceMatches(replacement);
    RegexMatcher copy(matcher);
    Require(copy.MatchCount() == count);
    return 0;
}
