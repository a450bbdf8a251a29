#include "app/state/site_settings.h"

#include <cstdio>
#include <cstdlib>

namespace smsdock {
namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = Lower(c);
    return out;
}

// Host names and IPv4 addresses only: letters, digits, dots, hyphens and underscores.
bool IsPlainHost(std::string_view host) {
    if (host.empty()) return false;
    for (char c : host) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
                             c == '-' || c == '_';
        if (!allowed) return false;
    }
    return true;
}

std::optional<int> ParsePort(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    int port = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535) return std::nullopt;
    return port;
}

void Override(SiteOrigin& origin, const char* name, const EnvironmentLookup& lookup) {
    const std::optional<std::string> value = lookup(name);
    if (!value || value->empty()) return;
    if (std::optional<SiteOrigin> parsed = ParseOrigin(*value)) {
        origin = *parsed;
        return;
    }
    std::fprintf(stderr, "smsdock: ignoring %s=%s (expected an origin such as https://host:port)\n",
                 name, value->c_str());
}

}  // namespace

std::string SiteOrigin::Origin() const {
    std::string origin = scheme + "://" + host;
    if (port) origin += ":" + std::to_string(*port);
    return origin;
}

Text SiteOrigin::Url(std::string_view path) const {
    return Text(Origin() + std::string(path));
}

std::optional<SiteOrigin> ParseOrigin(std::string_view text) {
    const std::size_t separator = text.find("://");
    if (separator == std::string_view::npos) return std::nullopt;
    SiteOrigin origin;
    origin.scheme = Lowered(text.substr(0, separator));
    if (origin.scheme != "http" && origin.scheme != "https") return std::nullopt;

    std::string_view authority = text.substr(separator + 3);
    if (!authority.empty() && authority.back() == '/') authority.remove_suffix(1);
    if (const std::size_t colon = authority.rfind(':'); colon != std::string_view::npos) {
        origin.port = ParsePort(authority.substr(colon + 1));
        if (!origin.port) return std::nullopt;
        authority = authority.substr(0, colon);
    }
    origin.host = Lowered(authority);
    if (!IsPlainHost(origin.host)) return std::nullopt;
    return origin;
}

SiteSettings DefaultSiteSettings() {
    // Placeholders under the reserved .example domain; no host carries a hyphen, because the
    // notice document cuts its values at the first "-".
    return SiteSettings{
        .primary = {"https", "numbers.example", std::nullopt},
        .secondary = {"https", "mirror.numbers.example", std::nullopt},
        .notice = {"http", "notice.example", std::nullopt},
        .article = {"https", "articles.example", std::nullopt},
    };
}

SiteSettings ReadSiteSettings(const EnvironmentLookup& lookup) {
    SiteSettings settings = DefaultSiteSettings();
    Override(settings.primary, "SMSDOCK_PRIMARY_SITE", lookup);
    Override(settings.secondary, "SMSDOCK_SECONDARY_SITE", lookup);
    Override(settings.notice, "SMSDOCK_NOTICE_SITE", lookup);
    Override(settings.article, "SMSDOCK_ARTICLE_SITE", lookup);
    return settings;
}

const SiteSettings& Sites() {
    // Initialised once, thread-safely, and never changed afterwards.
    static const SiteSettings settings =
        ReadSiteSettings([](const char* name) -> std::optional<std::string> {
            const char* value = std::getenv(name);
            if (!value) return std::nullopt;
            return std::string(value);
        });
    return settings;
}

}  // namespace smsdock
