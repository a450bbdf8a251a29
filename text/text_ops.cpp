#include "text/text_ops.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <string_view>

namespace smsdock {
namespace {

// Internally every operation works on std::string_view with size_t indexes; positions become
// 1-based ints only at the interface. A Text never exceeds INT_MAX bytes in practice (its size()
// is an int), so converting an index below its length back to int is safe.

unsigned char ByteAt(std::string_view s, std::size_t i) {
    return static_cast<unsigned char>(s[i]);
}

unsigned char FoldAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Length of the character that begins at byte i of s: 1 for a single-byte character, 2 for a
// lead byte (0x80..0xFF) with its follower, 0 for a lead byte that is the last byte of s. That
// lone lead byte is not a character; the character walks stop in front of it.
std::size_t CharLength(std::string_view s, std::size_t i) {
    if (ByteAt(s, i) < 0x80) return 1;
    return i + 1 < s.size() ? 2 : 0;
}

// Whether sought occurs at byte i of s; the caller makes sure it fits. With fold set, ASCII
// letters compare without case, on every byte (second bytes of double-byte characters too).
bool MatchesAt(std::string_view s, std::size_t i, std::string_view sought, bool fold) {
    if (!fold) {
        return s[i] == sought[0] && std::memcmp(s.data() + i, sought.data(), sought.size()) == 0;
    }
    for (std::size_t k = 0; k < sought.size(); ++k) {
        if (FoldAscii(ByteAt(s, i + k)) != FoldAscii(ByteAt(sought, k))) return false;
    }
    return true;
}

// The zero-based byte index that a 1-based start denotes; starts below 1 mean the first byte.
std::size_t StartIndex(int start) {
    return start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
}

// A space of either kind: 0x20 as a character of its own, or the full-width space A1 A1.
bool IsSpaceChar(std::string_view s, std::size_t i, std::size_t length) {
    if (length == 1) return s[i] == ' ';
    return ByteAt(s, i) == 0xA1 && ByteAt(s, i + 1) == 0xA1;
}

Text ConvertCase(const Text& text, bool upper) {
    std::string out(text.view());
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t length = CharLength(out, i);
        if (length == 0) break;
        if (length == 1) {
            const char c = out[i];
            if (upper && c >= 'a' && c <= 'z') out[i] = static_cast<char>(c - 'a' + 'A');
            if (!upper && c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c - 'A' + 'a');
        }
        i += length;
    }
    return Text(std::move(out));
}

}  // namespace

int TextLength(const Text& text) {
    return text.size();
}

int PositionOf(const Text& text, const Text& sought, int start, bool ignoreCase) {
    const std::string_view s = text.view();
    const std::string_view t = sought.view();
    const std::size_t from = StartIndex(start);
    if (from >= s.size()) return -1;
    if (t.empty()) return 1;
    for (std::size_t i = from; i < s.size();) {
        const std::size_t length = CharLength(s, i);
        if (length == 0 || s.size() - i < t.size()) break;
        if (MatchesAt(s, i, t, ignoreCase)) return static_cast<int>(i + 1);
        i += length;
    }
    return -1;
}

int LastPositionOf(const Text& text, const Text& sought, std::optional<int> start,
                   bool ignoreCase) {
    const std::string_view s = text.view();
    const std::string_view t = sought.view();
    const std::size_t range = start ? std::min(StartIndex(*start), s.size()) : s.size();
    // StartIndex maps start 1 to 0 and anything lower to 0 too, which is the empty range.
    if (range == 0) return -1;
    if (t.empty()) return 1;
    // The walk begins at the start of the text so that character boundaries are the true ones.
    int last = -1;
    for (std::size_t i = 0; i + t.size() <= range;) {
        const std::size_t length = CharLength(s, i);
        if (length == 0) break;
        if (MatchesAt(s, i, t, ignoreCase)) last = static_cast<int>(i + 1);
        i += length;
    }
    return last;
}

Text TextLeft(const Text& text, int n) {
    if (n <= 0) return Text();
    return Text(text.view().substr(0, static_cast<std::size_t>(n)));
}

Text TextRight(const Text& text, int n) {
    if (n <= 0) return Text();
    const std::string_view s = text.view();
    const std::size_t count = std::min(static_cast<std::size_t>(n), s.size());
    return Text(s.substr(s.size() - count));
}

Text TextMid(const Text& text, int start, int n) {
    if (start < 1 || start > text.size() || n <= 0) return Text();
    return Text(
        text.view().substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(n)));
}

Text ToUpperCase(const Text& text) {
    return ConvertCase(text, true);
}
Text ToLowerCase(const Text& text) {
    return ConvertCase(text, false);
}

Text TrimSpaces(const Text& text) {
    const std::string_view s = text.view();
    std::size_t first = std::string_view::npos;  // first byte of the first non-space character
    std::size_t end = 0;                         // one past the last non-space character
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t length = CharLength(s, i);
        if (length == 0) break;  // a lone lead byte at the end is left out
        if (!IsSpaceChar(s, i, length)) {
            if (first == std::string_view::npos) first = i;
            end = i + length;
        }
        i += length;
    }
    if (first == std::string_view::npos) return Text();
    return Text(s.substr(first, end - first));
}

Text RemoveSpaces(const Text& text) {
    const std::string_view s = text.view();
    std::string out;
    out.reserve(s.size());
    std::size_t runStart = 0;  // first byte of the run of kept characters not yet copied
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t length = CharLength(s, i);
        if (length == 0) break;  // a lone lead byte at the end is left out
        if (IsSpaceChar(s, i, length)) {
            out.append(s.substr(runStart, i - runStart));
            runStart = i + length;
        }
        i += length;
    }
    out.append(s.substr(runStart, i - runStart));
    return Text(std::move(out));
}

