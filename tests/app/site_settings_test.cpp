#include "app/state/site_settings.h"

#include <gtest/gtest.h>

#include <map>

namespace smsdock {
namespace {

TEST(SiteSettingsTest, ParsesOrigins) {
    struct Case {
        const char* text;
        std::optional<SiteOrigin> expected;
    };
    const Case cases[] = {
        {"https://127.0.0.1:8443", SiteOrigin{"https", "127.0.0.1", 8443}},
        {"HTTP://Notice.Example/", SiteOrigin{"http", "notice.example", std::nullopt}},
        {"https://numbers.example", SiteOrigin{"https", "numbers.example", std::nullopt}},
        {"ftp://numbers.example", std::nullopt},
        {"numbers.example", std::nullopt},
        {"https://", std::nullopt},
        {"https://host:0", std::nullopt},
        {"https://host:65536", std::nullopt},
        {"https://host:", std::nullopt},
        {"https://host/dl/1.html", std::nullopt},
        {"https://user@host", std::nullopt},
        {"https://ho st", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseOrigin(c.text), c.expected) << c.text;
    }
}

TEST(SiteSettingsTest, EnvironmentOverridesDefaultsOneByOne) {
    const std::map<std::string, std::string> environment = {
        {"SMSDOCK_PRIMARY_SITE", "https://127.0.0.1:18441"},
        {"SMSDOCK_NOTICE_SITE", "not an origin"},
        {"SMSDOCK_ARTICLE_SITE", ""},
    };
    const SiteSettings settings = ReadSiteSettings([&](const char* name) {
        auto found = environment.find(name);
        return found == environment.end() ? std::nullopt
                                          : std::optional<std::string>(found->second);
    });
    const SiteSettings defaults = DefaultSiteSettings();

    EXPECT_EQ(settings.primary.Url("/dl/1.html"), Text("https://127.0.0.1:18441/dl/1.html"));
    EXPECT_EQ(settings.secondary, defaults.secondary);
    EXPECT_EQ(settings.notice, defaults.notice);  // an invalid value leaves the default
    EXPECT_EQ(settings.article, defaults.article);
    EXPECT_EQ(defaults.notice.Url("/blogs/?id=88"), Text("http://notice.example/blogs/?id=88"));
    EXPECT_EQ(defaults.secondary.scheme, "https");
}

}  // namespace
}  // namespace smsdock
