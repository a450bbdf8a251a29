#include "demo/pages.h"

#include <algorithm>
#include <cstddef>
#include <ctime>
#include <initializer_list>
#include <string>

namespace smsdock::demo {
namespace {

// splitmix64: small, fast and the same on every platform, unlike the standard distributions.
std::uint64_t SplitMix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::uint64_t Mix(std::initializer_list<std::uint64_t> parts) {
    std::uint64_t h = 0x6A09E667F3BCC909ull;
    for (std::uint64_t part : parts)
        h = SplitMix(h ^ part);
    return h;
}

std::uint64_t HashOf(std::string_view s) {
    std::uint64_t h = 0xCBF29CE484222325ull;  // FNV-1a
    for (unsigned char c : s)
        h = (h ^ c) * 0x100000001B3ull;
    return h;
}

class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() { return SplitMix(state_++); }
    // Uniform enough for page content; n > 0.
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
    int Between(int low, int high) { return low + Below(high - low + 1); }
    bool Chance(int percent) { return Below(100) < percent; }

    template <typename T, std::size_t N>
    const T& Pick(const T (&items)[N]) {
        return items[Below(static_cast<int>(N))];
    }

    std::string Digits(int count) {
        std::string out;
        for (int i = 0; i < count; ++i)
            out += static_cast<char>('0' + Below(10));
        return out;
    }

