#include "http/headers.h"

#include <gtest/gtest.h>

namespace smsdock {
namespace {

TEST(HeadersTest, NormalizeHeadersCapitalisesNameWordsAndDropsNonHeaderLines) {
    struct Case {
        const char* block;
        const char* normalized;
    };
    const Case cases[] = {
        {"user-agent: X\r\ncontent-type:a\r\nbad line\r\n\r\nx-requested-with: y",
         "User-Agent: X\r\nContent-Type:a\r\nX-Requested-With: y"},
        {"Accept: */*\r\nReferer: u\r\nAccept-Language: zh-cn",
         "Accept: */*\r\nReferer: u\r\nAccept-Language: zh-cn"},
        {"a--b: c", "A--B: c"},
        {"accept-: a", "Accept-: a"},
        {"-x: 1", "-X: 1"},
        {"ACCEPT: v\r\ncontent-TYPE: Text/Html", "ACCEPT: v\r\nContent-TYPE: Text/Html"},
        {"accept: a\r\n", "Accept: a"},
        {" accept: a", " accept: a"},
        {"referer: http://x/a:b", "Referer: http://x/a:b"},
        {"no colon\r\nat all", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        EXPECT_EQ(NormalizeHeaders(c.block), c.normalized);
    }
}

TEST(HeadersTest, CapitalizeFirstChangesOnlyALeadingAsciiLetter) {
    EXPECT_EQ(CapitalizeFirst("accept"), "Accept");
    EXPECT_EQ(CapitalizeFirst("aCCEPT"), "ACCEPT");
    EXPECT_EQ(CapitalizeFirst("1a"), "1a");
    EXPECT_EQ(CapitalizeFirst(""), "");
    EXPECT_EQ(CapitalizeFirst("\xB0\xA1"
                              "a"),
              "\xB0\xA1"
              "a");  // a GBK character first
}

TEST(HeadersTest, HeaderValueIsTheTrimmedTextAfterTheFirstColon) {
    EXPECT_EQ(HeaderValue("User-Agent:  X Y  "), "X Y");
    EXPECT_EQ(HeaderValue("Referer: http://a/b"), "http://a/b");
    EXPECT_EQ(HeaderValue("no colon"), "");
    EXPECT_EQ(HeaderValue("A: 1\r\nB: 2"), "1\r\nB: 2");
}

}  // namespace
}  // namespace smsdock
