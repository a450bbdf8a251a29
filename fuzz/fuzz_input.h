#pragma once

// Cutting one fuzzer input into the arguments of a routine.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/text.h"

namespace smsdock::fuzz {

// A Text of up to maxLength bytes (it stops at a zero byte, as every Text does).
inline Text TakeText(FuzzedDataProvider& in, std::size_t maxLength = 256) {
    return Text(in.ConsumeRandomLengthString(maxLength));
}

// An int that is mostly small, sometimes at the edges of its range.
inline int TakeInt(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return in.ConsumeIntegral<int>();
        default:
            return in.ConsumeIntegralInRange(-4, 300);
    }
}

// Aborts (a finding for the fuzzer) when a property of a result does not hold.
inline void Require(bool holds) {
    if (!holds) std::abort();
}

}  // namespace smsdock::fuzz