  private:
    std::uint64_t state_;
};

// Salts that keep the streams of different kinds of content apart.
enum Stream : std::uint64_t {
    kDomesticStream = 1,
    kForeignStream = 2,
    kMessageStream = 3,
    kCardStream = 4,
};

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string Str(long long n) {
    return std::to_string(n);
}

// ---------------------------------------------------------------------------------------------
// Number sites

constexpr const char* kDomesticPrefixes[] = {"170", "171", "162", "165", "167"};
constexpr const char* kDomesticRegions[] = {
    "北京",      "上海",      "广东 深圳", "广东 广州", "浙江 杭州", "江苏 南京",
    "四川 成都", "湖北 武汉", "福建 厦门", "陕西 西安", "山东 青岛", "重庆",
};

struct Country {
    const char* code;
    const char* name;
    const char* lead;  // first digits of the subscriber number
    int length;        // digits of the subscriber number
};

constexpr Country kCountries[] = {
    {"+1", "美国", "202555", 10}, {"+1", "加拿大", "613555", 10}, {"+44", "英国", "7700", 10},
    {"+49", "德国", "151", 11},   {"+33", "法国", "6", 9},        {"+7", "俄罗斯", "9", 10},
    {"+61", "澳大利亚", "4", 9},  {"+852", "中国香港", "5", 8},   {"+63", "菲律宾", "917", 10},
    {"+81", "日本", "80", 10},    {"+60", "马来西亚", "12", 9},   {"+66", "泰国", "8", 9},
};

std::string_view SiteName(NumberSite site) {
    return site == NumberSite::Primary ? "码头接码" : "码头接码 · 备用线路";
}

std::string_view PlatformPath(Platform platform) {
    return platform == Platform::Domestic ? "dl" : "gw";
}

std::string NumberSiteHead(std::string_view title, NumberSite site) {
    std::string html;
    html += "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n";
    html += "<meta charset=\"utf-8\">\n";
    html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    html += "<title>" + std::string(title) + " | " + std::string(SiteName(site)) + "</title>\n";
    html += "<meta name=\"keywords\" content=\"免费接码,临时手机号,在线接收短信,验证码\">\n";
    html += "<meta name=\"description\" content=\"免费的公共手机号码，在线接收短信验证码。\">\n";
    html +=
        "<style>\n"
        "body{margin:0;font-family:\"Microsoft YaHei\",sans-serif;background:#f2f2f2;color:#333}\n"
        ".layui-header{background:#23262e;color:#fff;padding:0 24px;height:56px;"
        "display:flex;align-items:center}\n"
        ".layui-header .logo{color:#fff;font-size:20px;text-decoration:none;margin-right:32px}\n"
        ".layui-nav{list-style:none;margin:0;padding:0;display:flex}\n"
        ".layui-nav-item a{color:#ddd;text-decoration:none;padding:0 16px}\n"
        ".layui-fluid{padding:16px 24px}\n"
        ".layui-row{display:flex;flex-wrap:wrap;margin:0 -8px}\n"
        ".layui-col-md3{width:25%;box-sizing:border-box;padding:8px}\n"
        ".layui-card{background:#fff;border-radius:2px;box-shadow:0 1px 2px rgba(0,0,0,.05)}\n"
        ".layui-card-header{padding:8px 15px;border-bottom:1px solid #f6f6f6;font-size:14px}\n"
        ".layui-card-body{padding:10px 15px}\n"
        ".layuiadmin-big-font{font-size:24px;margin:6px 0;color:#009688}\n"
        ".number-link{font-size:22px;color:#1e9fff;text-decoration:none}\n"
        ".country-bh{color:#ff5722;margin-right:2px}\n"
        ".card-note{color:#999;font-size:12px;margin:4px 0}\n"
        ".layui-btn{display:inline-block;background:#009688;color:#fff;padding:2px 10px;"
        "text-decoration:none;font-size:12px}\n"
        ".pagination{list-style:none;display:flex;justify-content:center;padding:0}\n"
        ".pagination li a,.pagination li span{display:block;padding:4px 12px;margin:0 2px;"
        "background:#fff;color:#333;text-decoration:none}\n"
        ".pagination li.active a{background:#009688;color:#fff}\n"
        ".layui-table{width:100%;background:#fff;border-collapse:collapse}\n"
        ".layui-table td,.layui-table th{padding:9px 15px;border-bottom:1px solid #eee}\n"
        ".layui-footer{text-align:center;color:#999;font-size:12px;padding:24px}\n"
        "</style>\n";
    html += "</head>\n";
    return html;
}

std::string NumberSiteHeader(NumberSite site, std::string_view active) {
    auto item = [&](std::string_view href, std::string_view label, std::string_view key) {
        std::string cls = key == active ? "layui-nav-item layui-this" : "layui-nav-item";
        return "      <li class=\"" + cls + "\"><a href=\"" + std::string(href) + "\">" +
               std::string(label) + "</a></li>\n";
    };
    std::string html;
    html += "<body class=\"layui-layout-body\">\n";
    html += "<div class=\"layui-header\">\n";
    html += "  <a class=\"logo\" href=\"/\">" + std::string(SiteName(site)) + "</a>\n";
    html += "  <ul class=\"layui-nav\">\n";
    html += item("/dl/1.html", "国内号码", "dl");
    html += item("/gw/1.html", "国外号码", "gw");
    html += item("/help.html", "使用帮助", "help");
    html += "  </ul>\n</div>\n";
    return html;
}

std::string NumberSiteFooter() {
    return "<div class=\"layui-footer\">\n"
           "  <p>本站号码均为公共号码，任何人都能看到发往这些号码的短信，请勿用于重要账号。</p>\n"
           "  <p>&copy; 2024 码头接码 &middot; 演示数据，与任何真实号码无关</p>\n"
           "</div>\n</body>\n</html>\n";
}

std::string DomesticCard(const ListedNumber& n, Random& random) {
    const std::string& d = n.number;
    const std::string spaced = d.substr(0, 3) + " " + d.substr(3, 4) + " " + d.substr(7);
    std::string html;
    html += "    <div class=\"layui-col-md3 layui-col-sm6\">\n";
    html += "      <div class=\"layui-card\">\n";
    html += "        <div class=\"layui-card-header\">中国 · " + n.region +
            " <span class=\"layui-badge layui-bg-green\">在线</span></div>\n";
    html += "        <div class=\"layui-card-body\">\n";
    html += "          <p class=\"layuiadmin-big-font card-phone\" id=\"" + d + "\">" + spaced +
            "</p>\n";
    html += "          <p class=\"card-note\">今日已接收 " + Str(random.Between(3, 96)) +
            " 条短信 · " + Str(random.Between(1, 59)) + " 分钟前更新</p>\n";
    html += "          <a class=\"layui-btn layui-btn-sm\" href=\"/message/" + d +
            ".html\">查看短信</a>\n";
    html += "        </div>\n      </div>\n    </div>\n";
    return html;
}

std::string ForeignCard(const ListedNumber& n, Random& random) {
    std::string html;
    html += "    <div class=\"layui-col-md3 layui-col-sm6\">\n";
    html += "      <div class=\"layui-card number-card\">\n";
    html += "        <div class=\"layui-card-header\">" + n.region +
            " <span class=\"layui-badge-rim\">在线</span></div>\n";
    html += "        <div class=\"layui-card-body\">\n";
    html += "          <a class=\"number-link\" href=\"/message/" + n.number +
            ".html\"><span class=\"country-bh\">" + n.countryCode + "</span>" + n.linkRest +
            "</a>\n";
    html += "          <p class=\"card-note\">今日已接收 " + Str(random.Between(1, 40)) +
            " 条短信 · " + Str(random.Between(1, 59)) + " 分钟前更新</p>\n";
    html += "        </div>\n      </div>\n    </div>\n";
    return html;
}

// Page links around the current page, always ending with a link to the last page, so the
// last numbered link on any page is the page count.
std::string Pagination(Platform platform, int current, int total) {
    const std::string base = "/" + std::string(PlatformPath(platform)) + "/";
    auto href = [&](int page) { return base + Str(page) + ".html"; };

    // The first and last page, two on each side of the current one, and a page that would
    // otherwise be the only one hidden behind an ellipsis.
    auto near = [&](int page) {
        return page == 1 || page == total || (page >= current - 2 && page <= current + 2);
    };
    std::vector<int> shown;
    for (int page = 1; page <= total; ++page) {
        if (near(page) || (near(page - 1) && near(page + 1))) shown.push_back(page);
    }

    std::string html;
    html += "  <div class=\"pagination-wrap\">\n    <ul class=\"pagination\">\n";
    if (current > 1) {
        html += "      <li class=\"prev\"><a href=\"" + href(current - 1) +
                "\">&laquo; 上一页</a></li>\n";
    } else {
        html += "      <li class=\"prev disabled\"><span>&laquo; 上一页</span></li>\n";
    }
    int previous = 0;
    for (int page : shown) {
        if (page > previous + 1)
            html += "      <li class=\"disabled\"><span>&hellip;</span></li>\n";
        html += std::string("      <li") + (page == current ? " class=\"active\"" : "") +
                "><a href=\"" + href(page) + "\">" + Str(page) + "</a></li>\n";
        previous = page;
    }
    if (current < total) {
        html += "      <li class=\"next\"><a href=\"" + href(current + 1) +
                "\">下一页 &raquo;</a></li>\n";
    } else {
        html += "      <li class=\"next disabled\"><span>下一页 &raquo;</span></li>\n";
    }
    html += "    </ul>\n  </div>\n";
    return html;
}

// ---------------------------------------------------------------------------------------------
// Messages

constexpr const char* kChineseServices[] = {
    "蓝鲸云盘", "拾光相册", "喵喵外卖", "青柚视频", "云途出行",
    "橙子阅读", "小满记账", "鹿鸣音乐", "飞鱼快递", "栗子社区",
};
constexpr const char* kEnglishServices[] = {
    "PixelMart", "Nimbus Chat", "Zentro", "CloudKite", "Orbit Pay", "Lumen ID", "Quokka Games",
};

constexpr const char* kChineseTemplates[] = {
    "【{svc}】您的验证码是{code}，5分钟内有效，请勿泄露给他人。",
    "【{svc}】验证码：{code}，您正在登录账号，如非本人操作请忽略本短信。",
    "【{svc}】{code}（注册验证码），感谢您注册{svc}，验证码10分钟内有效。",
    "【{svc}】您正在进行身份验证，验证码{code}，切勿告知他人。",
    "【{svc}】尊敬的用户，您的动态密码为{code}，有效期3分钟。",
};
constexpr const char* kEnglishTemplates[] = {
    "Your {svc} verification code is {code}. It expires in 10 minutes.",
    "{code} is your {svc} code. Don't share it with anyone.",
    "[{svc}] Use {code} to sign in. If this wasn't you, ignore this message.",
    "{svc}: your one-time passcode is {code}.",
};

// Messages at fixed places on every page, so each page shows an entity, an inline tag and a
// character that GBK lacks.
constexpr std::size_t kEntitySlot = 1;
constexpr std::size_t kTagSlot = 3;
constexpr std::size_t kEmojiSlot = 5;
constexpr int kFewestMessages = 8;

const char* SpecialTemplate(std::size_t slot, bool chinese) {
    switch (slot) {
        case kEntitySlot:
            return chinese ? "【{svc}】验证码{code}，登录即表示同意《用户协议&amp;隐私政策》。"
                           : "Your {svc} code: {code}. Terms &amp; Conditions apply.";
        case kTagSlot:
            return chinese ? "【{svc}】您的验证码为 <b>{code}</b>，请在页面中输入以完成验证。"
                           : "Use <b>{code}</b> to verify your {svc} account.";
        case kEmojiSlot:
            return chinese ? "【{svc}】\xF0\x9F\x8E\x89新人礼包已到账！验证码{code}，30分钟内有效。"
                           : "\xF0\x9F\x8E\x89 Welcome to {svc}! Your code is {code}.";
        default:
            return nullptr;
    }
}

// Latest message time on every page: 2024-06-18 20:00:00 UTC.
constexpr std::time_t kNewestMessageTime = 1718740800;

std::string FormatTime(std::time_t t) {
    std::tm parts{};
    gmtime_r(&t, &parts);
    char out[32];
    std::strftime(out, sizeof out, "%Y-%m-%d %H:%M:%S", &parts);
    return out;
}

// ---------------------------------------------------------------------------------------------
// Notice blog and article site

std::string BlogHead(std::string_view title, const SiteOrigins& origins, bool marker) {
    std::string html;
    html += "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n";
    html += "<meta charset=\"UTF-8\">\n";
    html += "<meta name=\"generator\" content=\"Z-BlogPHP 1.7.3\">\n";
    html += "<title>" + std::string(title) + " | 码头笔记</title>\n";
    html += "<link rel=\"stylesheet\" href=\"" + origins.notice +
            "/blogs/zb_users/theme/default/style/default.css\" type=\"text/css\" media=\"all\">\n";
    html +=
        "<script src=\"" + origins.notice + "/blogs/zb_system/script/jquery.min.js\"></script>\n";
    html += "<script src=\"" + origins.notice + "/blogs/zb_system/script/zblogphp.js\"></script>\n";
    if (marker) {
        html +=
            "<script src=\"" + origins.notice + std::string(kNoticeMarkerPath) + "\"></script>\n";
    }
    html += "</head>\n";
    return html;
}

std::string BlogTop() {
    return "<body class=\"single\">\n"
           "<div id=\"divAll\">\n<div id=\"divPage\">\n<div id=\"divMiddle\">\n"
           "  <div id=\"divTop\">\n"
           "    <h1 id=\"BlogTitle\"><a href=\"/blogs/\">码头笔记</a></h1>\n"
           "    <h3 id=\"BlogSubTitle\">写点软件，记点日常</h3>\n"
           "  </div>\n"
           "  <div id=\"divNavBar\">\n    <ul>\n"
           "      <li id=\"nvabar-item-index\"><a href=\"/blogs/\">首页</a></li>\n"
           "      <li><a href=\"/blogs/?id=2\">留言本</a></li>\n"
           "    </ul>\n  </div>\n"
           "  <div id=\"divMain\">\n";
}

std::string BlogBottom() {
    return "  </div>\n"
           "  <div id=\"divBottom\">\n"
           "    <p id=\"BlogCopyRight\">Copyright &copy; 2024 码头笔记 · 演示博客</p>\n"
           "    <p id=\"BlogPowerBy\">Powered By Z-BlogPHP</p>\n"
           "  </div>\n"
           "</div>\n</div>\n</div>\n</body>\n</html>\n";
}

std::string ArticleShell(std::string_view title, std::string_view body) {
    std::string html;
    html += "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n";
    html += "<title>" + std::string(title) + " | 码头文集</title>\n";
    html +=
        "<style>body{margin:0;background:#f9f9f9;font-family:sans-serif;color:#404040}"
        "article{max-width:720px;margin:40px auto;background:#fff;padding:32px 40px}"
        "h1{font-size:28px}.meta{color:#969696;font-size:13px}"
        ".btn{display:inline-block;background:#ec7259;color:#fff;padding:8px 20px;"
        "border-radius:20px;text-decoration:none}</style>\n";
    html += "</head>\n<body>\n<article>\n";
    html += std::string(body);
    html += "</article>\n</body>\n</html>\n";
    return html;
}

}  // namespace

