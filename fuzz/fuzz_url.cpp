// The URL routines over arbitrary texts.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "fuzz/fuzz_input.h"
#include "http/url.h"

using namespace smsdock;
using namespace smsdock::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const bool mainDomain = in.ConsumeBool();
    const bool keepPort = in.ConsumeBool();
    const std::optional<int> labels =
        in.ConsumeBool() ? std::optional<int>(TakeInt(in)) : std::nullopt;
    const Text url(in.ConsumeRemainingBytesAsString());

    UrlHost(url, mainDomain, keepPort, labels);
    UrlPort(url);
    const Text path = UrlPath(url);
    Require(!path.empty() && path.at(0) == '/');
    return 0;
}
