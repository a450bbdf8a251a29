#include "demo/pages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/demo/page_patterns.h"
#include "text/code_page.h"
#include "text/extract.h"

namespace smsdock::demo {
namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using namespace smsdock::demo::testing;

const SiteOrigins kOrigins{"https://127.0.0.1:1001", "https://127.0.0.1:1002",
                           "http://127.0.0.1:1003", "https://127.0.0.1:1004"};

std::string Listing(const ContentSettings& s, Platform p, int page) {
    return ListingPage(s, p, page, NumberSite::Primary).value_or("");
}

Text ListingAsSeen(const ContentSettings& s, Platform p, int page) {
    return Gbk(Listing(s, p, page));
}

// The value SmsDock cuts for a key out of the post it has turned into GBK: from the key's
// first occurrence up to the next "-".
Text Cut(const std::string& post, NoticeKey key) {
    return TextBetween(Gbk(post), Gbk(NoticeKeyMarker(key)), "-");
}

TEST(DemoPages, TheSeedAloneDecidesTheContent) {
    ContentSettings a;
    a.seed = 7;
    ContentSettings b = a;
    ContentSettings other = a;
    other.seed = 8;
    for (Platform p : {Platform::Domestic, Platform::Foreign}) {
        EXPECT_EQ(Listing(a, p, 2), Listing(b, p, 2));
        EXPECT_NE(Listing(a, p, 2), Listing(other, p, 2));
        EXPECT_NE(NumbersOnPage(a, p, 2).at(0).number, NumbersOnPage(other, p, 2).at(0).number);
    }
    const std::string number = NumbersOnPage(a, Platform::Domestic, 1).at(0).number;
    EXPECT_EQ(MessagePage(a, number, NumberSite::Primary),
              MessagePage(b, number, NumberSite::Primary));
    EXPECT_NE(MessagePage(a, number, NumberSite::Primary),
              MessagePage(other, number, NumberSite::Primary));
    EXPECT_EQ(NoticePost(a, kOrigins), NoticePost(b, kOrigins));
    // Pages differ from each other, not just from other seeds.
    EXPECT_NE(NumbersOnPage(a, Platform::Domestic, 1).at(0).number,
              NumbersOnPage(a, Platform::Domestic, 2).at(0).number);
}

TEST(DemoPages, PageLinksEndWithTheLastPageOnEveryPage) {
    struct Case {
        int total;
        int current;
        std::vector<std::string> links;
    };
    const Case cases[] = {
        {5, 1, {"1", "2", "3", "4", "5"}},
        {5, 5, {"1", "2", "3", "4", "5"}},
        {57, 1, {"1", "2", "3", "57"}},
        {57, 5, {"1", "2", "3", "4", "5", "6", "7", "57"}},
        {57, 30, {"1", "28", "29", "30", "31", "32", "57"}},
        {57, 57, {"1", "55", "56", "57"}},
        {1, 1, {"1"}},
    };
    for (const Case& c : cases) {
        ContentSettings s;
        s.foreignPages = c.total;
        EXPECT_THAT(FirstGroups(kPageCountPattern, ListingAsSeen(s, Platform::Foreign, c.current)),
                    ElementsAreArray(c.links))
            << c.current << " of " << c.total;
    }

    ContentSettings bare;
    bare.pagination = false;
    const Text page = ListingAsSeen(bare, Platform::Domestic, 1);
    EXPECT_TRUE(FindAll(kPageCountPattern, page).empty());
    EXPECT_EQ(FindAll(kDomesticNumberPattern, page).size(), 20u);
}

TEST(DemoPages, ForeignLinksComeWithAndWithoutASpaceBeforeTheNumber) {
    const ContentSettings s;
    const auto matches = FindAll(kForeignNumberPattern, ListingAsSeen(s, Platform::Foreign, 1));
    ASSERT_GE(matches.size(), 2u);
    EXPECT_EQ(matches[0][1], " " + NumbersOnPage(s, Platform::Foreign, 1)[0].number);
    EXPECT_EQ(matches[1][1], NumbersOnPage(s, Platform::Foreign, 1)[1].number);
}

TEST(DemoPages, MessagesKeepEntitiesTagsAndEmojiAsWritten) {
    const ContentSettings s;
    for (const std::string& number : {NumbersOnPage(s, Platform::Domestic, 1).at(0).number,
                                      NumbersOnPage(s, Platform::Foreign, 1).at(0).number}) {
        SCOPED_TRACE(number);
        const std::string page = MessagePage(s, number, NumberSite::Primary).value_or("");
        const auto expected = MessagesOf(s, number);
        const auto matches = FindAll(kMessagePattern, Gbk(page));
        ASSERT_EQ(matches.size(), expected.size());
        ASSERT_GE(matches.size(), 8u);
        std::string contents;
        for (std::size_t i = 0; i < matches.size(); ++i) {
            EXPECT_EQ(matches[i][0], Gbk(expected[i].content).str());
            EXPECT_EQ(matches[i][1], expected[i].time);
            if (i > 0) {
                EXPECT_LT(matches[i][1], matches[i - 1][1]) << "newest first";
            }
            contents += matches[i][0];
        }
        EXPECT_THAT(contents, HasSubstr("&amp;"));
        EXPECT_THAT(contents, HasSubstr("<b>"));
        // An emoji, which GBK lacks: the page has it, SmsDock sees "?".
        EXPECT_THAT(page, HasSubstr("\xF0\x9F\x8E\x89"));
        EXPECT_THAT(contents, HasSubstr("?"));
    }
    EXPECT_FALSE(MessagePage(s, "", NumberSite::Primary));
    EXPECT_FALSE(MessagePage(s, "12ab5", NumberSite::Primary));
}

TEST(DemoPages, NoticePostCutsIntoTheValuesItWasGiven) {
    const std::string marker = kOrigins.notice + std::string(kNoticeMarkerPath);
    struct Case {
        const char* name;
        ContentSettings settings;
    };
    std::vector<Case> cases(5);
    cases[0].name = "defaults";
    cases[1].name = "outdated";
    cases[1].settings.latestVersion = "1.9";
    cases[2].name = "missing keys";
    cases[2].settings.missingKeys = {NoticeKey::Notice, NoticeKey::TimerPeriod,
                                     NoticeKey::AdvertPicture};
    cases[3].name = "none values";
    cases[3].settings.noneKeys = {NoticeKey::Notice, NoticeKey::NoticePicture,
                                  NoticeKey::AdvertPicture, NoticeKey::JumpLink};
    cases[4].name = "no marker";
    cases[4].settings.noticeMarker = false;
    cases[4].settings.timerPeriodMs = 30000;

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string post = NoticePost(c.settings, kOrigins);
        for (NoticeKey key : kAllNoticeKeys) {
            const auto value = NoticeValue(c.settings, kOrigins, key);
            EXPECT_EQ(Cut(post, key), Gbk(value.value_or(""))) << NoticeKeyName(key);
            EXPECT_EQ(post.find(NoticeKeyMarker(key)) != std::string::npos, value.has_value());
        }
        EXPECT_EQ(post.find(marker) != std::string::npos, c.settings.noticeMarker);
    }

    // The values the demo starts with, as SmsDock reads them.
    const std::string post = NoticePost(ContentSettings{}, kOrigins);
    EXPECT_EQ(Cut(post, NoticeKey::LatestVersion), "1.8");
    EXPECT_EQ(Cut(post, NoticeKey::TimerPeriod), "10000");
    EXPECT_EQ(Cut(post, NoticeKey::DownloadLink), Text(kOrigins.article + "/d/smsdock.html"));
    EXPECT_EQ(Cut(post, NoticeKey::NoticePicture),
              Text(kOrigins.notice + "/blogs/zb_users/upload/2024/06/notice.png"));
    EXPECT_EQ(Cut(post, NoticeKey::Notice), Gbk(DefaultNoticeText()));
    ContentSettings none;
    none.noneKeys = {NoticeKey::Notice};
    EXPECT_EQ(Cut(NoticePost(none, kOrigins), NoticeKey::Notice), "\xCE\xDE");  // "无" in GBK

    // A hyphen in a value ends it, as the format says.
    ContentSettings hyphen;
    hyphen.noticeText = "first part-second part";
    EXPECT_EQ(Cut(NoticePost(hyphen, kOrigins), NoticeKey::Notice), "first part");
}

}  // namespace
}  // namespace smsdock::demo
