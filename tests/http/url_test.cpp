#include "http/url.h"

#include <gtest/gtest.h>

namespace smsdock {
namespace {

TEST(UrlTest, SchemeModeWorkedExamples) {
    struct Case {
        const char* url;
        const char* host;
        const char* hostWithPort;
        const char* mainDomain;
        int port;
        const char* path;
    };
    const Case cases[] = {
        {"https://www.example.org/dl/1.html", "www.example.org", "www.example.org", "example.org",
         443, "/dl/1.html"},
        {"http://www.example.org:8080/gw/2.html?x=1", "www.example.org", "www.example.org:8080",
         "example.org", 8080, "/gw/2.html?x=1"},
        {"HTTPS://WWW.Example.org/Message/123.html", "www.example.org", "www.example.org",
         "example.org", 443, "/Message/123.html"},
        {"www.example.org/blogs/?id=88", "www.example.org", "www.example.org", "example.org", 80,
         "/blogs/?id=88"},
        {"https://www.example.org", "www.example.org", "www.example.org", "example.org", 443, "/"},
        {"https://www.example.org?x=1", "www.example.org?x=1", "www.example.org?x=1",
         "example.org?x=1", 443, "/"},
        {"https://www.example.org:abc/x", "www.example.org", "www.example.org:abc", "example.org",
         0, "/x"},
        {"", "", "", "", 80, "/"},
        // One label stays as it is; with the port kept, the port hangs on the last label.
        {"http://localhost:8080/", "localhost", "localhost:8080", "localhost", 8080, "/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(UrlHost(c.url), c.host);
        EXPECT_EQ(UrlHost(c.url, false, true), c.hostWithPort);
        EXPECT_EQ(UrlHost(c.url, true), c.mainDomain);
        EXPECT_EQ(UrlPort(c.url), c.port);
        EXPECT_EQ(UrlPath(c.url), c.path);
    }
    EXPECT_EQ(UrlHost("http://a.b.example.org:81/x", true, true), "example.org:81");
}

TEST(UrlTest, LabelCountModeKeepsTheLastLabels) {
    struct Case {
        int labelCount;
        const char* withoutMainDomain;
        const char* withMainDomain;
    };
    const Case cases[] = {
        {0, "example.org", "org"},
        {1, "b.example.org", "example.org"},
        {2, "a.b.example.org", "b.example.org"},
        {3, "a.b.example.org", "a.b.example.org"},
        {-4, "example.org", "org"},  // below 0 counts as 0
    };
    const Text url = "http://a.b.example.org:81/x";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.labelCount);
        EXPECT_EQ(UrlHost(url, false, false, c.labelCount), c.withoutMainDomain);
        EXPECT_EQ(UrlHost(url, true, false, c.labelCount), c.withMainDomain);
    }
    EXPECT_EQ(UrlHost(url, false, true, 0), "example.org:81");
    EXPECT_EQ(UrlHost("HTTPS://WWW.Example.org", false, false, 0), "example.org");
}

TEST(UrlTest, PathKeepsTheCallersLetterCaseAfterAHostInAnotherCase) {
    EXPECT_EQ(UrlPath("http://WWW.EXAMPLE.ORG/A/B?Q=1"), "/A/B?Q=1");
    EXPECT_EQ(UrlPath("http://www.example.org:8080"), "/");
}

}  // namespace
}  // namespace smsdock
