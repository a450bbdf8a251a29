#pragma once

// The bounds every exchange of the HTTP client runs within. The three limits of TransferLimits
// are the ones a caller may lower (the tests do, so that a hanging server costs a second, not a
// minute); the program always runs with kDefaultTransferLimits.

#include <chrono>
#include <cstdint>

namespace smsdock {

struct TransferLimits {
    // Time allowed to open the TCP connection (TLS handshake excluded).
    std::chrono::milliseconds connectTimeout{15'000};
    // Time allowed for the whole exchange: connect, send, redirects and the complete body.
    std::chrono::milliseconds exchangeTimeout{60'000};
    // Largest body accepted; one byte more ends the exchange as a failure.
    std::int64_t maxBodyBytes = 64LL * 1024 * 1024;
};

inline constexpr TransferLimits kDefaultTransferLimits{};

// The limits of every exchange whose caller names none, which is every exchange the program
// makes: kDefaultTransferLimits, unless a test program replaced them.
TransferLimits ProcessTransferLimits();

// For test programs that drive the program's own paths against servers that hang: replaces
// what ProcessTransferLimits gives, for the rest of the process. Nothing in the program calls
// it and nothing outside the code reaches it. Call it before the first exchange starts.
void ReplaceProcessTransferLimitsInTests(const TransferLimits& limits);

// The raw response headers handed back are cut after this many bytes (the exchange goes on).
inline constexpr std::size_t kMaxRawHeaderBytes = 1024 * 1024;

// Redirects followed in one exchange before it ends as a failure.
inline constexpr long kMaxRedirects = 20;

}  // namespace smsdock
