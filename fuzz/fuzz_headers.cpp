// The request header routines over arbitrary blocks.

#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "http/headers.h"

using namespace smsdock;
using namespace smsdock::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text block(std::string_view(reinterpret_cast<const char*>(data), size));
    const Text normalized = NormalizeHeaders(block);
    // Only the first letters of the names change and lines without a colon go.
    Require(normalized.size() <= block.size() + 1);
    Require(NormalizeHeaders(normalized) == normalized);
    Require(CapitalizeFirst(block).size() == block.size());
    Require(HeaderValue(block).size() <= block.size());
    return 0;
}
