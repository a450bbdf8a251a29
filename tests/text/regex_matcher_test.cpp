#include "text/regex_matcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "text/code_page.h"

namespace smsdock {
namespace {

// Patterns, pages and expectations are written in UTF-8 here and converted to GBK once, with
// the conversion that code_page_test covers.
Text G(const std::string& utf8) {
    return Utf8ToAnsi(Text(utf8));
}

std::vector<Text> AllMatches(const RegexMatcher& matcher) {
    std::vector<Text> texts;
    for (int i = 1; i <= matcher.MatchCount(); ++i)
        texts.push_back(matcher.MatchText(i));
    return texts;
}

std::vector<Text> Gbk(const std::vector<std::string>& utf8) {
    std::vector<Text> texts;
    for (const std::string& s : utf8)
        texts.push_back(G(s));
    return texts;
}

// The four patterns of the number and message pages.
const char* const kDomesticPattern = "<p class=\"layuiadmin-big-font card-phone\" id=\"(.*?)\"";
const char* const kForeignPattern = "<span class=\"country-bh\">(.*?)</span>(.*?)</a>";
const char* const kPageCountPattern = ">(\\d+)</a></li>";
const char* const kMessagePattern =
    "<td style=\"\">(.*?)</td>\\s+<td style=\"text-align: center\">(.*?)</td>";

// Most cases differ from what PCRE2 does with its default options; the others pin down what the
// callers rely on, or a default that PCRE2 offers to change (PCRE2_UCP would widen \d and \w).
struct SemanticsCase {
    const char* name;
    std::string pattern;
    std::string subject;
    std::vector<std::string> matches;
    bool caseSensitive = false;
    bool multiline = true;
    bool global = true;
    friend void PrintTo(const SemanticsCase& c, std::ostream* os) { *os << c.name; }
};

class EcmaSemanticsTest : public testing::TestWithParam<SemanticsCase> {};

TEST_P(EcmaSemanticsTest, FindsTheMatchesEcmaScriptFinds) {
    const SemanticsCase& c = GetParam();
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Search(G(c.pattern), G(c.subject), c.caseSensitive, c.multiline, c.global));
    EXPECT_EQ(AllMatches(matcher), Gbk(c.matches));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EcmaSemanticsTest,
    testing::Values(
        SemanticsCase{"DotStopsAtCarriageReturn", "a.b", "a\rb a\nb a\vb", {"a\vb"}},
        SemanticsCase{
            "LazyGroupStopsAtLineBreak", "<b>(.*?)</b>", "<b>1\r\n2</b><b>3</b>", {"<b>3</b>"}},
        SemanticsCase{
            "SpaceIncludesIdeographicSpace", "a\\s+b", "a\u3000\r\n b", {"a\u3000\r\n b"}},
        SemanticsCase{"NonSpaceExcludesIdeographicSpace", "a\\Sb", "a\u3000b axb", {"axb"}},
        SemanticsCase{
            "SpaceInClasses", "a[\\s]b|c[^\\S]d", "a\u3000b c\u3000d", {"a\u3000b", "c\u3000d"}},
        SemanticsCase{"DigitAndWordAreAscii", "\\d+|\\w+", "１２3中文abc", {"3", "abc"}},
        SemanticsCase{"CaseIgnoredByDefault", "<td>[a-z]+", "<TD>OK", {"<TD>OK"}},
        SemanticsCase{"CaseSensitiveWhenAsked", "<td>", "<TD><td>", {"<td>"}, true},
        SemanticsCase{"MultilineByDefault", "^\\d+$", "12\r\n34\r56", {"12", "34", "56"}},
        SemanticsCase{"CaretBetweenCarriageReturnAndLineFeed", "^\\w*", "a\r\nb", {"a", "", "b"}},
        SemanticsCase{"DollarNotBeforeFinalLineFeed", "b$", "ab\n", {}, false, false},
        SemanticsCase{"CaretOnlyAtTextStartWithoutMultiline", "^a", "aaa", {"a"}, false, false},
        SemanticsCase{"FirstAlternativeWinsNotLongest", "a|ab", "ab", {"a"}},
        SemanticsCase{"LazyQuantifiers",
                      "<i>.+?</i>|x{2,}?",
                      "<i>1</i><i>2</i>xxxx",
                      {"<i>1</i>", "<i>2</i>", "xx", "xx"}},
        SemanticsCase{"EmptyMatchAdvancesOneCharacter", "x*|b", "b", {"", ""}},
        SemanticsCase{"EmptyPatternMatchesAtEveryCharacter", "", "中a", {"", "", ""}},
        SemanticsCase{"NotGlobalKeepsFirstMatch", "\\d", "123", {"1"}, false, true, false},
        SemanticsCase{"EmptyClassMatchesNothing", "a[]|b", "ab", {"b"}},
        SemanticsCase{"NegatedEmptyClassMatchesAnything", "a[^]b", "a\nb", {"a\nb"}},
        SemanticsCase{"UnicodeEscape", "\\u4e2d\\u6587", "中文", {"中文"}},
        SemanticsCase{"HexEscapeTakesTwoDigits", "\\x41\\x{2}", "Axx A", {"Axx"}},
        SemanticsCase{"UnknownEscapeIsTheCharacter", "\\Qa\\E\\K", "QaEK", {"QaEK"}},
        SemanticsCase{"UnsetBackReferenceMatchesEmpty", "(a)?b\\1|\\2(c)", "b c", {"b", "c"}},
        SemanticsCase{"NumberAboveGroupCountIsOctal", "(a)\\1\\101", "aaA", {"aaA"}},
        SemanticsCase{"BraceWithoutQuantifierIsLiteral", "a{,2}|b{", "a{,2}b{", {"a{,2}", "b{"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegexMatcherTest, MatchesWholeGbkCharacters) {
    RegexMatcher matcher;
    // "." takes a whole character, and no match starts at the second byte of one: 癆 is B0 41,
    // its second byte an "A".
    ASSERT_TRUE(matcher.Search(G("(.)"), G("中文")));
    EXPECT_EQ(AllMatches(matcher), Gbk({"中", "文"}));
    ASSERT_TRUE(matcher.Search("A", "\xB0\x41"));
    EXPECT_EQ(matcher.MatchCount(), 0);
}

TEST(RegexMatcherTest, PageCountPattern) {
    const Text page =
        G("<ul class=\"pagination\">\n"
          "<li><a href=\"/dl/1.html\">1</a></li>\n"
          "<li><a href=\"/dl/2.html\">2</a></li>\n"
          "<li><a href=\"/dl/3.html\">3</a></li>\n"
          "<li><a href=\"/dl/2.html\">下一页</a></li>\n"
          "</ul>");
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Search(kPageCountPattern, page));
    ASSERT_EQ(matcher.MatchCount(), 3);
    EXPECT_EQ(matcher.SubmatchText(3, 1), Text("3"));
    EXPECT_EQ(matcher.SubmatchCount(), 1);
}

TEST(RegexMatcherTest, PageWithoutMatchesGivesTrueAndNothing) {
    RegexMatcher matcher;
    EXPECT_TRUE(matcher.Search(kPageCountPattern, G("<p>暂无号码</p>")));
    EXPECT_EQ(matcher.MatchCount(), 0);
    EXPECT_EQ(matcher.SubmatchCount(), 0);
    // The page-count fill asks for the last match even when there is none.
    EXPECT_EQ(matcher.SubmatchText(matcher.MatchCount(), 1), Text());
}

TEST(RegexMatcherTest, DomesticNumberPatternIgnoresTagCase) {
    const Text page =
        G("<div class=\"layui-card\"><div class=\"layui-card-header\">中国 联通</div>\n"
          "<p class=\"layuiadmin-big-font card-phone\" id=\"17012345678\">170 1234 5678</p>\n"
          "</div><div class=\"layui-card\"><div class=\"layui-card-header\">中国 移动</div>\n"
          "<P CLASS=\"LAYUIADMIN-BIG-FONT CARD-PHONE\" ID=\"16598765432\">165 9876 5432</P>\n");
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Search(kDomesticPattern, page));
    ASSERT_EQ(matcher.MatchCount(), 2);
    EXPECT_EQ(matcher.SubmatchText(1, 1), Text("17012345678"));
    EXPECT_EQ(matcher.SubmatchText(2, 1), Text("16598765432"));
}

TEST(RegexMatcherTest, ForeignNumberPatternKeepsChineseWhole) {
    const Text page =
        G("<a href=\"/message/447700900123.html\"><span class=\"country-bh\">+44</span>"
          "7700900123（英国）</a>\n"
          "<a href=\"/message/12015550123.html\"><span class=\"country-bh\">+1</span>"
          "2015550123 美国</a>");
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Search(kForeignPattern, page));
    ASSERT_EQ(matcher.MatchCount(), 2);
    EXPECT_EQ(matcher.SubmatchText(1, 1), Text("+44"));
    EXPECT_EQ(matcher.SubmatchText(1, 2), G("7700900123（英国）"));
    EXPECT_EQ(matcher.SubmatchText(2, 1), Text("+1"));
    EXPECT_EQ(matcher.SubmatchText(2, 2), G("2015550123 美国"));
    EXPECT_EQ(matcher.SubmatchText(1, 3), Text());
    EXPECT_EQ(matcher.SubmatchText(3, 1), Text());
}

TEST(RegexMatcherTest, MessagePatternSpansRowBreaksButNotCellBreaks) {
    const Text page =
        G("<tr>\r\n"
          "            <td style=\"\">【腾讯科技】您的验证码是123456，5分钟内有效。</td>\r\n"
          "            <td style=\"text-align: center\">2024-05-01 12:00:00</td>\r\n"
          "</tr><tr>\r\n"
          "            <td style=\"\">第一行\r\n第二行</td>\r\n"
          "            <td style=\"text-align: center\">2024-05-01 11:00:00</td>\r\n"
          "</tr><tr>\r\n"
          "            <td style=\"\">【淘宝】验证码 8888</td>\t<td style=\"text-align: center\">"
          "3分钟前</td>\r\n"
          "</tr>");
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Search(kMessagePattern, page));
    ASSERT_EQ(matcher.MatchCount(), 2);
    EXPECT_EQ(matcher.SubmatchText(1, 1), G("【腾讯科技】您的验证码是123456，5分钟内有效。"));
    EXPECT_EQ(matcher.SubmatchText(1, 2), Text("2024-05-01 12:00:00"));
    EXPECT_EQ(matcher.SubmatchText(2, 1), G("【淘宝】验证码 8888"));
    EXPECT_EQ(matcher.SubmatchText(2, 2), G("3分钟前"));
}

