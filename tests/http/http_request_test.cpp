#include "http/http_request.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/http/exchange_helpers.h"
#include "tests/support/raw_http_server.h"
#include "tests/support/test_server.h"

namespace smsdock {
namespace {

using testing::RawHttpServer;
using testing::RawRequest;
using testing::RawResponse;
using testing::Route;
using testing::Scheme;
using testing::ServerCertificate;
using testing::TestServer;
using Lines = std::vector<std::string>;

template <class Server>
Text Url(const Server& server, std::string_view path) {
    return Text(server.Url(path));
}

constexpr const char* kDefaultAgentLine =
    "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

class HttpRequestTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { testing::TrustTestCa(); }

    static std::string HostLine(int port) { return "Host: 127.0.0.1:" + std::to_string(port); }

    // The single request a raw server received.
    static RawRequest OnlyRequest(const RawHttpServer& server) {
        const auto requests = server.Requests();
        EXPECT_EQ(requests.size(), 1u);
        return requests.empty() ? RawRequest{} : requests.front();
    }
};

class DefaultGetTest : public HttpRequestTest, public ::testing::WithParamInterface<bool> {};

TEST_P(DefaultGetTest, SendsExactlyTheRequestLineHostAgentAndTheThreeDefaultLines) {
    RawHttpServer server(GetParam() ? Scheme::kHttps : Scheme::kHttp);
    server.Respond(RawResponse(200, {"Content-Type: text/html"}, "<p>page</p>"));
    const std::string url = server.Url("/dl/1.html");

    EXPECT_EQ(AsString(HttpRequest(Text(url))), "<p>page</p>");

    const RawRequest request = OnlyRequest(server);
    EXPECT_EQ(request.requestLine, "GET /dl/1.html HTTP/1.1");
    EXPECT_EQ(request.headerLines, (Lines{HostLine(server.port()), kDefaultAgentLine, "Accept: */*",
                                          "Referer: " + url, "Accept-Language: zh-cn"}));
    EXPECT_EQ(request.body, "");
}

INSTANTIATE_TEST_SUITE_P(PlainAndTls, DefaultGetTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Tls" : "Plain"; });

TEST_F(HttpRequestTest, SchemeInCapitalsIsSecureAndAUrlWithoutSchemeIsPlain) {
    RawHttpServer secure(Scheme::kHttps);
    const std::string capitalUrl = "HTTPS://127.0.0.1:" + std::to_string(secure.port()) + "/A";
    EXPECT_EQ(AsString(HttpRequest(Text(capitalUrl))), "ok");
    EXPECT_EQ(OnlyRequest(secure).Header("Referer"), capitalUrl);

    RawHttpServer plain;
    EXPECT_EQ(AsString(HttpRequest(Text("127.0.0.1:" + std::to_string(plain.port()) + "/b c?q=1"))),
              "ok");
    // A blank cannot stand in the request line, so it goes percent-encoded.
    EXPECT_EQ(OnlyRequest(plain).requestLine, "GET /b%20c?q=1 HTTP/1.1");
}

TEST_F(HttpRequestTest, MethodTableDecidesVerbBodyAndContentType) {
    struct Case {
        int method;
        const char* verb;
        bool sendsBody;
        bool contentType;
    };
    const Case cases[] = {
        {kMethodGet, "GET", false, false},
        {kMethodPost, "POST", true, true},
        {kMethodHead, "HEAD", false, false},
        {kMethodPut, "PUT", true, false},
        {kMethodOptions, "OPTIONS", true, false},
        {kMethodDelete, "DELETE", true, false},
        {kMethodTrace, "TRACE", true, false},
        {kMethodConnect, "CONNECT", true, false},
        {8, "GET", false, false},
        {-1, "GET", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        RawHttpServer server;
        server.Respond(RawResponse(200, {}, "reply"));
        HttpRequestOptions options;
        options.method = c.method;
        options.bodyText = "x=1";

        const Bytes body = HttpRequest(Url(server, "/m"), options);

        const RawRequest request = OnlyRequest(server);
        EXPECT_EQ(request.requestLine, std::string(c.verb) + " /m HTTP/1.1");
        EXPECT_EQ(request.body, c.sendsBody ? "x=1" : "");
        EXPECT_EQ(request.Header("Content-Length").has_value(), c.sendsBody);
        EXPECT_EQ(request.Header("Content-Type").has_value(), c.contentType);
        EXPECT_EQ(AsString(options.bodyBytes), c.sendsBody ? "x=1" : "");
        // HEAD reads no body even though the server sends one.
        EXPECT_EQ(AsString(body), c.method == kMethodHead ? "" : "reply");
    }
}

TEST_F(HttpRequestTest, PostSendsBodyTextAndWritesBackTheBlockAndBodyThatWereSent) {
    RawHttpServer server;
    const std::string url = server.Url("/form");
    HttpRequestOptions options;
    options.method = kMethodPost;
    options.bodyText = "a=1";

    HttpRequest(Text(url), options);

    const RawRequest request = OnlyRequest(server);
    EXPECT_EQ(request.headerLines,
              (Lines{HostLine(server.port()), kDefaultAgentLine, "Accept: */*", "Referer: " + url,
                     "Accept-Language: zh-cn", "Content-Type: application/x-www-form-urlencoded",
                     "Content-Length: 3"}));
    EXPECT_EQ(request.body, "a=1");
    EXPECT_EQ(options.headers.str(), "Accept: */*\r\nReferer: " + url +
                                         "\r\nAccept-Language: zh-cn\r\n"
                                         "Content-Type: application/x-www-form-urlencoded");
    EXPECT_EQ(AsString(options.bodyBytes), "a=1");
}

TEST_F(HttpRequestTest, BodyBytesWinOverBodyTextAndMayHoldZeroBytes) {
    RawHttpServer server;
    // Large enough that a transport would usually ask for "Expect: 100-continue" first.
    Bytes binary(2 * 1024 * 1024, 0);
    binary[0] = 'z';
    binary.back() = 0xFF;
    HttpRequestOptions options;
    options.method = kMethodPut;
    options.bodyText = "ignored";
    options.bodyBytes = binary;

    HttpRequest(Url(server, "/put"), options);

    const RawRequest request = OnlyRequest(server);
    EXPECT_EQ(request.body, AsString(binary));
    EXPECT_FALSE(request.Header("Expect"));
    EXPECT_FALSE(request.Header("Transfer-Encoding"));
    EXPECT_EQ(options.bodyBytes, binary);
}

TEST_F(HttpRequestTest, CallersLinesDecideAgentAndDefaults) {
    struct Case {
        const char* headers;
        Lines sent;  // after the Host line
    };
    const Case cases[] = {
        // The block's agent replaces the default one and is sent among the other lines once.
        {"Referer: r\r\nUser-Agent: X",
         {"Referer: r", "User-Agent: X", "Accept: */*", "Accept-Language: zh-cn"}},
        // The probes ignore letter case; the names are then capitalised.
        {"accept: text/html\r\naccept-language: en",
         {kDefaultAgentLine, "Accept: text/html", "Accept-Language: en", "Referer: @"}},
        // A probe text anywhere in the block counts, even inside another line's value.
        {"X-Note: no Referer: here",
         {kDefaultAgentLine, "X-Note: no Referer: here", "Accept: */*", "Accept-Language: zh-cn"}},
        // Lines without a colon disappear; an empty value is sent empty.
        {"junk\r\n\r\nx-empty:",
         {kDefaultAgentLine, "X-Empty:", "Accept: */*", "Referer: @", "Accept-Language: zh-cn"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.headers);
        RawHttpServer server;
        const std::string url = server.Url("/h");
        HttpRequestOptions options;
        options.headers = c.headers;
        HttpRequest(Text(url), options);

        Lines expected = {HostLine(server.port())};
        for (std::string line : c.sent) {
            if (line == "Referer: @") line = "Referer: " + url;
            expected.push_back(line);
        }
        EXPECT_EQ(OnlyRequest(server).headerLines, expected);
    }
}

TEST_F(HttpRequestTest, SwitchesTurnOffTheDefaultLinesAndTheCapitalisation) {
    RawHttpServer server;
    HttpRequestOptions options;
    options.method = kMethodPost;
    options.headers = "x-lower: 1";
    options.completeHeaders = false;
    options.capitalizeHeaders = false;

    HttpRequest(Url(server, "/raw"), options);

    EXPECT_EQ(OnlyRequest(server).headerLines, (Lines{HostLine(server.port()), kDefaultAgentLine,
                                                      "x-lower: 1", "Content-Length: 0"}));
}

TEST_F(HttpRequestTest, CookieTextBecomesTheLastLineUnlessItIsEmpty) {
    struct Case {
        std::optional<Text> cookies;
        std::optional<std::string> cookieLine;
    };
    const Case cases[] = {
        {Text("a=1"), "Cookie: a=1"},
        {Text("Cookie: a=1; b=2"), "Cookie: a=1; b=2"},
        {Text("cookie: a=1"), "Cookie: cookie: a=1"},  // only the exact "Cookie:" counts
        {Text(""), std::nullopt},
        {std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cookies.value_or("(not given)").str());
        RawHttpServer server;
        HttpRequestOptions options;
        options.cookies = c.cookies;
        options.headers = "x-a: 1";
        HttpRequest(Url(server, "/c"), options);

        const RawRequest request = OnlyRequest(server);
        if (c.cookieLine) {
            EXPECT_EQ(request.headerLines.back(), *c.cookieLine);
        } else {
            EXPECT_FALSE(request.Header("Cookie"));
        }
        EXPECT_EQ(request.headerLines[2], "X-A: 1");
    }
}

TEST_F(HttpRequestTest, HandsBackTheRawHeadersAndTheCookiesTheResponseSet) {
    RawHttpServer server;
    const std::string response =
        "HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc; path=/\r\nset-cookie: x=1\r\n"
        "Set-Cookie:y=1\r\nSet-Cookie: lang=cn\r\nContent-Length: 4\r\n\r\nbody";
    server.Respond(response);
    HttpResponseInfo info;

    EXPECT_EQ(AsString(HttpRequest(Url(server, "/"), HttpRequestOptions{}, &info)), "body");

    EXPECT_EQ(info.headers.str(), response.substr(0, response.size() - 4));
    EXPECT_EQ(info.cookies, "sid=abc; lang=cn");
}

TEST_F(HttpRequestTest, GivenCookiesAreMergedWithTheResponsesAndCarriedForward) {
    RawHttpServer server;
    server.Respond(RawResponse(200, {"Set-Cookie: b=5; path=/", "Set-Cookie: a=deleted",
                                     "Set-Cookie: c=3", "Set-Cookie: c=3"}));
    HttpRequestOptions options;
    options.cookies = Text("a=1; b=2; d=4");
    HttpResponseInfo info;

    HttpRequest(Url(server, "/1"), options, &info);
    EXPECT_EQ(info.cookies, "b=5; c=3; d=4");
    EXPECT_EQ(options.cookies, Text("b=5; c=3; d=4"));

    options.headers = "";
    HttpRequest(Url(server, "/2"), options);
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].Header("Cookie"), "a=1; b=2; d=4");
    EXPECT_EQ(requests[1].Header("Cookie"), "b=5; c=3; d=4");
}

TEST_F(HttpRequestTest, EmptyGivenCookiesSendNoCookieLineButStillMerge) {
    RawHttpServer server;
    server.Respond(
        RawResponse(200, {"Set-Cookie: s=1", "Set-Cookie: gone=deleted", "Set-Cookie: s=1"}));
    HttpRequestOptions options;
    options.cookies = Text("");
    HttpResponseInfo info;

    HttpRequest(Url(server, "/"), options, &info);

    EXPECT_FALSE(OnlyRequest(server).Header("Cookie"));
    EXPECT_EQ(info.cookies, "s=1");

    // Left out, the cookies are collected as they came.
    HttpRequest(Url(server, "/"), HttpRequestOptions{}, &info);
    EXPECT_EQ(info.cookies, "s=1; gone=deleted; s=1");
}

TEST_F(HttpRequestTest, HeadersBeyondFiveThousandBytesComeBackWholeWithTheirCookies) {
    RawHttpServer server;
    const std::string padding(20000, 'p');
    server.Respond(RawResponse(200, {"X-Padding: " + padding, "Set-Cookie: after=1"}, "body"));
    HttpResponseInfo info;

    EXPECT_EQ(AsString(HttpRequest(Url(server, "/"), HttpRequestOptions{}, &info)), "body");

    EXPECT_EQ(info.headers.str(), "HTTP/1.1 200 OK\r\nX-Padding: " + padding +
                                      "\r\nSet-Cookie: after=1\r\nContent-Length: 4\r\n\r\n");
    EXPECT_EQ(info.cookies, "after=1");
}

TEST_F(HttpRequestTest, HandsBackOnlyTheFinalResponsesHeaders) {
    RawHttpServer interim;
    interim.Respond("HTTP/1.1 100 Continue\r\nX-Interim: 1\r\n\r\n" +
                    RawResponse(200, {"X-Final: 1"}, "done"));
    HttpResponseInfo info;
    EXPECT_EQ(AsString(HttpRequest(Url(interim, "/"), HttpRequestOptions{}, &info)), "done");
    EXPECT_EQ(info.headers, "HTTP/1.1 200 OK\r\nX-Final: 1\r\nContent-Length: 4\r\n\r\n");

    TestServer server;
    server.Set("/a", Route::Redirect("/b"));
    server.Set("/b", Route::Content("end"));
    EXPECT_EQ(AsString(HttpRequest(Url(server, "/a"), HttpRequestOptions{}, &info)), "end");
    EXPECT_EQ(info.headers.str().rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    EXPECT_EQ(info.headers.str().find("Location"), std::string::npos);
}

TEST_F(HttpRequestTest, FollowsARedirectChainUnlessTold) {
    TestServer server;
    server.Set("/a", Route::Redirect("/b", 301));
    server.Set("/b", Route::Redirect(server.Url("/c"), 302));
    server.Set("/c", Route::Content("end"));

    EXPECT_EQ(AsString(HttpRequest(Url(server, "/a"))), "end");
    ASSERT_EQ(server.Requests().size(), 3u);
    EXPECT_EQ(server.Requests()[2].path, "/c");

    HttpResponseInfo info;
    HttpRequestOptions noRedirect;
    noRedirect.noRedirect = true;
    EXPECT_EQ(AsString(HttpRequest(Url(server, "/a"), noRedirect, &info)), "moved");
    EXPECT_EQ(server.Requests().size(), 4u);
    EXPECT_NE(info.headers.str().find("Location: /b\r\n"), std::string::npos);

    server.Set("/loop", Route::Redirect("/loop"));
    EXPECT_TRUE(HttpRequest(Url(server, "/loop")).empty());
}

TEST_F(HttpRequestTest, FollowsARedirectFromHttpToHttps) {
    TestServer secure(Scheme::kHttps);
    secure.Set("/secure", Route::Content("secret"));
    TestServer plain;
    plain.Set("/go", Route::Redirect(secure.Url("/secure")));

    EXPECT_EQ(AsString(HttpRequest(Url(plain, "/go"))), "secret");
}

TEST_F(HttpRequestTest, RefusesEveryRedirectFromHttpsToPlainHttp) {
    TestServer plain;
    plain.Set("/plain", Route::Content("downgraded"));
    TestServer secure(Scheme::kHttps);
    secure.Set("/down", Route::Redirect(plain.Url("/plain")));
    plain.Set("/start", Route::Redirect(secure.Url("/down")));

    EXPECT_EQ(AsString(HttpRequest(Url(secure, "/down"))), "");
    EXPECT_EQ(AsString(HttpRequest(Url(plain, "/start"))), "");  // http -> https -> http
    for (const auto& request : plain.Requests())
        EXPECT_NE(request.path, "/plain");
}

TEST_F(HttpRequestTest, RefusesACertificateForAnotherHost) {
    TestServer server(Scheme::kHttps, ServerCertificate::kWrongHost);
    server.Set("/", Route::Content("should not arrive"));

    EXPECT_EQ(AsString(HttpRequest(Url(server, "/"))), "");
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(HttpRequestTest, AServerThatNeverAnswersEndsWithinTheLimit) {
    RawHttpServer server;
    server.NeverAnswer();
    HttpResponseInfo info{.cookies = "stale", .headers = "stale"};

    const auto start = std::chrono::steady_clock::now();
    const Bytes body = HttpRequest(Url(server, "/"), HttpRequestOptions{}, &info, QuickLimits());
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_TRUE(body.empty());
    EXPECT_EQ(info.headers, "");
    EXPECT_EQ(info.cookies, "");
    EXPECT_GE(elapsed, std::chrono::milliseconds(900));
    EXPECT_LT(elapsed, std::chrono::seconds(5));
}

TEST_F(HttpRequestTest, ABrokenOrOversizedBodyIsAFailure) {
    struct Case {
        const char* name;
        std::size_t size;
        bool chunked;
        std::int64_t limit;
        bool accepted;
    };
    const std::int64_t kDefault = kDefaultTransferLimits.maxBodyBytes;
    const Case cases[] = {
        {"default limit exactly", static_cast<std::size_t>(kDefault), false, kDefault, true},
        {"default limit + 1", static_cast<std::size_t>(kDefault) + 1, false, kDefault, false},
        {"chunked within", 1000, true, 1000, true},
        {"chunked beyond", 1001, true, 1000, false},
    };
    TestServer server;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Route route;
        route.generatedSize = c.size;
        route.chunked = c.chunked;
        server.Set("/big", route);
        TransferLimits limits;
        limits.maxBodyBytes = c.limit;

        const Bytes body = HttpRequest(Url(server, "/big"), HttpRequestOptions{}, nullptr, limits);
        EXPECT_EQ(body.size(), c.accepted ? c.size : 0u);
    }

    RawHttpServer broken;
    broken.Respond("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly ten b");
    EXPECT_EQ(AsString(HttpRequest(Url(broken, "/"))), "");
}

TEST_F(HttpRequestTest, UsesTheGivenProxyForPlainHttp) {
    RawHttpServer proxy;
    proxy.Respond(RawResponse(200, {}, "via proxy"));
    const std::string url = "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()) + "/x";

    HttpRequestOptions options;
    options.proxy = Text("127.0.0.1:" + std::to_string(proxy.port()));
    const Bytes body = HttpRequest(Text(url), options);

    EXPECT_EQ(AsString(body), "via proxy");
    const RawRequest request = OnlyRequest(proxy);
    EXPECT_EQ(request.requestLine, "GET " + url + " HTTP/1.1");
    EXPECT_FALSE(request.Header("Proxy-Connection"));
}

TEST_F(HttpRequestTest, TunnelsHttpsThroughTheGivenProxy) {
    RawHttpServer proxy;
    proxy.Respond(RawResponse(502));
    const int port = ClosedLoopbackPort();

    HttpRequestOptions options;
    options.proxy = Text("127.0.0.1:" + std::to_string(proxy.port()));
    const Bytes body =
        HttpRequest(Text("https://127.0.0.1:" + std::to_string(port) + "/x"), options);

    EXPECT_TRUE(body.empty());
    EXPECT_EQ(OnlyRequest(proxy).requestLine,
              "CONNECT 127.0.0.1:" + std::to_string(port) + " HTTP/1.1");
}

TEST_F(HttpRequestTest, WithoutAProxyGoesDirectWhateverTheEnvironmentSays) {
    RawHttpServer proxy;
    TestServer server;
    server.Set("/direct", Route::Content("direct"));
    const auto environment = ProxyEnvironment(proxy.Origin());

    EXPECT_EQ(AsString(HttpRequest(Url(server, "/direct"))), "direct");
    EXPECT_TRUE(proxy.Requests().empty());
}

TEST_F(HttpRequestTest, UnreachableOrUnusableUrlsGiveEmptyResults) {
    const std::string closed = "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()) + "/";
    EXPECT_TRUE(HttpRequest(Text(closed)).empty());
    EXPECT_EQ(FetchText(Text(closed)), "");

    // A host no connection can be made to leaves the caller's values alone.
    for (const char* url :
         {"", "https://www.example.org?x=1", "http://bad host/", "http://h:70000/"}) {
        SCOPED_TRACE(url);
        HttpRequestOptions options;
        options.headers = "x: 1";
        HttpResponseInfo info{.cookies = "kept", .headers = "kept"};
        EXPECT_TRUE(HttpRequest(Text(url), options, &info).empty());
        EXPECT_EQ(options.headers, "x: 1");
        EXPECT_EQ(info.cookies, "kept");
    }
}

TEST_F(HttpRequestTest, FetchTextEndsAtTheFirstZeroByteAndKeepsErrorPages) {
    RawHttpServer server;
    server.Respond(RawResponse(404, {}, std::string("not\0found", 9)));
    EXPECT_EQ(FetchText(Url(server, "/")), "not");
}

}  // namespace
}  // namespace smsdock
