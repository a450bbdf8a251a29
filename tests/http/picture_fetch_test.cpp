#include "http/picture_fetch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/http/exchange_helpers.h"
#include "tests/support/raw_http_server.h"
#include "tests/support/test_server.h"

namespace smsdock {
namespace {

using testing::RawHttpServer;
using testing::RawResponse;
using testing::Route;
using testing::Scheme;
using testing::TestServer;

class PictureFetchTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { testing::TrustTestCa(); }
};

TEST_F(PictureFetchTest, SendsAnHttp10GetWithTheOldAgentAndAcceptOnly) {
    for (bool tls : {false, true}) {
        SCOPED_TRACE(tls ? "tls" : "plain");
        RawHttpServer server(tls ? Scheme::kHttps : Scheme::kHttp);
        server.Respond(
            RawResponse(200, {"Content-Type: image/png"}, std::string("\x89PNG\0\1", 6)));

        EXPECT_EQ(AsString(FetchPictureBytes(Text(server.Url("/ad/1.png?v=2")))),
                  std::string("\x89PNG\0\1", 6));

        const auto requests = server.Requests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].requestLine, "GET /ad/1.png?v=2 HTTP/1.0");
        EXPECT_EQ(
            requests[0].headerLines,
            (std::vector<std::string>{
                "Host: 127.0.0.1:" + std::to_string(server.port()),
                "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)", "Accept: */*"}));
    }
}

TEST_F(PictureFetchTest, ReturnsTheBodyWhateverTheStatusAndFollowsRedirects) {
    TestServer server;
    Route missing = Route::Content("no picture", "text/plain");
    missing.status = 404;
    server.Set("/missing.png", missing);
    server.Set("/old.png", Route::Redirect("/missing.png"));

    EXPECT_EQ(AsString(FetchPictureBytes(Text(server.Url("/old.png")))), "no picture");
}

TEST_F(PictureFetchTest, EmptyMalformedOrUnreachableUrlsGiveEmptyBytes) {
    const std::string closed =
        "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()) + "/p.png";
    for (const std::string& url :
         {std::string(""), std::string("\xCE\xDE"), std::string("ftp://127.0.0.1/p"),
          std::string("http://"), std::string("127.0.0.1/p.png"), closed}) {
        SCOPED_TRACE(url);
        EXPECT_TRUE(FetchPictureBytes(Text(url)).empty());
    }
}

TEST_F(PictureFetchTest, GoesDirectAndStaysWithinTheLimits) {
    RawHttpServer proxy;
    TestServer server;
    server.Set("/p.png", Route::Content("picture", "image/png"));
    TestServer secure(Scheme::kHttps);
    secure.Set("/down.png", Route::Redirect(server.Url("/p.png")));
    const auto environment = ProxyEnvironment(proxy.Origin());

    EXPECT_EQ(AsString(FetchPictureBytes(Text(server.Url("/p.png")))), "picture");
    EXPECT_TRUE(proxy.Requests().empty());

    EXPECT_TRUE(FetchPictureBytes(Text(secure.Url("/down.png"))).empty());

    TransferLimits small = QuickLimits();
    small.maxBodyBytes = 6;
    EXPECT_TRUE(FetchPictureBytes(Text(server.Url("/p.png")), small).empty());

    RawHttpServer silent;
    silent.NeverAnswer();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(FetchPictureBytes(Text(silent.Url("/p.png")), QuickLimits()).empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace smsdock