class MalformedPatternTest : public testing::TestWithParam<const char*> {};

TEST_P(MalformedPatternTest, FailsSilentlyAndClearsEarlierResults) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Search("(a)", "a"));
    EXPECT_FALSE(matcher.Search(GetParam(), "a(b)*+"));
    EXPECT_EQ(matcher.PatternText(), Text(GetParam()));
    EXPECT_EQ(matcher.MatchCount(), 0);
    EXPECT_EQ(matcher.MatchText(1), Text());
    EXPECT_EQ(matcher.SubmatchText(1, 1), Text());
    EXPECT_EQ(matcher.SubmatchCount(), 0);
    EXPECT_EQ(matcher.ReplaceMatches("x"), Text());
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedPatternTest,
                         testing::Values("(", ")", "a)", "[a", "\\", "[a\\", "*a", "a|+", "a**",
                                         "a*+", "a{2,1}", "^*", "(?i)a", "(?<n>a)", "(*ACCEPT)",
                                         "[z-a]"));

TEST(RegexMatcherTest, IndexesOutOfRangeGiveEmptyTextAndNoPosition) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Search("(a)(x)?", "aa"));
    int position = 0;
    for (auto [i, k] : {std::pair{0, 1}, {3, 1}, {-1, 1}, {1, 0}, {1, 3}, {1, -1}}) {
        position = 0;
        EXPECT_EQ(matcher.SubmatchText(i, k, &position), Text()) << i << "," << k;
        EXPECT_EQ(position, -2) << i << "," << k;
    }
    EXPECT_EQ(matcher.MatchText(0, &position), Text());
    EXPECT_EQ(matcher.MatchText(3), Text());
    // Group 2 did not take part: empty, no position.
    EXPECT_EQ(matcher.SubmatchText(1, 2, &position), Text());
    EXPECT_EQ(position, -2);
    EXPECT_EQ(matcher.SubmatchCount(), 2);
}

