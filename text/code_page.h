#pragma once

// Conversions between UTF-8 pages, UTF-16 (clipboard, Qt, the regex engine) and the GBK Text
// the system keeps internally. Code pages are numbered as on Windows: 936 is GBK, 65001 is
// UTF-8 and 0 is the ANSI code page, which for SmsDock is GBK as well. A character that GBK
// lacks becomes "?"; an invalid UTF-8 sequence becomes U+FFFD and therefore "?" too.

#include <string>
#include <string_view>

#include "text/text.h"

namespace smsdock {

inline constexpr int kCodePageAnsi = 0;
inline constexpr int kCodePageGbk = 936;
inline constexpr int kCodePageUtf8 = 65001;

// A page's UTF-8 bytes, held in a Text, as GBK. Composes nothing: e + U+0301 gives "e?".
Text Utf8ToAnsi(const Text& text);

// UTF-16LE data up to its first zero unit as GBK, base characters composed with their
// combining marks first (NFC): e + U+0301 gives the GBK é (A8 A6). An odd last byte is ignored.
Text Utf16ToGbk(const Bytes& bytes);

// UTF-16LE Bytes of the text decoded in codePage, ending with a zero unit; empty text gives
// empty Bytes.
Bytes TextToUtf16(const Text& text, int codePage = kCodePageUtf8);

// The UTF-16LE units up to the first zero unit as Text in codePage.
Text Utf16ToText(const Bytes& bytes, int codePage = kCodePageAnsi);

// size zero bytes; empty Bytes when size <= 0 or the memory cannot be had.
Bytes ZeroedBytes(int size);

// The edge conversions for code that speaks UTF-16 natively (Qt, the regex engine).
std::u16string GbkToUtf16String(const Text& text);
// Encodes as GBK without composition, up to the first U+0000.
Text Utf16StringToGbk(std::u16string_view units);
// Same, but composed to NFC first, as text arriving from the user's side (clipboard) is.
Text Utf16StringToGbkComposed(std::u16string_view units);

}  // namespace smsdock
