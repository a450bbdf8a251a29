#include "text/text_ops.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// GBK characters used below, as escaped bytes:
//   "\xD6\xD0" 中             "\xB0\xA1" 啊            "\xA1\xB0" “ (left double quote)
//   "\x81\x40" 丂 (second byte '@')   "\x81\x41" 丄 (second byte 'A')   "\x81\x61" 乤 (second 'a')
//   "\xA3\xC1" Ａ, "\xA3\xE1" ａ (full-width letters)   "\xA1\xA1" full-width space
//   "\xA3\xB1".."\xA3\xB3" １２３, "\xA3\xAD" － (full-width digits and minus)
//   "\xB0" on its own at the end of a text: a lead byte without its follower.
// Adjacent literals ("\xD6\xD0" "abc") keep a hex escape from swallowing the letters after it.

namespace smsdock {
namespace {

std::vector<std::string> Strings(const TextArray& array) {
    std::vector<std::string> out;
    for (const Text& t : array)
        out.push_back(t.str());
    return out;
}

struct PositionCase {
    const char* text;
    const char* sought;
    int start;
    bool ignoreCase;
    int expected;
};

TEST(PositionOfTest, FindsFirstOccurrenceAtCharacterBoundaries) {
    const PositionCase cases[] = {
        {"abc", "", 1, false, 1},
        {"abc", "", 3, false, 1},
        {"abc", "", 4, false, -1},
        {"", "", 1, false, -1},
        {"abcabc", "bc", 3, false, 5},
        {"abcabc", "bc", 0, false, 2},
        {"abcabc", "bc", -7, false, 2},
        {"abcabc", "bc", INT_MIN, false, 2},
        {"abcabc", "bc", INT_MAX, false, -1},
        {"abc", "abcd", 1, false, -1},
        {"ABC", "b", 1, true, 2},
        {"ABC", "b", 1, false, -1},
        {"\xD6\xD0"
         "abc",
         "b", 1, false, 4},                     // 中 counts two bytes
        {"\x81\x40", "@", 1, false, -1},        // 丂: its second byte is no '@'
        {"\x81\x40@", "@", 1, false, 3},        // 丂@
        {"\x81\x41", "a", 1, true, -1},         // 丄: nor is its second byte an 'A'
        {"x\x81\x41", "\x81\x61", 1, true, 2},  // 丄 folds to 乤 byte by byte
        {"x\x81\x41", "\x81\x61", 1, false, -1},
        {"\xA3\xC1", "\xA3\xE1", 1, true, -1},  // Ａ and ａ never fold
        {"\x81\x40@", "@", 2, false, 2},        // a start inside 丂 walks from that byte
        {"a\xB0", "\xB0", 1, false, -1},        // a lone lead byte ends the walk
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const PositionCase& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(PositionOf(c.text, c.sought, c.start, c.ignoreCase), c.expected);
    }
}

struct LastPositionCase {
    const char* text;
    const char* sought;
    std::optional<int> start;
    bool ignoreCase;
    int expected;
};

TEST(LastPositionOfTest, FindsLastOccurrenceWithinFirstStartMinusOneBytes) {
    const LastPositionCase cases[] = {
        {"a.b.c", ".", std::nullopt, false, 4},
        {"a.b.c", ".", 4, false, 2},
        {"a.b.c", ".", 5, false, 4},
        {"a.b.c", ".", 1, false, -1},
        {"a.b.c", ".", -3, false, -1},
        {"a.b.c", ".", INT_MIN, false, -1},
        {"a.b.c", ".", INT_MAX, false, 4},
        {"abab", "ab", 4, false, 1},  // the one at 3 does not fit in the first 3 bytes
        {"abc", "", std::nullopt, false, 1},
        {"abc", "", 1, false, -1},
        {"", "", std::nullopt, false, -1},
        {"aXbx", "X", std::nullopt, true, 4},
        {"@\x81\x40", "@", std::nullopt, false, 1},  // @丂: 丂's second byte is skipped
        {"a\xB0", "\xB0", std::nullopt, false, -1},  // a lone lead byte ends the walk
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const LastPositionCase& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(LastPositionOf(c.text, c.sought, c.start, c.ignoreCase), c.expected);
    }
}

TEST(ByteSliceTest, TextLeftRightMidClampOrRefuseAsDefined) {
    EXPECT_EQ(TextLength("\xD6\xD0"
                         "a"),
              3);  // 中a
    const std::pair<Text, std::string> cases[] = {
        {TextLeft("abc", 2), "ab"},
        {TextLeft("abc", 0), ""},
        {TextLeft("abc", -1), ""},
        {TextLeft("abc", INT_MIN), ""},
        {TextLeft("abc", 9), "abc"},
        {TextLeft("\xD6\xD0", 1), "\xD6"},  // byte-wise: cuts 中 in two
        {TextRight("abc", 2), "bc"},
        {TextRight("abc", 0), ""},
        {TextRight("abc", -1), ""},
        {TextRight("abc", 9), "abc"},
        {TextRight("abc", INT_MAX), "abc"},
        {TextRight("\xD6\xD0", 1), "\xD0"},  // second byte of 中
        {TextMid("abc", 2, 9), "bc"},
        {TextMid("abc", 3, 1), "c"},
        {TextMid("abc", 2, INT_MAX), "bc"},
        {TextMid("abc", 0, 2), ""},
        {TextMid("abc", 4, 1), ""},
        {TextMid("abc", INT_MIN, 2), ""},
        {TextMid("abc", INT_MAX, 1), ""},
        {TextMid("abc", 1, 0), ""},
        {TextMid("abc", 1, -1), ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(cases[i].first.str(), cases[i].second);
    }
}

TEST(ByteSliceTest, BytesLeftAndMidMoveArgumentsIntoRange) {
    const Bytes abc = ToBytes("abc");
    const Bytes withZero = ToBytes(std::string_view("a\0b", 3));
    const std::pair<Bytes, Bytes> cases[] = {
        {BytesLeft(abc, 2), ToBytes("ab")},
        {BytesLeft(abc, 9), abc},
        {BytesLeft(abc, 0), Bytes()},
        {BytesLeft(abc, -1), Bytes()},
        {BytesMid(abc, 0, 2), ToBytes("ab")},  // unlike TextMid, the start moves to 1
        {BytesMid(abc, INT_MIN, 2), ToBytes("ab")},
        {BytesMid(abc, 2, 9), ToBytes("bc")},
        {BytesMid(abc, 2, INT_MAX), ToBytes("bc")},
        {BytesMid(abc, 4, 1), Bytes()},
        {BytesMid(abc, 9, 2), Bytes()},
        {BytesMid(abc, 2, -1), Bytes()},
        {BytesMid(withZero, 2, 2), ToBytes(std::string_view("\0b", 2))},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(cases[i].first, cases[i].second);
    }
    EXPECT_EQ(BytesLength(withZero), 3);
    EXPECT_EQ(BytesLength(Bytes()), 0);
}

TEST(CaseConversionTest, FoldsOnlyAsciiLettersThatStartACharacter) {
    struct {
        const char* text;
        const char* upper;
        const char* lower;
    } const cases[] = {
        {"abC1z", "ABC1Z", "abc1z"},
        // 中 and the full-width Ａ pass unchanged.
        {"a\xD6\xD0"
         "b\xA3\xC1",
         "A\xD6\xD0"
         "B\xA3\xC1",
         "a\xD6\xD0"
         "b\xA3\xC1"},
        // 乤 and 丄 end in 'a' and 'A', which are second bytes, not letters.
        {"\x81\x61\x81\x41q", "\x81\x61\x81\x41Q", "\x81\x61\x81\x41q"},
        // A lone lead byte at the end stays.
        {"a\xB0", "A\xB0", "a\xB0"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(ToUpperCase(cases[i].text).str(), cases[i].upper);
        EXPECT_EQ(ToLowerCase(cases[i].text).str(), cases[i].lower);
    }
}

TEST(SpacesTest, TrimAndRemoveKnowOnlyHalfAndFullWidthSpaces) {
    struct {
        const char* text;
        const char* trimmed;
        const char* removed;
    } const cases[] = {
        {"  a b  ", "a b", "ab"},
        // Full-width spaces around and inside.
        {"\xA1\xA1"
         "a\xA1\xA1"
         "b \xA1\xA1",
         "a\xA1\xA1"
         "b",
         "ab"},
        {"\ta\r\n", "\ta\r\n", "\ta\r\n"},
        {" \xA1\xA1 ", "", ""},
        {"", "", ""},
        // 啊 then “: the bytes A1 A1 in the middle straddle two characters and are no space.
        {"\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0"},
        // 啊 then a lone A1: the trailing A1 A1 is no space, and the lone byte is dropped.
        {"x\xB0\xA1\xA1", "x\xB0\xA1", "x\xB0\xA1"},
        {"a \xB0", "a", "a"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(TrimSpaces(cases[i].text).str(), cases[i].trimmed);
        EXPECT_EQ(RemoveSpaces(cases[i].text).str(), cases[i].removed);
    }
}

TEST(ReplaceTextTest, ReplacesNonOverlappingOccurrencesFromStart) {
    struct {
        const char* text;
        const char* sought;
        const char* replacement;
        int start;
        int count;
        bool caseSensitive;
        const char* expected;
    } const cases[] = {
        {"aaaa", "aa", "b", 1, -1, true, "bb"},
        {"aaaa", "aa", "b", 1, 1, true, "baa"},
        {"aaaa", "aa", "b", 2, -1, true, "aba"},
        {"aaaa", "aa", "b", 1, 5, true, "bb"},
        {"aaaa", "aa", "b", INT_MIN, -1, true, "bb"},
        {"aa", "a", "aa", 1, -1, true, "aaaa"},  // a replacement is not searched again
        {"Set-Cookie: x", "set-cookie:", "", 1, -1, false, " x"},
        {"Set-Cookie: x", "set-cookie:", "", 1, -1, true, "Set-Cookie: x"},
        {"\xD6\xD0"
         "a\xD6\xD0",
         "\xD6\xD0", "-", 1, -1, true, "-a-"},              // 中a中
        {"\x81\x40@", "@", "#", 1, -1, true, "\x81\x40#"},  // 丂@
        // Returned untouched.
        {"", "a", "b", 1, -1, true, ""},
        {"abc", "", "x", 1, -1, true, "abc"},
        {"abc", "c", "x", 4, -1, true, "abc"},
        {"abc", "c", "x", INT_MAX, -1, true, "abc"},
        {"abc", "c", "x", 1, 0, true, "abc"},
        // A lone lead byte at the end: dropped when the walk reaches it, kept by an untouched
        // copy and in the rest after the last counted replacement.
        {"ab\xB0", "a", "x", 1, -1, true, "xb"},
        {"ab\xB0", "a", "x", 1, 0, true, "ab\xB0"},
        {"aa\xB0", "a", "x", 1, 1, true, "xa\xB0"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(
            ReplaceText(c.text, c.sought, c.replacement, c.start, c.count, c.caseSensitive).str(),
            c.expected);
    }
}

TEST(SplitTextTest, KeepsInnerEmptyPiecesButNotATrailingOne) {
    struct {
        const char* text;
        const char* delimiter;
        std::optional<int> maxCount;
        std::vector<std::string> expected;
    } const cases[] = {
        {"a;;b;", ";", std::nullopt, {"a", "", "b"}},
        {";a", ";", std::nullopt, {"", "a"}},
        {";", ";", std::nullopt, {""}},
        {"", ";", std::nullopt, {}},
        {"a;b", "", std::nullopt, {"a;b"}},
        {"\r\nA: 1\r\nB: 2\r\n", "\r\n", std::nullopt, {"", "A: 1", "B: 2"}},
        {"xabyabab", "ab", std::nullopt, {"x", "y", ""}},
        {"aXbxc", "x", std::nullopt, {"aXb", "c"}},  // always case-sensitive
        {"a;b;c", ";", 1, {"a"}},
        {"a;b;c", ";", 2, {"a", "b"}},
        {"a;b;c", ";", 3, {"a", "b", "c"}},
        {"a;b;", ";", 2, {"a", "b"}},
        {"a;b;c", ";", 0, {}},
        {"a;b;c", ";", -1, {}},
        {"\x81\x40@x", "@", std::nullopt, {"\x81\x40", "x"}},  // 丂@x
        {"a;\xB0", ";", std::nullopt, {"a", "\xB0"}},          // a lone lead byte stays
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(Strings(SplitText(c.text, c.delimiter, c.maxCount)), c.expected);
    }
    EXPECT_EQ(Strings(SplitText("a,b")), (std::vector<std::string>{"a", "b"}));
}

TEST(TextToIntTest, ReadsLeadingIntegerWithFullWidthFormsAndSaturates) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {" 42px", 42},
        {"-7", -7},
        {"+5", 5},
        {"abc", 0},
        {"", 0},
        {"- 5", 0},
        {"\t\n\v\f\r 9", 9},
        {"\xA3\xB1\xA3\xB2", 12},  // １２
        {"\xA3\xAD\xA3\xB3", -3},  // －３
        {"\xA1\xA1"
         "8",
         8},  // full-width space, then 8
        {"12\xD6\xD0"
         "3",
         12},  // 中 ends the digits
        {"\xB0"
         "12",
         0},  // the lead byte B0 takes the '1' as its second byte
        {"5\xB0", 5},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"99999999999999999999999", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"-99999999999999999999999", INT32_MIN},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(TextToInt(cases[i].first), cases[i].second);
    }
}

TEST(IntToTextTest, WritesDecimalWithMinusSign) {
    EXPECT_EQ(IntToText(0).str(), "0");
    EXPECT_EQ(IntToText(-7).str(), "-7");
    EXPECT_EQ(IntToText(INT64_MIN).str(), "-9223372036854775808");
    EXPECT_EQ(IntToText(INT64_MAX).str(), "9223372036854775807");
}

TEST(ConversionTest, BytesAndTextConvertUpToFirstZero) {
    EXPECT_EQ(BytesToText(ToBytes(std::string_view("ab\0c", 4))).str(), "ab");
    EXPECT_EQ(BytesToText(ToBytes("\xD6\xD0"
                                  "a"))
                  .str(),
              "\xD6\xD0"
              "a");  // 中a
    EXPECT_EQ(BytesToText(Bytes()).str(), "");
    EXPECT_EQ(TextToBytes("\xD6\xD0"), (Bytes{0xD6, 0xD0}));  // 中, no terminator
    EXPECT_EQ(TextToBytes(""), Bytes());
}

TEST(ConversionTest, CharFromCodeAndCharCodeUseOneSignedByte) {
    const std::pair<int, std::string> fromCode[] = {
        {65, "A"}, {0, ""}, {256, ""}, {0x1B0, "\xB0"}, {-80, "\xB0"},
    };
    for (const auto& [code, expected] : fromCode)
        EXPECT_EQ(CharFromCode(code).str(), expected);

    EXPECT_EQ(CharCode("\xB0"), -80);
    EXPECT_EQ(CharCode("ab", 2), 'b');
    EXPECT_EQ(CharCode(""), 0);
    EXPECT_EQ(CharCode("ab", 0), 0);
    EXPECT_EQ(CharCode("ab", 3), 0);
    EXPECT_EQ(CharCode("ab", INT_MIN), 0);
}

TEST(ConversionTest, BlankTextAndBlankBytes) {
    EXPECT_EQ(BlankText(3).str(), "   ");
    EXPECT_EQ(BlankText(0).str(), "");
    EXPECT_EQ(BlankText(INT_MIN).str(), "");
    EXPECT_EQ(BlankBytes(2), (Bytes{0, 0}));
    EXPECT_EQ(BlankBytes(0), Bytes());
    EXPECT_EQ(BlankBytes(-5), Bytes());
}

}  // namespace
}  // namespace smsdock
