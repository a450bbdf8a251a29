#pragma once

// Helpers that cut values out of pages, headers and documents. A missing marker gives the
// empty text, which callers read as "not present".

#include <optional>

#include "text/text.h"

namespace smsdock {

// The marker callers write inside TextBetween's markers where they mean a double quote.
inline constexpr const char* kQuoteMarker = "#\xD2\xFD\xBA\xC5";  // "#引号" in GBK

// The text between the first left marker found from start and the first right marker after it.
Text TextBetween(const Text& text, const Text& left, const Text& right, int start = 0,
                 bool ignoreCase = false);

// The text before the first marker found from start.
Text TextLeftOf(const Text& text, const Text& marker, int start = 1, bool ignoreCase = false);

// The text after the last marker (searched within the first start - 1 bytes when given).
Text TextRightOfLast(const Text& text, const Text& marker,
                     std::optional<int> start = std::nullopt, bool ignoreCase = false);

// Byte-wise search, blind to double-byte characters: may report a second byte.
int FindText(const Text& text, const Text& sought, int start = 0, bool ignoreCase = false);

}  // namespace smsdock
