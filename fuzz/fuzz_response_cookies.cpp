// Cookie collection from arbitrary raw response headers.

#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "http/cookies.h"

using namespace smsdock;
using namespace smsdock::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text raw(std::string_view(reinterpret_cast<const char*>(data), size));
    const Text cookies = CollectResponseCookies(raw);
    // Each "Set-Cookie: " line gives at most its own bytes and a "; " separator.
    Require(cookies.size() <= 2 * raw.size());
    return 0;
}
