#include "text/code_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace smsdock {
namespace {

// UTF-16LE bytes of the units, with no terminator added.
Bytes Le(std::u16string_view units) {
    Bytes bytes;
    for (char16_t u : units) {
        bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return bytes;
}

struct Utf8Case {
    const char* name;
    const char* utf8;
    const char* gbk;
    friend void PrintTo(const Utf8Case& c, std::ostream* os) { *os << c.name; }
};

class Utf8ToAnsiTest : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ToAnsiTest, ConvertsPageText) {
    EXPECT_EQ(Utf8ToAnsi(Text(GetParam().utf8)), Text(GetParam().gbk));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8ToAnsiTest,
    testing::Values(Utf8Case{"Empty", "", ""},
                    Utf8Case{"Ascii", "<a href=\"/dl/2.html\">2</a>",
                             "<a href=\"/dl/2.html\">2</a>"},
                    // 中文
                    Utf8Case{"Chinese", "\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
                    // 版本号：1.8, the full-width colon staying full-width
                    Utf8Case{"VersionLabel",
                             "\xE7\x89\x88\xE6\x9C\xAC\xE5\x8F\xB7\xEF\xBC\x9A"
                             "1.8",
                             "\xB0\xE6\xB1\xBE\xBA\xC5\xA3\xBA"
                             "1.8"},
                    // 码, an emoji outside the BMP, 好: one "?" for the emoji
                    Utf8Case{"EmojiBecomesQuestionMark", "\xE7\xA0\x81\xF0\x9F\x98\x80\xE5\xA5\xBD",
                             "\xC2\xEB?\xBA\xC3"},
                    Utf8Case{"InvalidByte",
                             "a\xFF"
                             "b",
                             "a?b"},
                    Utf8Case{"StrayContinuationByte",
                             "a\x80"
                             "b",
                             "a?b"},
                    // 中 then a sequence cut short at the end of the text
                    Utf8Case{"TruncatedSequence", "\xE4\xB8\xAD\xE6\x96", "\xD6\xD0?"},
                    // e + U+0301 COMBINING ACUTE ACCENT: converted one by one, nothing composed
                    Utf8Case{"CombiningMarkNotComposed", "e\xCC\x81", "e?"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8ToAnsiTest, LargeMixedPageMatchesConversionThroughUtf16) {
    // The one-pass conversion must agree with decoding to UTF-16 and encoding that as GBK,
    // also where invalid bytes and emoji fall across the converter's internal buffer bounds.
    std::string page;
    for (int i = 0; page.size() < 200000; ++i) {
        page += "<td style=\"\">\xE9\xAA\x8C\xE8\xAF\x81\xE7\xA0\x81 " + std::to_string(i);
        if (i % 7 == 0) page += "\xF0\x9F\x98\x80";
        if (i % 11 == 0) page += "\xC3";  // a lead byte without its continuation
        page += "</td>\n";
    }
    const Text utf8(page);
    EXPECT_EQ(Utf8ToAnsi(utf8), Utf16ToText(TextToUtf16(utf8), kCodePageGbk));
}

struct Utf16Case {
    const char* name;
    Bytes utf16;
    const char* gbk;
    friend void PrintTo(const Utf16Case& c, std::ostream* os) { *os << c.name; }
};

class Utf16ToGbkTest : public testing::TestWithParam<Utf16Case> {};

TEST_P(Utf16ToGbkTest, ConvertsClipboardText) {
    EXPECT_EQ(Utf16ToGbk(GetParam().utf16), Text(GetParam().gbk));
}

Bytes WithOddByte(Bytes bytes) {
    bytes.push_back('x');
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf16ToGbkTest,
    testing::Values(Utf16Case{"Empty", Bytes(), ""},
                    Utf16Case{"StopsAtZeroUnit", Le(std::u16string(u"abc\0def", 7)), "abc"},
                    Utf16Case{"NoZeroUnitTakesAllUnits", Le(u"abc"), "abc"},
                    Utf16Case{"OddLastByteIgnored", WithOddByte(Le(u"ab")), "ab"},
                    // 中文
                    Utf16Case{"Chinese", Le(u"\u4E2D\u6587"), "\xD6\xD0\xCE\xC4"},
                    // e + U+0301 composed to é, GBK A8 A6
                    Utf16Case{"CombiningMarkComposed", Le(u"e\u0301!"), "\xA8\xA6!"},
                    Utf16Case{"SurrogatePairIsOneQuestionMark", Le(u"a\U0001F600b"), "a?b"},
                    Utf16Case{"LoneSurrogateIsQuestionMark",
                              Le(u"a\xD800"
                                 u"b"),
                              "a?b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextToUtf16Test, DecodesWithTerminatingZeroUnit) {
    // 中 in UTF-8 (the default) and in GBK (936 and the ANSI code page 0).
    const Bytes expected = {0x61, 0x00, 0x2D, 0x4E, 0x00, 0x00};
    EXPECT_EQ(TextToUtf16(Text("a\xE4\xB8\xAD")), expected);
    EXPECT_EQ(TextToUtf16(Text("a\xD6\xD0"), kCodePageGbk), expected);
    EXPECT_EQ(TextToUtf16(Text("a\xD6\xD0"), kCodePageAnsi), expected);
    EXPECT_EQ(TextToUtf16(Text("\xF0\x9F\x98\x80")), (Bytes{0x3D, 0xD8, 0x00, 0xDE, 0x00, 0x00}));
    EXPECT_EQ(TextToUtf16(Text()), Bytes());
}

TEST(TextToUtf16Test, OtherCodePages) {
    // Code page 1252: E9 is é. A number no converter knows gives nothing.
    EXPECT_EQ(TextToUtf16(Text("\xE9"), 1252), (Bytes{0xE9, 0x00, 0x00, 0x00}));
    EXPECT_EQ(TextToUtf16(Text("abc"), 12345), Bytes());
    EXPECT_EQ(TextToUtf16(Text("abc"), -1), Bytes());
}

TEST(Utf16ToTextTest, EncodesUpToZeroUnitInCodePage) {
    const Bytes units = Le(std::u16string(u"\u4E2D\u00E9\0z", 4));  // 中é, zero unit, z
    EXPECT_EQ(Utf16ToText(units), Text("\xD6\xD0\xA8\xA6"));
    EXPECT_EQ(Utf16ToText(units, kCodePageGbk), Text("\xD6\xD0\xA8\xA6"));
    EXPECT_EQ(Utf16ToText(units, kCodePageUtf8), Text("\xE4\xB8\xAD\xC3\xA9"));
    EXPECT_EQ(Utf16ToText(units, 1252), Text("?\xE9"));
    EXPECT_EQ(Utf16ToText(units, 12345), Text());
    EXPECT_EQ(Utf16ToText(Bytes()), Text());
}

TEST(ZeroedBytesTest, SizesAndContent) {
    EXPECT_EQ(ZeroedBytes(0), Bytes());
    EXPECT_EQ(ZeroedBytes(-5), Bytes());
    EXPECT_EQ(ZeroedBytes(6), Bytes(6, 0));
}

// GBK text is widened run by run (ASCII directly, the rest through the converter); whatever
// the bytes, that must give exactly the units of one conversion of the whole text.
TEST(EdgeConversionTest, GbkToUtf16StringMatchesWholeConversion) {
    const unsigned char interesting[] = {0x20, 0x22, 0x3C, 0x40, 0x41, 0x7E, 0x7F, 0x80,
                                         0x81, 0xA1, 0xB0, 0xBA, 0xC5, 0xFE, 0xFF};
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        const int length = static_cast<int>(next() % 24);
        for (int i = 0; i < length; ++i) {
            const std::uint32_t pick = next();
            bytes += static_cast<char>(pick % 3 == 0 ? interesting[(pick >> 4) % 15]
                                                     : 1 + (pick >> 4) % 255);
        }
        const Text text(bytes);
        const Bytes whole = TextToUtf16(text, kCodePageGbk);
        std::u16string expected;
        for (std::size_t i = 0; i + 1 < whole.size(); i += 2)
            expected += static_cast<char16_t>(whole[i] | (whole[i + 1] << 8));
        if (!expected.empty() && expected.back() == u'\0') expected.pop_back();
        ASSERT_EQ(GbkToUtf16String(text), expected) << "round " << round;
    }
}

TEST(EdgeConversionTest, GbkAndUtf16Strings) {
    // 号码 and the euro sign, which code page 936 has as the single byte 80.
    EXPECT_EQ(GbkToUtf16String(Text("\xBA\xC5\xC2\xEB \x80")), u"\u53F7\u7801 \u20AC");
    EXPECT_EQ(GbkToUtf16String(Text()), u"");
    EXPECT_EQ(Utf16StringToGbk(u"\u53F7\u7801 \u20AC"), Text("\xBA\xC5\xC2\xEB \x80"));
    EXPECT_EQ(Utf16StringToGbk(std::u16string_view(u"ab\0cd", 5)), Text("ab"));
    EXPECT_EQ(Utf16StringToGbk(u"e\u0301"), Text("e?"));
    EXPECT_EQ(Utf16StringToGbkComposed(u"e\u0301"), Text("\xA8\xA6"));
    EXPECT_EQ(Utf16StringToGbkComposed(std::u16string_view(u"e\u0301\0e\u0301", 5)),
              Text("\xA8\xA6"));
}

}  // namespace
}  // namespace smsdock
