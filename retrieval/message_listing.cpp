#include "retrieval/message_listing.h"

#include "app/state/globals.h"
#include "app/state/site_settings.h"
#include "app/state/window_names.h"
#include "http/http_request.h"
#include "retrieval/gbk_text.h"
#include "text/code_page.h"
#include "text/extract.h"
#include "text/regex_matcher.h"
#include "text/text_ops.h"
#include "ui/window_layer.h"

namespace smsdock {
namespace {

constexpr const char* kMessagePattern =
    R"re(<td style="">(.*?)</td>\s+<td style="text-align: center">(.*?)</td>)re";

constexpr std::string_view kNumberList = "超级列表框1";
constexpr std::string_view kMessageList = "超级列表框2";

}  // namespace

void ListMessages(const EventArgs&) {
    RegexMatcher matcher;
    DeleteAllRows(kMainWindow, kMessageList);

    const int selected = SelectedRow(kMainWindow, kNumberList);
    const Text cell = GetCellText(kMainWindow, kNumberList, selected, 1);
    // The text between the first space of the cell and the next one: the domestic number, the
    // part of a foreign number after its country code, or nothing.
    CurrentNumber.Set(TextBetween(cell, " ", " "));

    Bytes body;
    {
        const BusyCursor busy;
        body = HttpRequest(Sites().primary.Url("/message/" + CurrentNumber.Get().str() + ".html"));
    }
    const Text page = Utf8ToAnsi(BytesToText(body));

    // The cells exactly as matched: no entity is decoded and no tag removed.
    matcher.Search(kMessagePattern, page);
    const int n = matcher.MatchCount();
    for (int i = 1; i <= n; ++i) {
        const int row = InsertRow(kMainWindow, kMessageList);
        SetCellText(kMainWindow, kMessageList, row, 0, IntToText(i));
        SetCellText(kMainWindow, kMessageList, row, 1, matcher.SubmatchText(i, 1));
        SetCellText(kMainWindow, kMessageList, row, 2, matcher.SubmatchText(i, 2));
    }

    SetCaption(kMainWindow, "标签2", GbkText("当前号码最近的短信获取成功-部分平台的短信无法获取"));
}

}  // namespace smsdock
