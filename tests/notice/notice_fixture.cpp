#include "tests/notice/notice_fixture.h"

#include <QBuffer>
#include <QImage>
#include <cstdlib>

#include "demo/pages.h"

namespace smsdock::testing {

namespace {

std::string PngOf(QSize size, Qt::GlobalColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toStdString();
}

void Add(std::string& html, const char* key, const std::optional<std::string>& value,
         const char* before, const char* after) {
    if (value) html += std::string(before) + key + *value + "-" + after;
}

}  // namespace

std::string NoticePost::Html() const {
    std::string html = "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n";
    // One key sits in the title, as a blog that shows the post's first line there would put it.
    Add(html, "最新版本-", version, "<title>", " 软件公告 | 测试博客</title>\n");
    html += "<link rel=\"stylesheet\" href=\"/blogs/zb_users/theme/default/style.css\">\n";
    if (marker)
        html += "<script src=\"" + markerOrigin +
                "/blogs/zb_users/plugin/txgonggao/js/txgonggao.js\"></script>\n";
    html += "</head>\n<body>\n<div class=\"post\">\n<h2>软件公告</h2>\n<div class=\"post-body\">\n";
    Add(html, "公告-", notice, "<p>", "</p>\n");
    Add(html, "下载地址-", download, "<p>", "</p>\n");
    Add(html, "时钟周期-", period, "<p>", "</p>\n");
    Add(html, "广告图-", advert, "<p>", "</p>\n");
    Add(html, "跳转链接-", link, "<p>", "</p>\n");
    Add(html, "图片地址-", picture, "<p data-note=\"", "\">图片</p>\n");
    html += "</div>\n</div>\n<p class=\"footer\">Powered by Z-BlogPHP</p>\n</body>\n</html>\n";
    return html;
}

NoticeSites& NoticeSites::Get() {
    static NoticeSites sites;
    return sites;
}

NoticeSites::NoticeSites() {
    server_.Set("/blogs/", Route::Content(""));
    server_.Set("/pictures/notice.png",
                Route::Content(PngOf(kNoticePictureSize, Qt::blue), "image/png"));
    server_.Set("/pictures/advert.png",
                Route::Content(PngOf(kAdvertPictureSize, Qt::green), "image/png"));
    demo::ContentSettings listing;
    listing.numbersPerPage = kNumbersPerPage;
    server_.Set("/dl/1.html", Route::Content(*demo::ListingPage(listing, demo::Platform::Domestic,
                                                                1, demo::NumberSite::Primary)));
    setenv("SMSDOCK_NOTICE_SITE", Origin().c_str(), 1);
    setenv("SMSDOCK_PRIMARY_SITE", Origin().c_str(), 1);
    setenv("SMSDOCK_ARTICLE_SITE", kArticleOrigin, 1);
}

NoticePost NoticeSites::UsualPost() const {
    NoticePost post;
    post.version = "1.8";
    post.download = "http://download.invalid/smsdock.zip";
    post.notice = "今日公告：号码已更新";
    post.period = "0";
    post.picture = NoticePictureUrl();
    post.link = "http://jump.invalid/page";
    post.advert = AdvertPictureUrl();
    post.markerOrigin = Origin();
    return post;
}

void NoticeSites::Serve(const NoticePost& post) {
    ServeBody(post.Html());
}

void NoticeSites::ServeBody(std::string body) {
    server_.Set("/blogs/", Route::Content(std::move(body)));
}

std::string NoticeSites::NoticePictureUrl() const {
    return Url("/pictures/notice.png");
}

std::string NoticeSites::AdvertPictureUrl() const {
    return Url("/pictures/advert.png");
}

std::string NoticeSites::MissingUrl() const {
    return Url("/pictures/gone.png");
}

int NoticeSites::RequestsFor(const std::string& path) const {
    int count = 0;
    for (const RecordedRequest& request : server_.Requests())
        count += request.path == path ? 1 : 0;
    return count;
}

}  // namespace smsdock::testing
