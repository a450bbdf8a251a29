#pragma once

// Request header blocks: CRLF-separated lines of the form "Name: value".

#include "text/text.h"

namespace smsdock {

// The block with every header name written with a capital at the start of each dash-separated
// word (only those first letters change). Lines without a colon are dropped; the lines are
// joined by CRLF with none after the last.
Text NormalizeHeaders(const Text& block);

// The word with its first byte upper-cased when that is an ASCII letter.
Text CapitalizeFirst(const Text& word);

// The text after the first colon without surrounding spaces; empty when there is no colon.
// For a block of several lines it runs from the first colon to the end of the block.
Text HeaderValue(const Text& line);

}  // namespace smsdock
