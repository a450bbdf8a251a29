#include "notice/startup_check.h"

#include <string_view>

#include "app/state/globals.h"
#include "app/state/site_settings.h"
#include "app/state/window_names.h"
#include "http/http_request.h"
#include "retrieval/number_listing.h"
#include "text/code_page.h"
#include "text/extract.h"
#include "text/text_ops.h"
#include "ui/window_layer.h"

namespace smsdock {
namespace {

// The notice post, the script its blog adds when the post asks for the update pop-up window,
// and the article that explains the update.
constexpr std::string_view kNoticeDocumentPath = "/blogs/?id=88";
constexpr std::string_view kNoticeMarkerPath = "/blogs/zb_users/plugin/txgonggao/js/txgonggao.js";
constexpr std::string_view kUpdateArticlePath = "/p/1c78a3d654eb";

// The GBK form of a text written here in UTF-8.
Text Gbk(const char* utf8) {
    return Utf8ToAnsi(Text(utf8));
}

// A value of the notice document: what follows the first occurrence of the key (which ends in
// "-") up to the next "-"; "" when the key is missing or nothing ends it.
Text NoticeValue(const Text& document, const char* key) {
    return TextBetween(document, Gbk(key), Text("-"));
}

// Opens the update article, clears the number list, tells the user, opens the download link once
// the box is closed, and ends the program.
[[noreturn]] void RunForcedUpdate(const Text& downloadLink) {
    OpenUrl(Sites().article.Url(kUpdateArticlePath));
    DeleteAllRows(kMainWindow, "超级列表框1");
    // Owned by the main window, which stays disabled until OK is pressed; this thread waits.
    ShowMessage(Gbk("有新版本，请下载新版本使用！"), kMbOk, Gbk("更新提示"), kMainWindow);
    OpenUrl(downloadLink);
    EndProgram(0);
}

}  // namespace

void RunStartupCheck() {
    const Text document = Utf8ToAnsi(FetchText(Sites().notice.Url(kNoticeDocumentPath)));

    const Text latestVersion = NoticeValue(document, "最新版本-");
    LatestVersion.Set(latestVersion);
    const Text runningVersion = TextRightOfLast(Caption(kMainWindow, "透明标签3"), Gbk("："));
    const Text downloadLink = NoticeValue(document, "下载地址-");
    const Text noticeText = NoticeValue(document, "公告-");
    TimerPeriod = TextToInt(NoticeValue(document, "时钟周期-"));
    const Text noticePictureUrl = NoticeValue(document, "图片地址-");
    JumpLink.Set(NoticeValue(document, "跳转链接-"));
    const Text advertPictureUrl = NoticeValue(document, "广告图-");

    // No document (the blog unreachable, an empty answer) or one that names no latest version
    // says nothing about an update; taking it as "outdated" would send every user off to a
    // download and quit whenever the blog is down. The program starts as if it had not asked:
    // the first page is listed, and the notice, the timer and the pictures stay as built.
    if (latestVersion.empty()) {
        LoadFirstDomesticPage();
        return;
    }

    // The advert picture is fetched whatever the value, "无" included; 时钟1 reveals it later.
    SetPicture(kMainWindow, "图片框2", FetchPicture(advertPictureUrl));

    if (latestVersion != runningVersion) RunForcedUpdate(downloadLink);

    LoadFirstDomesticPage();

    const Text none = Gbk("无");
    // The notice box has no owner, so the main window stays usable, but this thread waits for
    // it: the timer, the picture, the pop-up window and the notice label change only after it.
    if (noticeText != none) ShowMessage(noticeText);

    SetPeriod(kMainWindow, "时钟1", TimerPeriod);

    if (noticePictureUrl != none) {
        SetVisible(kMainWindow, "图片框1", true);
        SetPicture(kMainWindow, "图片框1", FetchPicture(noticePictureUrl));
        BringToTop(kMainWindow, "图片框1");
    }

    // The window layer builds the pop-up window on the window thread, so it stays open after
    // this thread ends, until the user closes it.
    if (FindText(document, Sites().notice.Url(kNoticeMarkerPath)) != -1) LoadWindow(kUpdatePopup);

    if (noticeText != none) SetCaption(kMainWindow, "透明标签4", noticeText);
}

}  // namespace smsdock
