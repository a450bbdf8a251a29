#include "retrieval/number_listing.h"

#include <algorithm>
#include <string>

#include "app/state/globals.h"
#include "app/state/site_settings.h"
#include "app/state/window_names.h"
#include "http/http_request.h"
#include "retrieval/gbk_text.h"
#include "text/code_page.h"
#include "text/regex_matcher.h"
#include "text/text_ops.h"
#include "ui/window_layer.h"

namespace smsdock {
namespace {

constexpr const char* kDomesticNumberPattern =
    R"re(<p class="layuiadmin-big-font card-phone" id="(.*?)")re";
constexpr const char* kForeignNumberPattern =
    R"re(<span class="country-bh">(.*?)</span>(.*?)</a>)re";
constexpr const char* kPageCountPattern = R"re(>(\d+)</a></li>)re";

// A hostile or broken page could name billions of pages; the selector never offers more.
constexpr int kMaxPageCount = 9999;

enum class Platform { Domestic, Foreign };

// Where the listing routines differ; everything else is the shared listing steps.
struct ListingMember {
    Platform platform;
    // A fetch lists the page chosen in the selector from the secondary site; the other members
    // list page 1 from the primary site.
    bool fetch;
    const char* hint;
    bool clearSelector;
    bool fillSelector;
    const char* switchText;  // written to 透明标签6, or null
    bool showPopup;
};

constexpr const char* kFetchHint = "单击号码即可复制，双击号码获取短信";
constexpr const char* kSwitchHint = "单击号码复制，双击号码获取短信";

constexpr ListingMember kFetchDomestic{
    Platform::Domestic, true, kFetchHint, false, false, nullptr, false};
constexpr ListingMember kFetchForeign{Platform::Foreign, true, kFetchHint, false, false,
                                      nullptr,           false};
constexpr ListingMember kSwitchDomestic{Platform::Domestic, false, kSwitchHint, true, true,
                                        "已切换至国内号码", true};
constexpr ListingMember kSwitchForeign{Platform::Foreign,  false, kSwitchHint, true, true,
                                       "已切换至国外号码", false};
constexpr ListingMember kFirstDomestic{
    Platform::Domestic, false, kSwitchHint, false, true, nullptr, false};

constexpr std::string_view kNumberList = "超级列表框1";
constexpr std::string_view kPageSelector = "组合框1";

Text ListingUrl(const ListingMember& member, const Text& pageValue) {
    const std::string folder = member.platform == Platform::Domestic ? "/dl/" : "/gw/";
    if (member.fetch) return Sites().secondary.Url(folder + pageValue.str() + ".html");
    return Sites().primary.Url(folder + "1.html");
}

// The number cell: " " + number + " " for a domestic row, code + rest + " " for a foreign one.
Text NumberCell(const ListingMember& member, const RegexMatcher& matcher, int i) {
    if (member.platform == Platform::Domestic)
        return Text(" ") + matcher.SubmatchText(i, 1) + Text(" ");
    return matcher.SubmatchText(i, 1) + matcher.SubmatchText(i, 2) + Text(" ");
}

// The page count from the LAST pagination link of the page, and a selector item per page.
void FillPageSelector(RegexMatcher& matcher, const Text& page) {
    matcher.Search(kPageCountPattern, page);
    const int m = matcher.MatchCount();
    // The bound of the fill is this routine's own count, whatever another thread stores.
    const int pages = std::min(TextToInt(matcher.SubmatchText(m, 1)), kMaxPageCount);
    PageCount = pages;
    for (int j = 1; j <= pages; ++j)
        AddItem(kMainWindow, kPageSelector, GbkText("第") + IntToText(j) + GbkText("页"), j);
    SetCurrentSelection(kMainWindow, kPageSelector, 0);
}

void RunListingSteps(const ListingMember& member) {
    RegexMatcher matcher;
    DeleteAllRows(kMainWindow, kNumberList);
    if (member.clearSelector) ClearItems(kMainWindow, kPageSelector);

    Text pageValue;
    if (member.fetch) {
        const int selection = CurrentSelection(kMainWindow, kPageSelector);
        pageValue = IntToText(GetItemValue(kMainWindow, kPageSelector, selection));
    }

    Bytes body;
    {
        const BusyCursor busy;
        body = HttpRequest(ListingUrl(member, pageValue));
    }
    const Text page = Utf8ToAnsi(BytesToText(body));

    matcher.Search(
        member.platform == Platform::Domestic ? kDomesticNumberPattern : kForeignNumberPattern,
        page);
    const int n = matcher.MatchCount();
    const Text hint = GbkText(member.hint);
    for (int i = 1; i <= n; ++i) {
        const int row = InsertRow(kMainWindow, kNumberList);
        SetCellText(kMainWindow, kNumberList, row, 0, IntToText(i));
        SetCellText(kMainWindow, kNumberList, row, 1, NumberCell(member, matcher, i));
        SetCellText(kMainWindow, kNumberList, row, 2, hint);
    }

    if (member.fillSelector) FillPageSelector(matcher, page);
    if (member.switchText) SetCaption(kMainWindow, "透明标签6", GbkText(member.switchText));
    // Modal: the routine goes on once the user has closed the pop-up (at once when it is
    // already open).
    if (member.showPopup) LoadWindow(kUpdatePopup, {}, true);
    if (member.fetch) {
        const int selection = CurrentSelection(kMainWindow, kPageSelector);
        SetCaption(kMainWindow, "标签2",
                   GbkText("已成功获取到") + GetItemText(kMainWindow, kPageSelector, selection) +
                       GbkText("的号码"));
    }
}

}  // namespace

void FetchSelectedPage() {
    if (Checked(kMainWindow, "单选框1")) FetchDomesticPage();
    if (Checked(kMainWindow, "单选框2")) FetchForeignPage();
}

void FetchDomesticPage() {
    RunListingSteps(kFetchDomestic);
}

void FetchForeignPage() {
    RunListingSteps(kFetchForeign);
}

void SwitchToDomestic() {
    RunListingSteps(kSwitchDomestic);
}

void SwitchToForeign() {
    RunListingSteps(kSwitchForeign);
}

void LoadFirstDomesticPage() {
    RunListingSteps(kFirstDomestic);
}

}  // namespace smsdock
