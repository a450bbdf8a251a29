#pragma once

// The pages of the demo site: listing pages of the two number sites, message pages, the notice
// blog with its notice post, and the article site. Everything is generated from a seed, so the
// same settings always give the same bytes. Pages are UTF-8 HTML, as the real sites serve them.
//
// Only a few fragments of these pages are read by SmsDock; the rest is there so the pages look
// like the sites they stand in for, and is kept free of anything those fragments could match.

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace smsdock::demo {

enum class Platform { Domestic, Foreign };

// The seven keys of the notice post, in the order the post lists them.
enum class NoticeKey {
    LatestVersion,
    DownloadLink,
    Notice,
    TimerPeriod,
    NoticePicture,
    JumpLink,
    AdvertPicture
};

inline constexpr NoticeKey kAllNoticeKeys[] = {
    NoticeKey::LatestVersion, NoticeKey::DownloadLink,  NoticeKey::Notice,
    NoticeKey::TimerPeriod,   NoticeKey::NoticePicture, NoticeKey::JumpLink,
    NoticeKey::AdvertPicture,
};

// The key as it is written in the post, "-" included ("最新版本-").
std::string_view NoticeKeyMarker(NoticeKey key);
// The short ASCII name used on the command line ("version", "download", ...).
std::string_view NoticeKeyName(NoticeKey key);
std::optional<NoticeKey> NoticeKeyFromName(std::string_view name);

// The word the notice post uses for "none".
inline constexpr std::string_view kNoneWord = "\xE6\x97\xA0";  // "无"

// Fixed paths.
inline constexpr std::string_view kNoticePostPath = "/blogs/";  // with the query id=88
inline constexpr std::string_view kNoticePostId = "88";
inline constexpr std::string_view kNoticeMarkerPath =
    "/blogs/zb_users/plugin/txgonggao/js/txgonggao.js";
inline constexpr std::string_view kNoticePicturePath = "/blogs/zb_users/upload/2024/06/notice.png";
inline constexpr std::string_view kAdvertPicturePath = "/blogs/zb_users/upload/2024/06/advert.jpg";
inline constexpr std::string_view kUpdateArticlePath = "/p/1c78a3d654eb";
inline constexpr std::string_view kGuideArticlePath = "/p/5b2e07a9c1d4";
inline constexpr std::string_view kDownloadPath = "/d/smsdock.html";

// Where each role is reached, as origins without a trailing slash ("https://127.0.0.1:18441").
struct SiteOrigins {
    std::string primary;
    std::string secondary;
    std::string notice;
    std::string article;
};

enum class NumberSite { Primary, Secondary };

// What the pages say. Every field has the value the demo starts with.
struct ContentSettings {
    std::uint64_t seed = 1;
    int domesticPages = 5;
    int foreignPages = 3;
    int numbersPerPage = 20;
    bool pagination = true;  // false: listing pages carry no page links at all

    std::string latestVersion = "1.8";
    std::string noticeText;  // empty: the built-in notice
    int timerPeriodMs = 10000;
    std::set<NoticeKey> missingKeys;  // left out of the post
    std::set<NoticeKey> noneKeys;     // given the value "无"
    bool noticeMarker = true;
};

// The built-in notice text; it holds no "-", which would cut it short.
std::string_view DefaultNoticeText();

// One number as a listing page shows it.
struct ListedNumber {
    std::string number;       // the digits the message page is named after
    std::string countryCode;  // foreign only: "+1", "+44", ...
    std::string linkRest;     // foreign only: the link text after the code, " 5550100" or "5550100"
    std::string region;       // shown on the card
};

// One text message as a message page shows it; content is HTML as written into the page.
struct ListedMessage {
    std::string sender;
    std::string content;
    std::string time;  // "2024-06-18 19:57:12"
};

int PageCountOf(const ContentSettings& settings, Platform platform);

// The numbers of listing page `page` (1-based); empty outside 1..PageCountOf.
std::vector<ListedNumber> NumbersOnPage(const ContentSettings& settings, Platform platform,
                                        int page);
// The full listing page, or nothing when the page does not exist.
std::optional<std::string> ListingPage(const ContentSettings& settings, Platform platform, int page,
                                       NumberSite site);

// Any string of 5 to 15 digits names a number; other names have no page.
bool IsNumberName(std::string_view number);
std::vector<ListedMessage> MessagesOf(const ContentSettings& settings, std::string_view number);
std::optional<std::string> MessagePage(const ContentSettings& settings, std::string_view number,
                                       NumberSite site);

// The value the post carries for a key, or nothing when the key is left out.
std::optional<std::string> NoticeValue(const ContentSettings& settings, const SiteOrigins& origins,
                                       NoticeKey key);
std::string NoticePost(const ContentSettings& settings, const SiteOrigins& origins);
std::string BlogIndexPage(const SiteOrigins& origins);
std::string NoticeMarkerScript();

// Article site pages; nothing for an unknown path.
std::optional<std::string> ArticlePage(std::string_view path, const SiteOrigins& origins);
std::string ArticleIndexPage();

// The page every site answers unknown paths with (status 404).
std::string NotFoundPage();
// The page the number sites answer with while they are told to fail (status 500).
std::string ServerErrorPage();

}  // namespace smsdock::demo
