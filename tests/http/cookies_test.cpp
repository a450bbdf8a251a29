#include "http/cookies.h"

#include <gtest/gtest.h>

namespace smsdock {
namespace {

TEST(CookiesTest, MergeCookiesPutsTheResponsesCookiesFirstAndDropsDeletedOnes) {
    struct Case {
        const char* old;
        const char* fresh;
        const char* merged;
    };
    const Case cases[] = {
        {"a=1; b=2; c=3", "b=5; c=deleted; d=4", "b=5; d=4; a=1"},
        {"a=1; b=2", "a=deleted; a=5", "a=5; b=2"},
        {"sid=1; sid=2", "x=1", "x=1; sid=1"},
        {"a = 1 ; b=2", "A=3", "A=3; a=1; b=2"},
        {"", "sid=abc; lang=cn; sid=abc", "sid=abc; lang=cn"},
        {"a=1", "", "a=1"},
        {";a=1", "b=2", "b=2; ; a=1"},
        {"", "", ""},
        {"a=1; x=deleted", "b=2", "b=2; a=1"},
        {"xdeleted", "y=1", "y=1; xdeleted"},
        {"v=a b",
         "w=c\xA1\xA1"
         "d",
         "w=cd; v=ab"},  // half- and full-width spaces go
        {"", "s=1; s=2", "s=1; s=2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.old) + " | " + c.fresh);
        Text old = c.old;
        Text fresh = c.fresh;
        EXPECT_EQ(MergeCookies(old, fresh), c.merged);
        EXPECT_EQ(old, c.merged);
    }
}

TEST(CookiesTest, MergeCookiesRemovesTheSpacesOfTheNewText) {
    Text old = "a=1";
    Text fresh = "b = 2; c=3";
    MergeCookies(old, fresh);
    EXPECT_EQ(fresh, "b=2;c=3");
}

TEST(CookiesTest, CookieNameAndContainsCookieName) {
    EXPECT_EQ(CookieName(" sid = abc"), "sid");
    EXPECT_EQ(CookieName(" flag "), "flag");
    EXPECT_EQ(CookieName("a=b=c"), "a");
    const TextArray list = {"a=1", " B=2"};
    EXPECT_TRUE(ContainsCookieName(list, "B"));
    EXPECT_FALSE(ContainsCookieName(list, "b"));
    EXPECT_FALSE(ContainsCookieName({}, ""));
}

TEST(CookiesTest, JoinUniqueKeepsFirstOccurrences) {
    EXPECT_EQ(JoinUnique("a; b; a; c; b", "; ", true), "a; b; c");
    EXPECT_EQ(JoinUnique("", "; ", true), "");
    EXPECT_EQ(JoinUnique("abcab", "", false), "abc");
    EXPECT_EQ(JoinUnique("x\xB0\xA1x\xB0\xA1", "-", false), "x-\xB0\xA1");
}

TEST(CookiesTest, SplitCharactersKeepsDoubleByteCharactersAndCrLfTogether) {
    TextArray list = {"stale"};
    EXPECT_EQ(SplitCharacters("ab\r\n\xB0\xA1"
                              "c",
                              list),
              5);
    EXPECT_EQ(list, (TextArray{"a", "b", "\r\n", "\xB0\xA1", "c"}));

    // A lead byte or a CR at the very end stands alone; 0x80 is no lead byte here.
    EXPECT_EQ(SplitCharacters("\x80"
                              "a\r",
                              list),
              3);
    EXPECT_EQ(list, (TextArray{"\x80", "a", "\r"}));
    EXPECT_EQ(SplitCharacters("a\xB0", list), 2);
    EXPECT_EQ(SplitCharacters("", list), 0);
    EXPECT_TRUE(list.empty());
}

TEST(CookiesTest, IndexOfTextIsOneBasedAndExact) {
    const TextArray list = {"a", "B", "b"};
    EXPECT_EQ(IndexOfText(list, "b"), 3);
    EXPECT_EQ(IndexOfText(list, "a"), 1);
    EXPECT_EQ(IndexOfText(list, "c"), -1);
    EXPECT_EQ(IndexOfText({}, ""), -1);
}

TEST(CookiesTest, CollectResponseCookiesTakesExactSetCookieLinesOnly) {
    struct Case {
        const char* headers;
        const char* cookies;
    };
    const Case cases[] = {
        {"HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc; path=/\r\nSet-Cookie: lang=cn\r\n\r\n",
         "sid=abc; lang=cn"},
        {"HTTP/1.1 200 OK\r\nset-cookie: x=1\r\nSet-Cookie:y=1\r\nSET-COOKIE: z=1\r\n\r\n", ""},
        {"HTTP/1.1 200 OK\r\nSet-Cookie:  a=1 ; HttpOnly\r\nX-Set-Cookie: b=1\r\n\r\n", "a=1"},
        {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.headers);
        EXPECT_EQ(CollectResponseCookies(c.headers), c.cookies);
    }
}

}  // namespace
}  // namespace smsdock
