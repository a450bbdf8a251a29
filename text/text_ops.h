#pragma once

// The text operations every subsystem builds on. Their edge rules bind all callers:
//  - positions are 1-based byte positions, and a search that finds nothing gives -1;
//  - the character-aware operations (PositionOf, LastPositionOf, ReplaceText, SplitText,
//    TrimSpaces, RemoveSpaces, ToUpperCase, ToLowerCase, TextToInt) treat a byte 0x80..0xFF and
//    the byte after it as one character and never match or split at its second byte;
//  - case folding touches only the 26 ASCII letters;
//  - the only spaces are 0x20 and the full-width space A1 A1.
// No operation changes its arguments or reports an error.

#include <cstdint>
#include <optional>

#include "text/text.h"

namespace smsdock {

int TextLength(const Text& text);

// First occurrence of sought that begins at or after start (below 1 means 1).
int PositionOf(const Text& text, const Text& sought, int start = 1, bool ignoreCase = false);

// Last occurrence that lies wholly within the first start - 1 bytes (absent: the whole text).
int LastPositionOf(const Text& text, const Text& sought, std::optional<int> start = std::nullopt,
                   bool ignoreCase = false);

Text TextLeft(const Text& text, int n);
Text TextRight(const Text& text, int n);
Text TextMid(const Text& text, int start, int n);

Text ToUpperCase(const Text& text);
Text ToLowerCase(const Text& text);

Text TrimSpaces(const Text& text);
Text RemoveSpaces(const Text& text);

// count below 0 replaces every occurrence; caseSensitive false folds ASCII letters.
Text ReplaceText(const Text& text, const Text& sought, const Text& replacement = Text(),
                 int start = 1, int count = -1, bool caseSensitive = true);

// Pieces between delimiters; see the definition for how empty pieces are kept.
TextArray SplitText(const Text& text, const Text& delimiter = ",",
                    std::optional<int> maxCount = std::nullopt);

// Leading decimal integer (full-width digits and signs accepted), saturated to 32 bits.
std::int32_t TextToInt(const Text& text);
Text IntToText(std::int64_t n);

Text BytesToText(const Bytes& bytes);
Bytes TextToBytes(const Text& text);

Text CharFromCode(int code);
// The byte at position as a signed value (-128..127); 0 outside the text.
int CharCode(const Text& text, int position = 1);

Text BlankText(int n);
Bytes BlankBytes(int n);

int BytesLength(const Bytes& bytes);
Bytes BytesLeft(const Bytes& bytes, int n);
Bytes BytesMid(const Bytes& bytes, int start, int n);

}  // namespace smsdock