TEST(RegexMatcherTest, PositionsAreByteOffsetsOfTheMatchItself) {
    // 中文a中a: the second "a" is at byte 7, though the first "a" lies after unit offset 4.
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Search("(a)", G("中文a中a")));
    int position = 0;
    EXPECT_EQ(matcher.MatchText(2, &position), Text("a"));
    EXPECT_EQ(position, 7);
    EXPECT_EQ(matcher.SubmatchText(1, 1, &position), Text("a"));
    EXPECT_EQ(position, 4);
}

TEST(RegexMatcherTest, SecondSearchReplacesFirst) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Search("(\\d)(\\d)", "12 34 56"));
    ASSERT_EQ(matcher.MatchCount(), 3);
    ASSERT_TRUE(matcher.Search("([a-z]+)", "ab"));
    EXPECT_EQ(matcher.MatchCount(), 1);
    EXPECT_EQ(matcher.SubmatchText(1, 1), Text("ab"));
    EXPECT_EQ(matcher.SubmatchText(1, 2), Text());
    EXPECT_EQ(matcher.SubmatchCount(), 1);
    EXPECT_EQ(matcher.PatternText(), Text("([a-z]+)"));
}

TEST(RegexMatcherTest, CopyKeepsResultsOfItsOwnSearch) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Search("\\d", "a1b2"));
    const RegexMatcher copy = matcher;
    ASSERT_TRUE(matcher.Search("x", "y"));
    EXPECT_EQ(copy.MatchCount(), 2);
    EXPECT_EQ(copy.MatchText(2), Text("2"));
    EXPECT_EQ(copy.ReplaceMatches("#"), Text("a#b#"));
    EXPECT_EQ(copy.PatternText(), Text("\\d"));
    EXPECT_EQ(matcher.MatchCount(), 0);
}

