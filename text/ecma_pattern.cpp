#include "text/ecma_pattern.h"

#include <algorithm>
#include <vector>

namespace smsdock {

namespace {

// Pieces of PCRE2 syntax the translation writes.
constexpr std::u16string_view kAnyButLineTerminator = u"[^\\n\\r\\x{2028}\\x{2029}]";
constexpr std::u16string_view kLineStart = u"(?<![^\\n\\r\\x{2028}\\x{2029}])";
constexpr std::u16string_view kLineEnd = u"(?![^\\n\\r\\x{2028}\\x{2029}])";
constexpr std::u16string_view kTextStart = u"\\A";
constexpr std::u16string_view kTextEnd = u"\\z";
// PCRE2 in UTF mode refuses surrogate code points, so the "every character" range leaves them
// out; the texts searched are decoded from GBK and never hold a lone surrogate.
constexpr std::u16string_view kAnyCharacter = u"[\\x{0}-\\x{d7ff}\\x{e000}-\\x{10ffff}]";
constexpr std::u16string_view kNothing = u"[^\\x{0}-\\x{d7ff}\\x{e000}-\\x{10ffff}]";

constexpr char32_t kMaxCodePoint = 0x10FFFF;

struct Range {
    char32_t first;
    char32_t last;
};
using RangeList = std::vector<Range>;

// ECMAScript white space and line terminators: TAB, LF, VT, FF, CR, the Unicode space
// separators (Zs), U+FEFF, U+2028 and U+2029.
const RangeList kSpaces = {{0x09, 0x0D},     {0x20, 0x20},     {0xA0, 0xA0},     {0x1680, 0x1680},
                           {0x2000, 0x200A}, {0x2028, 0x2029}, {0x202F, 0x202F}, {0x205F, 0x205F},
                           {0x3000, 0x3000}, {0xFEFF, 0xFEFF}};
const RangeList kDigits = {{'0', '9'}};
const RangeList kWordCharacters = {{'0', '9'}, {'A', 'Z'}, {'_', '_'}, {'a', 'z'}};

// Sorted, merged, and without the surrogate code points.
RangeList Normalised(RangeList ranges) {
    RangeList clipped;
    for (const Range& r : ranges) {
        if (r.first < 0xD800) clipped.push_back({r.first, std::min<char32_t>(r.last, 0xD7FF)});
        if (r.last > 0xDFFF) clipped.push_back({std::max<char32_t>(r.first, 0xE000), r.last});
    }
    std::sort(clipped.begin(), clipped.end(),
              [](const Range& a, const Range& b) { return a.first < b.first; });
    RangeList merged;
    for (const Range& r : clipped) {
        if (r.first > r.last) continue;
        if (!merged.empty() && r.first <= merged.back().last + 1) {
            merged.back().last = std::max(merged.back().last, r.last);
        } else {
            merged.push_back(r);
        }
    }
    return merged;
}

RangeList Complement(const RangeList& ranges) {
    RangeList complement;
    char32_t next = 0;
    for (const Range& r : Normalised(ranges)) {
        if (r.first > next) complement.push_back({next, r.first - 1});
        next = r.last + 1;
    }
    if (next <= kMaxCodePoint) complement.push_back({next, kMaxCodePoint});
    return complement;
}

void AppendHex(std::u16string& out, char32_t c) {
    static constexpr char16_t kHex[] = u"0123456789abcdef";
    out += u"\\x{";
    bool started = false;
    for (int shift = 20; shift >= 0; shift -= 4) {
        const unsigned digit = (c >> shift) & 0xF;
        if (digit != 0 || started || shift == 0) {
            out += kHex[digit];
            started = true;
        }
    }
    out += u'}';
}

void AppendRanges(std::u16string& out, const RangeList& ranges) {
    for (const Range& r : Normalised(ranges)) {
        AppendHex(out, r.first);
        if (r.last != r.first) {
            out += u'-';
            AppendHex(out, r.last);
        }
    }
}

bool IsAsciiAlphanumeric(char32_t c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

int HexValue(int c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsOctalDigit(int c) {
    return c >= '0' && c <= '7';
}
bool IsDecimalDigit(int c) {
    return c >= '0' && c <= '9';
}

// One pass of recursive descent over the ECMAScript grammar, writing PCRE2 syntax as it goes.
class Translator {
  public:
    Translator(std::u16string_view pattern, bool multiline)
        : pattern_(pattern), multiline_(multiline) {}

    std::optional<std::u16string> Run() {
        groupCount_ = CountGroups();
        if (!Disjunction() || !AtEnd()) return std::nullopt;  // AtEnd fails on a stray ")"
        return std::move(out_);
    }

  private:
    // A class item: one character, or a set such as "\d" that cannot end a range.
    struct ClassAtom {
        char32_t character = 0;
        const RangeList* set = nullptr;
        RangeList complement;
        bool notWord = false;
        bool IsSet() const { return set != nullptr || !complement.empty() || notWord; }
    };

    bool AtEnd() const { return pos_ >= pattern_.size(); }
    int Peek(std::size_t ahead = 0) const {
        return pos_ + ahead < pattern_.size() ? pattern_[pos_ + ahead] : -1;
    }

    char32_t NextCodePoint() {
        const char32_t unit = pattern_[pos_++];
        if (unit >= 0xD800 && unit <= 0xDBFF && !AtEnd() && Peek() >= 0xDC00 && Peek() <= 0xDFFF) {
            const char32_t low = pattern_[pos_++];
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
        return unit;
    }

    // Capturing groups are numbered by their opening parenthesis; a back-reference may come
    // before its group, so they are counted first.
    int CountGroups() const {
        int count = 0;
        bool inClass = false;
        for (std::size_t i = 0; i < pattern_.size(); ++i) {
            const char16_t c = pattern_[i];
            if (c == u'\\') {
                ++i;
            } else if (inClass) {
                if (c == u']') inClass = false;
            } else if (c == u'[') {
                inClass = true;
                // "[]" and "[^]" end where they start.
                if (i + 1 < pattern_.size() && pattern_[i + 1] == u']') {
                    inClass = false;
                    ++i;
                } else if (i + 2 < pattern_.size() && pattern_[i + 1] == u'^' &&
                           pattern_[i + 2] == u']') {
                    inClass = false;
                    i += 2;
                }
            } else if (c == u'(' && (i + 1 >= pattern_.size() || pattern_[i + 1] != u'?')) {
                ++count;
            }
        }
        return count;
    }

    bool Disjunction() {
        if (!Alternative()) return false;
        while (Peek() == u'|') {
            ++pos_;
            out_ += u'|';
            if (!Alternative()) return false;
        }
        return true;
    }

    bool Alternative() {
        while (!AtEnd() && Peek() != u'|' && Peek() != u')') {
            if (!Term()) return false;
        }
        return true;
    }

    bool Term() {
        switch (Peek()) {
            case u'^':
                ++pos_;
                out_ += multiline_ ? kLineStart : kTextStart;
                return !StartsQuantifier();
            case u'$':
                ++pos_;
                out_ += multiline_ ? kLineEnd : kTextEnd;
                return !StartsQuantifier();
            case u'\\':
                if (Peek(1) == u'b' || Peek(1) == u'B') {
                    out_ += u'\\';
                    out_ += pattern_[pos_ + 1];
                    pos_ += 2;
                    return !StartsQuantifier();
                }
                if (!AtomEscape()) return false;
                break;
            case u'(':
                if (!Group()) return false;
                break;
            case u'*':
            case u'+':
            case u'?':
                return false;  // nothing to repeat
            case u'{':
                if (StartsQuantifier()) return false;
                ++pos_;
                AppendLiteral(u'{');  // not a quantifier: the brace itself
                break;
            case u'[':
                if (!CharacterClass()) return false;
                break;
            case u'.':
                ++pos_;
                out_ += kAnyButLineTerminator;
                break;
            default:
                AppendLiteral(NextCodePoint());
                break;
        }
        return Quantifier();
    }

    // Reads "{n}", "{n,}" or "{n,m}" at the current position without consuming it; length 0 when
    // the brace does not start one.
    std::size_t BraceQuantifier(long& min, long& max) const {
        std::size_t i = pos_;
        if (i >= pattern_.size() || pattern_[i] != u'{') return 0;
        ++i;
        auto number = [&](long& value) {
            const std::size_t start = i;
            value = 0;
            while (i < pattern_.size() && IsDecimalDigit(pattern_[i])) {
                value = std::min(value * 10 + (pattern_[i] - u'0'), 1L << 30);
                ++i;
            }
            return i > start;
        };
        if (!number(min)) return 0;
        max = min;
        if (i < pattern_.size() && pattern_[i] == u',') {
            ++i;
            if (!number(max)) max = -1;
        }
        if (i >= pattern_.size() || pattern_[i] != u'}') return 0;
        return i + 1 - pos_;
    }

    bool StartsQuantifier() const {
        const int c = Peek();
        long min = 0;
        long max = 0;
        return c == u'*' || c == u'+' || c == u'?' || BraceQuantifier(min, max) > 0;
    }

    bool Quantifier() {
        const int c = Peek();
        long min = 0;
        long max = 0;
        if (c == u'*' || c == u'+' || c == u'?') {
            out_ += static_cast<char16_t>(c);
            ++pos_;
        } else if (const std::size_t length = BraceQuantifier(min, max); length > 0) {
            if (max >= 0 && max < min) return false;
            out_ += u'{';
            AppendNumber(min);
            if (max != min) {
                out_ += u',';
                if (max >= 0) AppendNumber(max);
            }
            out_ += u'}';
            pos_ += length;
        } else {
            return true;
        }
        if (Peek() == u'?') {  // lazy
            out_ += u'?';
            ++pos_;
        }
        return !StartsQuantifier();  // "a**" and "a*+" are errors, not PCRE2 possessives
    }

    bool Group() {
        std::u16string_view close = u")";
        if (Peek(1) == u'?') {
            switch (Peek(2)) {
                case u':':
                    out_ += u"(?:";
                    break;
                // A look-ahead is an atom that may carry a quantifier, so it goes in a group.
                case u'=':
                    out_ += u"(?:(?=";
                    close = u"))";
                    break;
                case u'!':
                    out_ += u"(?:(?!";
                    close = u"))";
                    break;
                default:
                    return false;
            }
            pos_ += 3;
        } else {
            out_ += u'(';
            ++pos_;
        }
        if (!Disjunction() || Peek() != u')') return false;
        ++pos_;
        out_ += close;
        return true;
    }

    bool AtomEscape() {
        ++pos_;  // the backslash
        const int c = Peek();
        if (c < 0) return false;
        if (c >= u'1' && c <= u'9') {
            std::size_t end = pos_;
            long number = 0;
            while (end < pattern_.size() && IsDecimalDigit(pattern_[end])) {
                number = std::min(number * 10 + (pattern_[end] - u'0'), 1L << 30);
                ++end;
            }
            if (number <= groupCount_) {
                out_ += u"\\g{";
                AppendNumber(number);
                out_ += u'}';
                pos_ = end;
                return true;
            }
            AppendLiteral(LegacyOctal());
            return true;
        }
        switch (c) {
            case u'0':
                AppendLiteral(LegacyOctal());
                return true;
            case u'd':
            case u'D':
            case u'w':
            case u'W':
                // Without PCRE2_UCP these are the ASCII classes ECMAScript has.
                out_ += u'\\';
                out_ += static_cast<char16_t>(c);
                ++pos_;
                return true;
            case u's':
            case u'S':
                out_ += c == u's' ? u"[" : u"[^";
                AppendRanges(out_, kSpaces);
                out_ += u']';
                ++pos_;
                return true;
            default:
                AppendLiteral(CharacterEscape());
                return true;
        }
    }

    // An octal escape of up to three digits (at most \377), as the browsers' engines read "\0",
    // "\12" and "\N" without group N; "\8" and "\9" are the digits themselves.
    char32_t LegacyOctal() {
        const int first = Peek();
        ++pos_;
        if (!IsOctalDigit(first)) return static_cast<char32_t>(first);
        char32_t value = static_cast<char32_t>(first - u'0');
        if (IsOctalDigit(Peek())) {
            value = value * 8 + static_cast<char32_t>(Peek() - u'0');
            ++pos_;
            if (first <= u'3' && IsOctalDigit(Peek())) {
                value = value * 8 + static_cast<char32_t>(Peek() - u'0');
                ++pos_;
            }
        }
        return value;
    }

    // The character of an escape that stands for one character; the position is just after the
    // backslash. An escape ECMAScript does not define is the character itself.
    char32_t CharacterEscape() {
        const int c = Peek();
        switch (c) {
            case u'f':
                ++pos_;
                return 0x0C;
            case u'n':
                ++pos_;
                return 0x0A;
            case u'r':
                ++pos_;
                return 0x0D;
            case u't':
                ++pos_;
                return 0x09;
            case u'v':
                ++pos_;
                return 0x0B;
            case u'c': {
                const int letter = Peek(1);
                if ((letter >= u'a' && letter <= u'z') || (letter >= u'A' && letter <= u'Z')) {
                    pos_ += 2;
                    return static_cast<char32_t>(letter % 32);
                }
                return u'\\';  // "\c" without a letter is a backslash; the "c" follows
            }
            case u'x':
                if (HexValue(Peek(1)) >= 0 && HexValue(Peek(2)) >= 0) {
                    const char32_t value =
                        static_cast<char32_t>(HexValue(Peek(1)) * 16 + HexValue(Peek(2)));
                    pos_ += 3;
                    return value;
                }
                ++pos_;
                return u'x';
            case u'u': {
                char32_t value = 0;
                if (!HexUnit(1, value)) {
                    ++pos_;
                    return u'u';
                }
                pos_ += 5;
                // "\uD83D\uDE00" is one character, as the text holds it.
                char32_t low = 0;
                if (value >= 0xD800 && value <= 0xDBFF && Peek() == u'\\' && Peek(1) == u'u' &&
                    HexUnit(2, low) && low >= 0xDC00 && low <= 0xDFFF) {
                    pos_ += 6;
                    return 0x10000 + ((value - 0xD800) << 10) + (low - 0xDC00);
                }
                return value;
            }
            default:
                return NextCodePoint();
        }
    }

    // Four hex digits starting ahead units after the current position.
    bool HexUnit(std::size_t ahead, char32_t& value) const {
        value = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const int digit = HexValue(Peek(ahead + k));
            if (digit < 0) return false;
            value = value * 16 + static_cast<char32_t>(digit);
        }
        return true;
    }

    bool CharacterClass() {
        ++pos_;  // "["
        const bool negated = Peek() == u'^';
        if (negated) ++pos_;
        RangeList ranges;
        bool notWord = false;
        auto add = [&](const ClassAtom& atom) {
            if (atom.set) ranges.insert(ranges.end(), atom.set->begin(), atom.set->end());
            ranges.insert(ranges.end(), atom.complement.begin(), atom.complement.end());
            notWord |= atom.notWord;
            if (!atom.IsSet()) ranges.push_back({atom.character, atom.character});
        };
        for (;;) {
            if (AtEnd()) return false;
            if (Peek() == u']') {
                ++pos_;
                break;
            }
            if (Peek() == u'\\' && Peek(1) < 0) return false;
            const ClassAtom from = NextClassAtom();
            if (Peek() == u'-' && Peek(1) >= 0 && Peek(1) != u']') {
                ++pos_;
                if (Peek() == u'\\' && Peek(1) < 0) return false;
                const ClassAtom to = NextClassAtom();
                if (from.IsSet() || to.IsSet()) {
                    // "[\d-z]": the browsers' engines take the dash literally.
                    add(from);
                    ranges.push_back({u'-', u'-'});
                    add(to);
                } else if (from.character > to.character) {
                    return false;
                } else {
                    ranges.push_back({from.character, to.character});
                }
            } else {
                add(from);
            }
        }
        const RangeList items = Normalised(std::move(ranges));
        if (items.empty() && !notWord) {
            out_ += negated ? kAnyCharacter : kNothing;
            return true;
        }
        out_ += negated ? u"[^" : u"[";
        AppendRanges(out_, items);
        // PCRE2 adds the case partners of every listed character when case is ignored, which
        // for the ranges of \W would bring in "k" and "s" (partners of U+212A and U+017F); its
        // own \W is left alone, as ECMAScript leaves it.
        if (notWord) out_ += u"\\W";
        out_ += u']';
        return true;
    }

    ClassAtom NextClassAtom() {
        ClassAtom atom;
        if (Peek() != u'\\') {
            atom.character = NextCodePoint();
            return atom;
        }
        ++pos_;
        const int c = Peek();
        switch (c) {
            case u'b':
                ++pos_;
                atom.character = 0x08;
                return atom;
            case u'-':
                ++pos_;
                atom.character = u'-';
                return atom;
            case u'd':
                atom.set = &kDigits;
                break;
            case u'D':
                atom.complement = Complement(kDigits);
                break;
            case u'w':
                atom.set = &kWordCharacters;
                break;
            case u'W':
                atom.notWord = true;
                break;
            case u's':
                atom.set = &kSpaces;
                break;
            case u'S':
                atom.complement = Complement(kSpaces);
                break;
            default:
                atom.character = IsDecimalDigit(c) ? LegacyOctal() : CharacterEscape();
                return atom;
        }
        ++pos_;
        return atom;
    }

    // One literal character, quoted so that PCRE2 reads nothing else into it.
    void AppendLiteral(char32_t c) {
        if (IsSurrogate(c)) {
            out_ += kNothing;  // a lone surrogate: the decoded text never holds one
        } else if (IsAsciiAlphanumeric(c)) {
            out_ += static_cast<char16_t>(c);
        } else if (c > 0x20 && c < 0x7F) {
            out_ += u'\\';
            out_ += static_cast<char16_t>(c);
        } else if (c < 0x80) {
            AppendHex(out_, c);
        } else if (c < 0x10000) {
            out_ += static_cast<char16_t>(c);
        } else {
            out_ += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out_ += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }

    void AppendNumber(long n) {
        const std::string digits = std::to_string(n);
        out_.append(digits.begin(), digits.end());
    }

    std::u16string_view pattern_;
    bool multiline_;
    std::size_t pos_ = 0;
    int groupCount_ = 0;
    std::u16string out_;
};

}  // namespace

std::optional<std::u16string> EcmaPatternToPcre2(std::u16string_view pattern, bool multiline) {
    return Translator(pattern, multiline).Run();
}

}  // namespace smsdock