Text ReplaceText(const Text& text, const Text& sought, const Text& replacement, int start,
                 int count, bool caseSensitive) {
    const std::string_view s = text.view();
    const std::string_view t = sought.view();
    const std::size_t from = StartIndex(start);
    if (s.empty() || t.empty() || from >= s.size() || count == 0) return text;

    std::string out;
    out.reserve(s.size());
    std::size_t copyFrom = 0;  // first byte not yet copied to out; the bytes before start too
    int replaced = 0;
    for (std::size_t i = from; i < s.size();) {
        const std::size_t length = CharLength(s, i);
        if (length == 0) {
            // A lone lead byte at the end stops the walk and is not copied.
            out.append(s.substr(copyFrom, i - copyFrom));
            return Text(std::move(out));
        }
        if (s.size() - i >= t.size() && MatchesAt(s, i, t, !caseSensitive)) {
            out.append(s.substr(copyFrom, i - copyFrom));
            out.append(replacement.view());
            i += t.size();
            copyFrom = i;
            if (count > 0 && ++replaced == count) break;
            continue;
        }
        i += length;
    }
    out.append(s.substr(copyFrom));
    return Text(std::move(out));
}

TextArray SplitText(const Text& text, const Text& delimiter, std::optional<int> maxCount) {
    const std::string_view s = text.view();
    const std::string_view d = delimiter.view();
    if (s.empty() || (maxCount && *maxCount <= 0)) return {};
    if (d.empty()) return {text};

    const std::size_t limit = maxCount ? static_cast<std::size_t>(*maxCount) : SIZE_MAX;
    TextArray pieces;
    std::size_t pieceStart = 0;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t length = CharLength(s, i);
        if (length == 0) break;  // a lone lead byte at the end stays in the last piece
        if (s.size() - i >= d.size() && MatchesAt(s, i, d, false)) {
            pieces.emplace_back(s.substr(pieceStart, i - pieceStart));
            if (pieces.size() == limit) return pieces;
            i += d.size();
            pieceStart = i;
            continue;
        }
        i += length;
    }
    // A trailing delimiter leaves an empty remainder, which gives no element.
    if (pieceStart < s.size()) pieces.emplace_back(s.substr(pieceStart));
    return pieces;
}

std::int32_t TextToInt(const Text& text) {
    const std::string_view s = text.view();
    std::size_t i = 0;
    std::size_t length = 0;
    // The character at i in its half-width form: full-width A3 A1..A3 FE become ASCII 0x21..0x7E
    // and the full-width space becomes 0x20. Any other double-byte character, and a lone lead
    // byte, yields its lead byte, which is neither space, sign nor digit and so ends the number.
    auto current = [&]() -> unsigned char {
        if (i >= s.size()) {
            length = 0;
            return 0;
        }
        const unsigned char c = ByteAt(s, i);
        if (c < 0x80 || i + 1 >= s.size()) {
            length = 1;
            return c;
        }
        length = 2;
        const unsigned char follower = ByteAt(s, i + 1);
        if (c == 0xA3 && follower >= 0xA1 && follower <= 0xFE) return follower & 0x7F;
        if (c == 0xA1 && follower == 0xA1) return ' ';
        return c;
    };

    unsigned char c = current();
    while (c == ' ' || (c >= '\t' && c <= '\r')) {
        i += length;
        c = current();
    }
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        i += length;
        c = current();
    }
    // Accumulate the magnitude, capped just past the 32-bit range, so that a long run of digits
    // saturates instead of overflowing.
    constexpr std::int64_t kCap = static_cast<std::int64_t>(INT32_MAX) + 1;
    std::int64_t magnitude = 0;
    while (c >= '0' && c <= '9') {
        magnitude = std::min(magnitude * 10 + (c - '0'), kCap);
        i += length;
        c = current();
    }
    if (negative) return static_cast<std::int32_t>(-magnitude);  // -kCap is INT32_MIN
    return static_cast<std::int32_t>(std::min<std::int64_t>(magnitude, INT32_MAX));
}

Text IntToText(std::int64_t n) {
    return Text(std::to_string(n));
}

Text BytesToText(const Bytes& bytes) {
    if (bytes.empty()) return Text();
    return Text(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

Bytes TextToBytes(const Text& text) {
    return Bytes(text.view().begin(), text.view().end());
}

Text CharFromCode(int code) {
    const char c = static_cast<char>(code & 0xFF);
    if (c == 0) return Text();
    return Text(std::string(1, c));
}

int CharCode(const Text& text, int position) {
    if (position < 1 || position > text.size()) return 0;
    return static_cast<signed char>(text.str()[static_cast<std::size_t>(position) - 1]);
}

Text BlankText(int n) {
    if (n < 1) return Text();
    return Text(std::string(static_cast<std::size_t>(n), ' '));
}

Bytes BlankBytes(int n) {
    if (n <= 0) return Bytes();
    return Bytes(static_cast<std::size_t>(n), 0);
}

int BytesLength(const Bytes& bytes) {
    return static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
}

Bytes BytesLeft(const Bytes& bytes, int n) {
    if (n <= 0) return Bytes();
    const std::size_t count = std::min(static_cast<std::size_t>(n), bytes.size());
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

Bytes BytesMid(const Bytes& bytes, int start, int n) {
    // Unlike TextMid, the start is moved into 1..length + 1 rather than refused.
    const std::size_t from = std::min(StartIndex(start), bytes.size());
    const std::size_t wanted = n < 0 ? 0 : static_cast<std::size_t>(n);
    const std::size_t count = std::min(wanted, bytes.size() - from);
    const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(from);
    return Bytes(first, first + static_cast<std::ptrdiff_t>(count));
}

}  // namespace smsdock