std::string_view NoticeKeyMarker(NoticeKey key) {
    switch (key) {
        case NoticeKey::LatestVersion:
            return "最新版本-";
        case NoticeKey::DownloadLink:
            return "下载地址-";
        case NoticeKey::Notice:
            return "公告-";
        case NoticeKey::TimerPeriod:
            return "时钟周期-";
        case NoticeKey::NoticePicture:
            return "图片地址-";
        case NoticeKey::JumpLink:
            return "跳转链接-";
        case NoticeKey::AdvertPicture:
            return "广告图-";
    }
    return "";
}

std::string_view NoticeKeyName(NoticeKey key) {
    switch (key) {
        case NoticeKey::LatestVersion:
            return "version";
        case NoticeKey::DownloadLink:
            return "download";
        case NoticeKey::Notice:
            return "notice";
        case NoticeKey::TimerPeriod:
            return "timer";
        case NoticeKey::NoticePicture:
            return "picture";
        case NoticeKey::JumpLink:
            return "link";
        case NoticeKey::AdvertPicture:
            return "advert";
    }
    return "";
}

std::optional<NoticeKey> NoticeKeyFromName(std::string_view name) {
    for (NoticeKey key : kAllNoticeKeys) {
        if (NoticeKeyName(key) == name) return key;
    }
    return std::nullopt;
}

