#pragma once

// Where SmsDock reads from: the two number sites, the notice blog and the article site. Each is
// an origin (scheme, host, optional port) with a compiled-in default that an environment
// variable can replace; the variables are read once, the first time the settings are asked for.
//
//   SMSDOCK_PRIMARY_SITE    first listing pages and message pages     default https://numbers.example
//   SMSDOCK_SECONDARY_SITE  pages chosen in the page selector         default https://mirror.numbers.example
//   SMSDOCK_NOTICE_SITE     the notice document and its marker        default http://notice.example
//   SMSDOCK_ARTICLE_SITE    the update article                        default https://articles.example
//
// A value is an origin such as "https://127.0.0.1:8443" (a trailing "/" is accepted). A value
// that is not a plain http or https origin is ignored, with one line on stderr, and the default
// stays in force.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "text/text.h"

namespace smsdock {

struct SiteOrigin {
    std::string scheme;  // "http" or "https"
    std::string host;    // lower case, no port
    std::optional<int> port;

    // "scheme://host[:port]".
    std::string Origin() const;
    // The origin followed by an absolute path ("/dl/1.html").
    Text Url(std::string_view path) const;

    friend bool operator==(const SiteOrigin&, const SiteOrigin&) = default;
};

// An origin from "scheme://host[:port][/]"; nothing for anything else (another scheme, a path,
// credentials, an empty host or a port outside 1..65535).
std::optional<SiteOrigin> ParseOrigin(std::string_view text);

struct SiteSettings {
    SiteOrigin primary;
    SiteOrigin secondary;
    SiteOrigin notice;
    SiteOrigin article;
};

// The compiled-in defaults.
SiteSettings DefaultSiteSettings();

// The defaults with the overrides that `lookup` gives for the variable names above applied.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
SiteSettings ReadSiteSettings(const EnvironmentLookup& lookup);

// The settings of this process, read from the environment on first use and fixed from then on.
const SiteSettings& Sites();

}  // namespace smsdock
