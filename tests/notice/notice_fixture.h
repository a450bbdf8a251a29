#pragma once

// What the start-up check reads, served from one loopback server per test process: the notice
// blog's post, the first domestic listing page of the number site and two pictures. Tests vary
// the post; everything else stays put.

#include <QSize>
#include <optional>
#include <string>

#include "tests/support/test_server.h"

namespace smsdock::testing {

// The seven values of a notice post, written as UTF-8; nullopt leaves the key out of the post.
struct NoticePost {
    std::optional<std::string> version;
    std::optional<std::string> download;
    std::optional<std::string> notice;
    std::optional<std::string> period;
    std::optional<std::string> picture;
    std::optional<std::string> link;
    std::optional<std::string> advert;
    // Whether the page carries the blog's pop-up script, and from which origin.
    bool marker = false;
    std::string markerOrigin;

    // The post as the blog serves it: the keys spread over title, body and markup.
    std::string Html() const;
};

class NoticeSites {
  public:
    // The process's server. The first call starts it and points SMSDOCK_NOTICE_SITE and
    // SMSDOCK_PRIMARY_SITE at it and SMSDOCK_ARTICLE_SITE at kArticleOrigin; make it before
    // anything reads the site settings.
    static NoticeSites& Get();

    static constexpr const char* kArticleOrigin = "https://articles.invalid";
    static constexpr QSize kNoticePictureSize{10, 7};
    static constexpr QSize kAdvertPictureSize{12, 5};
    static constexpr int kNumbersPerPage = 20;

    // A post with the current version, a notice, both pictures from this server, a link, a
    // download link, the period 0 and no marker.
    NoticePost UsualPost() const;

    void Serve(const NoticePost& post);
    void ServeBody(std::string body);

    std::string Origin() const { return server_.Origin(); }
    std::string Url(const std::string& path) const { return server_.Url(path); }
    std::string NoticePictureUrl() const;
    std::string AdvertPictureUrl() const;
    // A path this server answers with 404 and a text body.
    std::string MissingUrl() const;
    // How many requests reached a path (query left off) since the server started.
    int RequestsFor(const std::string& path) const;

  private:
    NoticeSites();
    TestServer server_;
};

}  // namespace smsdock::testing
