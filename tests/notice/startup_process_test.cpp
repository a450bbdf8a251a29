// The start-up check in a whole program (the notice probe, a child process against this
// process's loopback blog): the forced update and how it ends, an unreadable post, and the
// status line's colours on a fresh window thread.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/notice/notice_fixture.h"
#include "tests/support/raw_http_server.h"

namespace smsdock {
namespace {

using testing::NoticePost;
using testing::NoticeSites;

struct Outcome {
    int exitCode = -1;
    std::vector<std::string> lines;
};

Outcome RunProbe(const std::string& mode, const std::string& noticeOrigin) {
    const NoticeSites& sites = NoticeSites::Get();
    const std::string command =
        "env QT_QPA_PLATFORM=offscreen SMSDOCK_NOTICE_SITE=" + noticeOrigin +
        " SMSDOCK_PRIMARY_SITE=" + sites.Origin() +
        " SMSDOCK_ARTICLE_SITE=" + NoticeSites::kArticleOrigin +
        " timeout 30 " SMSDOCK_NOTICE_PROBE " " + mode + " 2>/dev/null";
    Outcome outcome;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return outcome;
    std::string output;
    std::array<char, 512> chunk{};
    while (fgets(chunk.data(), chunk.size(), pipe))
        output += chunk.data();
    const int status = pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        outcome.lines.push_back(line);
    return outcome;
}

Outcome RunCheck() {
    return RunProbe("check", NoticeSites::Get().Origin());
}

struct Version {
    const char* name;
    const char* latest;
    friend void PrintTo(const Version& v, std::ostream* out) { *out << v.name; }
};

class ForcedUpdate : public ::testing::TestWithParam<Version> {};

TEST_P(ForcedUpdate, OpensTheArticleAsksThenOpensTheDownloadAndEndsWithZero) {
    NoticeSites& sites = NoticeSites::Get();
    NoticePost post = sites.UsualPost();
    post.version = GetParam().latest;
    post.download = "http://download.invalid/smsdock-1.9.zip";  // cut at the hyphen
    post.marker = true;
    sites.Serve(post);
    const int listings = sites.RequestsFor("/dl/1.html");
    const int adverts = sites.RequestsFor("/pictures/advert.png");

    const Outcome outcome = RunCheck();
    EXPECT_EQ(outcome.exitCode, 0);
    // The list is cleared before the box, which the main window owns; the download link is
    // opened only once OK was pressed; the exit handlers run once, and nothing else happens.
    EXPECT_EQ(outcome.lines,
              (std::vector<std::string>{
                  "open https://articles.invalid/p/1c78a3d654eb",
                  "box 更新提示|有新版本，请下载新版本使用！|owner MainWindow|rows 0",
                  "open http://download.invalid/smsdock",
                  "exit globals released",
              }));
    // The advert picture was fetched before the versions were compared; no page was listed.
    EXPECT_EQ(sites.RequestsFor("/pictures/advert.png"), adverts + 1);
    EXPECT_EQ(sites.RequestsFor("/dl/1.html"), listings);
}

INSTANTIATE_TEST_SUITE_P(Versions, ForcedUpdate,
                         ::testing::Values(Version{"Longer", "1.80"}, Version{"Lower", "1.7"},
                                           Version{"TrailingSpace", "1.8 "}),
                         [](const auto& info) { return std::string(info.param.name); });

struct Unreadable {
    const char* name;
    bool reachable;
    bool emptyBody;
    std::optional<std::string> version;
    friend void PrintTo(const Unreadable& u, std::ostream* out) { *out << u.name; }
};

class UnreadablePost : public ::testing::TestWithParam<Unreadable> {};

TEST_P(UnreadablePost, StartsNormallyWithTheBuiltInPictures) {
    NoticeSites& sites = NoticeSites::Get();
    // Everything but the version would change the window if it were applied.
    NoticePost post = sites.UsualPost();
    post.version = GetParam().version;
    post.period = "30";
    post.marker = true;
    if (GetParam().emptyBody) {
        sites.ServeBody("");
    } else {
        sites.Serve(post);
    }
    const int listings = sites.RequestsFor("/dl/1.html");
    const int pictures =
        sites.RequestsFor("/pictures/advert.png") + sites.RequestsFor("/pictures/notice.png");

    const Outcome outcome =
        RunProbe("check", GetParam().reachable ? sites.Origin() : "http://127.0.0.1:1");
    EXPECT_EQ(outcome.exitCode, 0);
    // No box, no page opened: the first page listed and the rest left as built.
    EXPECT_EQ(outcome.lines, (std::vector<std::string>{
                                 "check returned",
                                 "state rows 20",
                                 "state 图片框1 260x220 shown",
                                 "state 图片框2 608x200 hidden",
                                 "state 时钟1 0",
                                 "state popup none",
                                 "state 透明标签4 privacy hint",
                                 "exit globals released",
                             }));
    EXPECT_EQ(sites.RequestsFor("/dl/1.html"), listings + 1);
    EXPECT_EQ(sites.RequestsFor("/pictures/advert.png") + sites.RequestsFor("/pictures/notice.png"),
              pictures);
}

INSTANTIATE_TEST_SUITE_P(Posts, UnreadablePost,
                         ::testing::Values(Unreadable{"BlogUnreachable", false, false, "1.7"},
                                           Unreadable{"EmptyBody", true, true, "1.7"},
                                           Unreadable{"NoVersionKey", true, false, std::nullopt},
                                           Unreadable{"EmptyVersion", true, false, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StatusLineColours, FirstTicksOfAFreshWindowThread) {
    const Outcome outcome = RunProbe("colours", NoticeSites::Get().Origin());
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.lines,
              (std::vector<std::string>{"colour 41 35 190", "colour 132 225 108",
                                        "colour 214 174 82", "exit globals released"}));
}

// Closing the window while the start-up worker still waits for the notice site ends the
// program at once and in order, the worker's exchange left unfinished.
TEST(ClosedWhileFetching, EndsAtOnceWithZeroAndReleasesTheGlobals) {
    testing::RawHttpServer silentBlog;
    silentBlog.NeverAnswer();
    const auto started = std::chrono::steady_clock::now();
    const Outcome outcome = RunProbe("close", silentBlog.Origin());
    const auto took = std::chrono::steady_clock::now() - started;
    std::string output;
    for (const std::string& line : outcome.lines)
        output += line + "\n";

    EXPECT_EQ(outcome.exitCode, 0) << output;
    EXPECT_EQ(outcome.lines, (std::vector<std::string>{"closing", "exit globals released"}));
    EXPECT_FALSE(silentBlog.Requests().empty());
    // Well within the 60 s the exchange would be allowed.
    EXPECT_LT(took, std::chrono::seconds(20));
}

}  // namespace
}  // namespace smsdock