std::string_view DefaultNoticeText() {
    return "欢迎使用短信码头！这里是演示站，号码和短信都是生成的演示数据，"
           "单击号码即可复制，双击号码查看短信。";
}

int PageCountOf(const ContentSettings& settings, Platform platform) {
    return platform == Platform::Domestic ? settings.domesticPages : settings.foreignPages;
}

std::vector<ListedNumber> NumbersOnPage(const ContentSettings& settings, Platform platform,
                                        int page) {
    std::vector<ListedNumber> numbers;
    if (page < 1 || page > PageCountOf(settings, platform)) return numbers;
    const auto pageKey = static_cast<std::uint64_t>(page);
    for (int i = 0; i < settings.numbersPerPage; ++i) {
        const auto index = static_cast<std::uint64_t>(i);
        ListedNumber n;
        if (platform == Platform::Domestic) {
            Random random(Mix({settings.seed, kDomesticStream, pageKey, index}));
            n.number = std::string(random.Pick(kDomesticPrefixes)) + random.Digits(8);
            n.region = random.Pick(kDomesticRegions);
        } else {
            Random random(Mix({settings.seed, kForeignStream, pageKey, index}));
            const Country& country = random.Pick(kCountries);
            const std::string lead = country.lead;
            n.number = lead + random.Digits(country.length - static_cast<int>(lead.size()));
            n.countryCode = country.code;
            n.region = country.name;
            // Sites write the link text both ways; the first two cards of a page show both.
            const bool space = i < 2 ? i == 0 : random.Chance(50);
            n.linkRest = (space ? " " : "") + n.number;
        }
        numbers.push_back(std::move(n));
    }
    return numbers;
}

