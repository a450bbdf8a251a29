#include "text/extract.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

// GBK characters used below, as escaped bytes:
//   "\xB0\xE6\xB1\xBE\xBA\xC5" 版本号   "\xA3\xBA" ： (full-width colon)   "\xB0\xA3" 埃
//   "\x81\x40" 丂 (second byte '@')   "\x81\x41" 丄 (second byte 'A')   "\xD6\xD0" 中
// Adjacent literals ("\xD6\xD0" "abc") keep a hex escape from swallowing the letters after it.

namespace smsdock {
namespace {

TEST(TextBetweenTest, CutsBetweenLeftMarkerAndNextRightMarker) {
    const std::string quoted = std::string("id=") + kQuoteMarker;
    struct {
        const char* text;
        std::string left;
        std::string right;
        int start;
        bool ignoreCase;
        const char* expected;
    } const cases[] = {
        {"x=<1>", "<", ">", 0, false, "1"},
        {"<>", "<", ">", 0, false, ""},
        {"x=<1", "<", ">", 0, false, ""},
        {"x=1>", "<", ">", 0, false, ""},
        {"> <a>", "<", ">", 0, false, "a"},  // the right marker is sought after the left one
        {"<1><2>", "<", ">", 1, false, "1"},
        {"<1><2>", "<", ">", 2, false, "2"},
        {"<1><2>", "<", ">", -5, false, "1"},
        {"<1><2>", "<", ">", INT_MAX, false, ""},
        {"<B>x</b>", "<b>", "</B>", 0, true, "x"},
        {"<B>x</b>", "<b>", "</B>", 0, false, ""},
        // The quote marker stands for a double quote in either marker.
        {"a id=\"7\" b", quoted, kQuoteMarker, 0, false, "7"},
        // 丂 ends in '@': only the real '@' characters count as markers.
        {"\x81\x40x@v@", "@", "@", 0, false, "v"},
        // Chinese markers: 版本号 ... ：
        {"\xB0\xE6\xB1\xBE\xBA\xC5"
         "1.8\xA3\xBA",
         "\xBA\xC5", "\xA3\xBA", 0, false, "1.8"},
        // Empty markers are harmless: an empty left one matches at the start, an empty right
        // one gives nothing.
        {"abc", "", "c", 0, false, "ab"},
        {"abc", "a", "", 0, false, ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(TextBetween(c.text, Text(c.left), Text(c.right), c.start, c.ignoreCase).str(),
                  c.expected);
    }
}

TEST(TextBetweenTest, LargePageOfDoubleByteCharacters) {
    // A page of 1 MiB of 丂, whose second byte is '@', with the value at its very end.
    std::string page;
    for (int i = 0; i < (1 << 19); ++i)
        page += "\x81\x40";
    page += "@v@";
    EXPECT_EQ(TextBetween(Text(page), "@", "@").str(), "v");
}

TEST(TextLeftOfTest, CutsBeforeFirstMarker) {
    struct {
        const char* text;
        const char* marker;
        int start;
        bool ignoreCase;
        const char* expected;
    } const cases[] = {
        {"Set-Cookie: a=1", ": ", 1, false, "Set-Cookie"},
        {"Set-Cookie: a=1", ";", 1, false, ""},
        {":a", ":", 1, false, ""},
        {"a:b:c", ":", 0, false, "a"},
        {"a:b:c", ":", INT_MIN, false, "a"},
        {"a:b:c", ":", 3, false, "a:b"},
        {"aXbx", "x", 1, true, "a"},
        {"\x81\x40x@", "@", 1, false, "\x81\x40x"},  // 丂x@
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(TextLeftOf(c.text, c.marker, c.start, c.ignoreCase).str(), c.expected);
    }
}

TEST(TextRightOfLastTest, CutsAfterLastMarker) {
    struct {
        const char* text;
        const char* marker;
        std::optional<int> start;
        bool ignoreCase;
        const char* expected;
    } const cases[] = {
        // 版本号：1.8 at the full-width colon
        {"\xB0\xE6\xB1\xBE\xBA\xC5\xA3\xBA"
         "1.8",
         "\xA3\xBA", std::nullopt, false, "1.8"},
        {"a\xA3\xBA"
         "b\xA3\xBA"
         "c",
         "\xA3\xBA", std::nullopt, false, "c"},  // a：b：c
        // 1：2埃号 holds the bytes A3 BA across 埃 and 号, which is no colon.
        {"1\xA3\xBA"
         "2\xB0\xA3\xBA\xC5",
         "\xA3\xBA", std::nullopt, false, "2\xB0\xA3\xBA\xC5"},
        {"abc", ":", std::nullopt, false, ""},
        {"abc:", ":", std::nullopt, false, ""},
        {"a:b:c", ":", 4, false, "b:c"},  // only the first 3 bytes are searched
        {"a:b:c", ":", 0, false, ""},
        {"aXbxc", "x", std::nullopt, true, "c"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(TextRightOfLast(c.text, c.marker, c.start, c.ignoreCase).str(), c.expected);
    }
}

TEST(FindTextTest, SearchesBytesBlindToCharacters) {
    struct {
        const char* text;
        const char* sought;
        int start;
        bool ignoreCase;
        int expected;
    } const cases[] = {
        {"abc", "", 0, false, -1},
        {"", "a", 0, false, -1},
        {"aXbx", "x", 0, true, 2},
        {"aXbx", "x", 0, false, 4},
        {"abcabc", "a", 1, false, 1},
        {"abcabc", "a", 2, false, 4},
        {"abcabc", "c", 6, false, 6},
        {"abc", "c", 4, false, -1},  // start length + 1
        {"abc", "a", -1, false, -1},
        {"abc", "a", 5, false, -1},
        {"abc", "a", INT_MIN, false, -1},
        {"abc", "a", INT_MAX, false, -1},
        {"\x81\x40", "@", 0, false, 2},         // 丂: finds its second byte
        {"\x81\x41", "a", 0, true, 2},          // 丄: its second byte folds too
        {"x\x81\x41", "\x81\x61", 0, true, 2},  // 丄 against 乤
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected);
    }
}

}  // namespace
}  // namespace smsdock
