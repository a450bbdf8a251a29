#pragma once

// The pages the benchmarks feed to SmsDock and to the browser, made with the demo site's page
// generator so that they carry the demo's markup, its Chinese text and its share of bytes that
// no pattern reads. All pages are UTF-8 HTML.

#include <cstddef>
#include <string>

namespace smsdock::bench {

// A domestic (or foreign) listing page with `rows` numbers and page links, as the primary
// number site serves page 1.
std::string ListingFixture(int rows, bool foreign = false);

// A domestic listing page of at least `bytes` bytes (whole number cards).
std::string ListingFixtureOfSize(std::size_t bytes);

// A message page of at least `bytes` bytes: the demo's message page of one number with the
// message rows of as many further numbers as it takes.
std::string MessageFixtureOfSize(std::size_t bytes);

// The number the message fixture pages are named after.
inline constexpr const char* kFixtureNumber = "17012345678";

}  // namespace smsdock::bench