std::optional<std::string> ListingPage(const ContentSettings& settings, Platform platform, int page,
                                       NumberSite site) {
    const int total = PageCountOf(settings, platform);
    if (page < 1 || page > total) return std::nullopt;
    const bool domestic = platform == Platform::Domestic;
    const std::string title =
        std::string(domestic ? "国内免费接码" : "国外免费接码") + " 第" + Str(page) + "页";

    std::string html = NumberSiteHead(title, site);
    html += NumberSiteHeader(site, PlatformPath(platform));
    html += "<div class=\"layui-fluid\">\n";
    html += "  <div class=\"layui-card notice-bar\">\n    <div class=\"layui-card-body\">\n";
    html +=
        domestic
            ? "      <p>国内号码每天更新，号码过多时请耐心翻页。点击号码查看最近收到的短信。</p>\n"
            : "      <p>国外号码支持大部分海外应用注册，号码前为国家区号。</p>\n";
    html += "      <p>公共号码人人可见，请勿用于支付、银行等重要账号。</p>\n";
    html += "    </div>\n  </div>\n";
    html += "  <div class=\"layui-row layui-col-space15\">\n";

    Random cards(Mix({settings.seed, kCardStream, static_cast<std::uint64_t>(platform),
                      static_cast<std::uint64_t>(page)}));
    for (const ListedNumber& n : NumbersOnPage(settings, platform, page)) {
        html += domestic ? DomesticCard(n, cards) : ForeignCard(n, cards);
    }
    html += "  </div>\n";
    if (settings.pagination) html += Pagination(platform, page, total);
    html += "</div>\n";
    html += NumberSiteFooter();
    return html;
}