TEST(RegexMatcherTest, PatternTextExpandsQuoteMarkerOnlyWhenAsked) {
    const Text pattern = G("id=#引号(\\d+)#引号");
    RegexMatcher matcher;
    EXPECT_EQ(matcher.PatternText(), Text());
    ASSERT_TRUE(matcher.Search(pattern, "<p id=\"42\">", false, true, true, true));
    EXPECT_EQ(matcher.PatternText(), Text("id=\"(\\d+)\""));
    EXPECT_EQ(matcher.SubmatchText(1, 1), Text("42"));
    ASSERT_TRUE(matcher.Search(pattern, "<p id=\"42\">"));
    EXPECT_EQ(matcher.PatternText(), pattern);
    EXPECT_EQ(matcher.MatchCount(), 0);
}

struct ReplaceCase {
    const char* name;
    std::string pattern;
    std::string replacement;
    std::string expected;
    bool global = true;
    friend void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }
};

class ReplaceMatchesTest : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceMatchesTest, ReplacesWithEcmaScriptTokens) {
    const ReplaceCase& c = GetParam();
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.Search(G(c.pattern), G("号1-2码3-4。"), false, true, c.global));
    EXPECT_EQ(matcher.ReplaceMatches(G(c.replacement)), G(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceMatchesTest,
    testing::Values(ReplaceCase{"Groups", "(\\d)-(\\d)", "$2-$1", "号2-1码4-3。"},
                    ReplaceCase{"WholeMatch", "\\d-\\d", "[$&]", "号[1-2]码[3-4]。"},
                    ReplaceCase{"Dollar", "\\d-\\d", "$$", "号$码$。"},
                    ReplaceCase{"BeforeMatch", "\\d-\\d", "<$`>", "号<号>码<号1-2码>。"},
                    ReplaceCase{"AfterMatch", "\\d-\\d", "<$'>", "号<码3-4。>码<。>。"},
                    ReplaceCase{"TwoDigitsWhenTheyNameAGroup", "(\\d)-(\\d)", "$12$02",
                                "号122码324。"},
                    ReplaceCase{"UnknownGroupAndTokenStayLiteral", "(\\d)-\\d", "$3$0$x$",
                                "号$3$0$x$码$3$0$x$。"},
                    ReplaceCase{"UnsetGroupIsEmpty", "(\\d)-(x)?\\d", "<$2>", "号<>码<>。"},
                    ReplaceCase{"EmptyReplacement", "\\d-\\d", "", "号码。"},
                    ReplaceCase{"NotGlobal", "\\d-\\d", "#", "号#码3-4。", false},
                    ReplaceCase{"NoMatchKeepsSubject", "x", "#", "号1-2码3-4。"},
                    ReplaceCase{"EmptyMatches", "", "|", "|号|1|-|2|码|3|-|4|。|"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegexMatcherTest, ReplaceMatchesBeforeAnySearchIsEmpty) {
    EXPECT_EQ(RegexMatcher().ReplaceMatches("x"), Text());
}

TEST(RegexMatcherTest, RunawayBacktrackingEndsAsFailedSearch) {
    const Text text(std::string(5000, 'a') + "!b");
    RegexMatcher matcher;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(matcher.Search("(a+)+b", text));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(matcher.MatchCount(), 0);
    EXPECT_EQ(matcher.SubmatchText(1, 1), Text());
    // The matcher is as good as new for the next search.
    EXPECT_TRUE(matcher.Search("a+!", text));
    EXPECT_EQ(matcher.MatchCount(), 1);
}

}  // namespace
}  // namespace smsdock
