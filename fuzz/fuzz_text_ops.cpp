// The text operations and extraction helpers over arbitrary texts, positions and counts.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "fuzz/fuzz_input.h"
#include "text/extract.h"
#include "text/text_ops.h"

using namespace smsdock;
using namespace smsdock::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const Text a = TakeText(in, 512);
    const Text b = TakeText(in, 32);
    const Text c = TakeText(in, 32);
    const int n = TakeInt(in);
    const int m = TakeInt(in);
    const bool flag = in.ConsumeBool();
    const std::optional<int> maybe = in.ConsumeBool() ? std::optional<int>(n) : std::nullopt;

    Require(TextLength(a) == a.size());
    const int found = PositionOf(a, b, n, flag);
    Require(found == -1 || (found >= 1 && found <= a.size()));
    const int last = LastPositionOf(a, b, maybe, flag);
    Require(last == -1 || (last >= 1 && last <= a.size()));
    Require(TextLeft(a, n).size() <= a.size());
    Require(TextRight(a, n).size() <= a.size());
    Require(TextMid(a, n, m).size() <= a.size());
    Require(ToUpperCase(a).size() == a.size());
    Require(ToLowerCase(a).size() == a.size());
    Require(TrimSpaces(a).size() <= a.size());
    Require(RemoveSpaces(a).size() <= a.size());
    ReplaceText(a, b, c, n, m, flag);
    SplitText(a, b, maybe);
    TextToInt(a);
    IntToText(in.ConsumeIntegral<std::int64_t>());
    Require(BytesToText(TextToBytes(a)) == a);
    CharFromCode(n);
    CharCode(a, n);
    Require(BlankText(n % 4096).size() == (n % 4096 > 0 ? n % 4096 : 0));
    const Bytes bytes = TextToBytes(a);
    Require(BytesLeft(bytes, n).size() <= bytes.size());
    Require(BytesMid(bytes, n, m).size() <= bytes.size());

    TextBetween(a, b, c, n, flag);
    TextLeftOf(a, b, n, flag);
    TextRightOfLast(a, b, maybe, flag);
    const int at = FindText(a, b, n, flag);
    Require(at == -1 || (at >= 1 && at <= a.size()));
    return 0;
}