bool IsNumberName(std::string_view number) {
    return number.size() >= 5 && number.size() <= 15 &&
           std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<ListedMessage> MessagesOf(const ContentSettings& settings, std::string_view number) {
    std::vector<ListedMessage> messages;
    if (!IsNumberName(number)) return messages;
    Random random(Mix({settings.seed, kMessageStream, HashOf(number)}));
    const bool mainlyChinese = number.size() == 11 && number.front() == '1';
    const int count = random.Between(kFewestMessages, 14);
    std::time_t time = kNewestMessageTime - random.Between(30, 1800);
    for (int i = 0; i < count; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        const bool chinese = random.Chance(mainlyChinese ? 80 : 25);
        const char* special = SpecialTemplate(slot, chinese);
        const std::string pattern =
            special ? special
                    : (chinese ? random.Pick(kChineseTemplates) : random.Pick(kEnglishTemplates));
        const std::string service =
            chinese ? random.Pick(kChineseServices) : random.Pick(kEnglishServices);
        const std::string code = random.Digits(random.Chance(70) ? 6 : 4);

        ListedMessage m;
        m.content = ReplaceAll(ReplaceAll(pattern, "{svc}", service), "{code}", code);
        m.sender = chinese ? "1069" + random.Digits(random.Between(6, 10)) : random.Digits(5);
        m.time = FormatTime(time);
        messages.push_back(std::move(m));
        time -= random.Between(60, 3 * 3600);
    }
    return messages;
}

std::optional<std::string> MessagePage(const ContentSettings& settings, std::string_view number,
                                       NumberSite site) {
    if (!IsNumberName(number)) return std::nullopt;
    const std::string n(number);
    std::string html = NumberSiteHead("号码 " + n + " 的最新短信", site);
    html += NumberSiteHeader(site, "");
    html += "<div class=\"layui-fluid\">\n";
    html += "  <div class=\"layui-card\">\n";
    html += "    <div class=\"layui-card-header\">号码 <strong>" + n +
            "</strong> 最近收到的短信 <a class=\"layui-btn layui-btn-xs\" href=\"/message/" + n +
            ".html\">刷新</a></div>\n";
    html += "    <div class=\"layui-card-body\">\n";
    html += "      <p class=\"card-note\">短信可能延迟 1 到 3 分钟，收不到请换一个号码再试。</p>\n";
    html += "      <table class=\"layui-table\" lay-skin=\"line\">\n";
    html +=
        "        <thead>\n          <tr>\n            <th>发送方</th>\n"
        "            <th>短信内容</th>\n"
        "            <th style=\"text-align: center\">接收时间</th>\n"
        "          </tr>\n        </thead>\n        <tbody>\n";
    for (const ListedMessage& m : MessagesOf(settings, number)) {
        html += "          <tr>\n";
        html += "            <td class=\"sender\">" + m.sender + "</td>\n";
        html += "            <td style=\"\">" + m.content + "</td>\n";
        html += "            <td style=\"text-align: center\">" + m.time + "</td>\n";
        html += "          </tr>\n";
    }
    html += "        </tbody>\n      </table>\n";
    html += "    </div>\n  </div>\n</div>\n";
    html += NumberSiteFooter();
    return html;
}

std::optional<std::string> NoticeValue(const ContentSettings& settings, const SiteOrigins& origins,
                                       NoticeKey key) {
    if (settings.missingKeys.contains(key)) return std::nullopt;
    if (settings.noneKeys.contains(key)) return std::string(kNoneWord);
    switch (key) {
        case NoticeKey::LatestVersion:
            return settings.latestVersion;
        case NoticeKey::DownloadLink:
            return origins.article + std::string(kDownloadPath);
        case NoticeKey::Notice:
            return settings.noticeText.empty() ? std::string(DefaultNoticeText())
                                               : settings.noticeText;
        case NoticeKey::TimerPeriod:
            return Str(settings.timerPeriodMs);
        case NoticeKey::NoticePicture:
            return origins.notice + std::string(kNoticePicturePath);
        case NoticeKey::JumpLink:
            return origins.article + std::string(kGuideArticlePath);
        case NoticeKey::AdvertPicture:
            return origins.notice + std::string(kAdvertPicturePath);
    }
    return std::nullopt;
}

std::string NoticePost(const ContentSettings& settings, const SiteOrigins& origins) {
    std::string html = BlogHead("短信码头软件公告", origins, settings.noticeMarker);
    html += BlogTop();
    html += "    <div class=\"post single\" id=\"post88\">\n";
    html += "      <h4 class=\"post-date\">2024年06月18日</h4>\n";
    html += "      <h2 class=\"post-title\">短信码头软件公告（软件读取，请勿删除）</h2>\n";
    html += "      <div class=\"post-body\">\n";
    html +=
        "        <p>下面几行由软件启动时读取，每项写成“名称、短横线、内容、短横线”，"
        "内容里不要出现短横线。</p>\n";
    for (NoticeKey key : kAllNoticeKeys) {
        if (auto value = NoticeValue(settings, origins, key)) {
            html += "        <p>" + std::string(NoticeKeyMarker(key)) + *value + "-</p>\n";
        }
    }
    html += "        <p>有问题请在下方留言，看到会尽快回复。</p>\n";
    html += "      </div>\n";
    html +=
        "      <h6 class=\"post-footer\">分类：<a href=\"/blogs/?cate=1\">软件</a>"
        " · 浏览：1024 · 评论：0</h6>\n";
    html += "    </div>\n";
    html +=
        "    <div class=\"commentpost\">\n      <h4>发表评论</h4>\n"
        "      <p>评论功能已关闭。</p>\n    </div>\n";
    html += BlogBottom();
    return html;
}

std::string BlogIndexPage(const SiteOrigins& origins) {
    std::string html = BlogHead("首页", origins, false);
    html += BlogTop();
    html += "    <div class=\"post multi\">\n";
    html += "      <h4 class=\"post-date\">2024年06月18日</h4>\n";
    html += "      <h2 class=\"post-title\"><a href=\"/blogs/?id=88\">短信码头软件公告</a></h2>\n";
    html +=
        "      <div class=\"post-body\"><p>短信码头的版本信息与公告，软件启动时读取。</p></div>\n";
    html += "    </div>\n";
    html += BlogBottom();
    return html;
}

std::string NoticeMarkerScript() {
    return "/* 公告弹窗插件 */\n"
           "(function () {\n"
           "  if (typeof window === 'undefined' || !window.document) return;\n"
           "  window.txgonggao = { shown: false };\n"
           "})();\n";
}

std::optional<std::string> ArticlePage(std::string_view path, const SiteOrigins& origins) {
    if (path == kUpdateArticlePath) {
        return ArticleShell(
            "短信码头 1.9 更新说明",
            "<h1>短信码头 1.9 更新说明</h1>\n"
            "<p class=\"meta\">码头工人 · 2024.06.18 · 字数 312</p>\n"
            "<p>旧版本已停止使用，请下载新版本。本次更新：</p>\n"
            "<ul>\n<li>号码列表支持更多页</li>\n<li>修复部分国外号码无法获取短信的问题</li>\n"
            "<li>启动更快</li>\n</ul>\n"
            "<p><a class=\"btn\" href=\"" +
                origins.article + std::string(kDownloadPath) + "\">前往下载页</a></p>\n");
    }
    if (path == kGuideArticlePath) {
        return ArticleShell("短信码头使用教程",
                            "<h1>短信码头使用教程</h1>\n"
                            "<p class=\"meta\">码头工人 · 2024.05.02 · 字数 420</p>\n"
                            "<ol>\n<li>选择国内平台或国外平台，列表会显示第一页号码。</li>\n"
                            "<li>单击号码复制，在要注册的网站上填写并发送验证码。</li>\n"
                            "<li>稍等片刻后双击该号码，查看最近收到的短信。</li>\n"
                            "<li>换页：在下拉框中选择页码，点“获取号码”。</li>\n</ol>\n"
                            "<p>公共号码任何人都能看到短信内容，切勿用于重要账号。</p>\n");
    }
    if (path == kDownloadPath) {
        return ArticleShell("短信码头下载",
                            "<h1>短信码头下载</h1>\n"
                            "<p class=\"meta\">最新版本 1.9</p>\n"
                            "<p>这里是演示站，不提供安装包。正式发布时，下载链接会放在这里。</p>\n"
                            "<p><a class=\"btn\" href=\"" +
                                std::string(kUpdateArticlePath) + "\">查看更新说明</a></p>\n");
    }
    return std::nullopt;
}

std::string ArticleIndexPage() {
    return ArticleShell("文集",
                        "<h1>码头文集</h1>\n<ul>\n"
                        "<li><a href=\"" +
                            std::string(kUpdateArticlePath) +
                            "\">短信码头 1.9 更新说明</a></li>\n"
                            "<li><a href=\"" +
                            std::string(kGuideArticlePath) +
                            "\">短信码头使用教程</a></li>\n"
                            "<li><a href=\"" +
                            std::string(kDownloadPath) + "\">短信码头下载</a></li>\n</ul>\n");
}

std::string NotFoundPage() {
    return "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<title>404 页面不存在</title>\n</head>\n<body>\n"
           "<div class=\"error-page\">\n  <h1>404</h1>\n"
           "  <p>抱歉，您访问的页面不存在或已被删除。</p>\n"
           "  <p><a href=\"/\">返回首页</a></p>\n</div>\n</body>\n</html>\n";
}

std::string ServerErrorPage() {
    return "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<title>500 服务器繁忙</title>\n</head>\n<body>\n"
           "<div class=\"error-page\">\n  <h1>500</h1>\n"
           "  <p>服务器繁忙，请稍后再试。</p>\n</div>\n</body>\n</html>\n";
}

}  // namespace smsdock::demo
