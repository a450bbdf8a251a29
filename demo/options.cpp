#include "demo/options.h"

#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <functional>
#include <limits>
#include <set>
#include <string_view>

namespace smsdock::demo {
namespace {

template <typename T>
std::optional<T> ParseNumber(std::string_view text, T low, T high) {
    T value{};
    const char* end = text.data() + text.size();
    auto [at, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || at != end || value < low || value > high) return std::nullopt;
    return value;
}

// A comma-separated list of key names ("notice,link"), or nothing when a name is unknown.
std::optional<std::set<NoticeKey>> ParseKeyList(std::string_view text) {
    std::set<NoticeKey> keys;
    while (true) {
        const std::size_t comma = text.find(',');
        auto key = NoticeKeyFromName(text.substr(0, comma));
        if (!key) return std::nullopt;
        keys.insert(*key);
        if (comma == std::string_view::npos) return keys;
        text.remove_prefix(comma + 1);
    }
}

enum class Takes { Nothing, Value, OptionalValue };

struct OptionRule {
    std::string_view name;
    Takes takes;
    // Applies the option; returns an error message, empty when it was accepted.
    std::function<std::string(const std::optional<std::string>& value)> apply;
};

}  // namespace

std::filesystem::path DefaultStateDir() {
    return std::filesystem::temp_directory_path() / ("smsdock-demo-" + std::to_string(::getuid()));
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine parsed;
    DemoOptions& o = parsed.options;
    o.stateDir = DefaultStateDir();

    // Per-role ports win over --port-base, whatever their order.
    std::optional<int> portBase;
    std::optional<int> primaryPort, secondaryPort, noticePort, articlePort;

    auto number = [](auto& target, auto low, auto high) {
        using T = std::remove_reference_t<decltype(target)>;
        return [&target, low, high](const std::optional<std::string>& value) -> std::string {
            auto n = ParseNumber<T>(*value, static_cast<T>(low), static_cast<T>(high));
            if (!n) {
                return "expects a whole number from " + std::to_string(low) + " to " +
                       std::to_string(high);
            }
            target = *n;
            return {};
        };
    };
    auto port = [](std::optional<int>& target) {
        return [&target](const std::optional<std::string>& value) -> std::string {
            auto n = ParseNumber<int>(*value, 0, 65535);
            if (!n) return "expects a port from 0 to 65535";
            target = *n;
            return {};
        };
    };
    auto flag = [](bool& target, bool to) {
        return [&target, to](const std::optional<std::string>&) -> std::string {
            target = to;
            return {};
        };
    };
    auto keys = [](std::set<NoticeKey>& target, std::set<NoticeKey> byDefault) {
        return [&target, byDefault](const std::optional<std::string>& value) -> std::string {
            if (!value) {
                target = byDefault;
                return {};
            }
            auto list = ParseKeyList(*value);
            if (!list)
                return "expects key names from version,download,notice,timer,picture,link,advert";
            target = *list;
            return {};
        };
    };
    auto text = [](auto& target) {
        return [&target](const std::optional<std::string>& value) -> std::string {
            target = *value;
            return {};
        };
    };

    ContentSettings& c = o.content;
    const std::vector<OptionRule> rules = {
        {"help", Takes::Nothing, flag(parsed.help, true)},
        {"seed", Takes::Value,
         number(c.seed, std::uint64_t{0}, std::numeric_limits<std::uint64_t>::max())},
        {"domestic-pages", Takes::Value, number(c.domesticPages, 1, 1000000)},
        {"foreign-pages", Takes::Value, number(c.foreignPages, 1, 1000000)},
        {"per-page", Takes::Value, number(c.numbersPerPage, 1, 200)},
        {"no-pagination", Takes::Nothing, flag(c.pagination, false)},
        {"latest", Takes::Value, text(c.latestVersion)},
        {"outdated", Takes::Nothing,
         [&c](const std::optional<std::string>&) -> std::string {
             c.latestVersion = "1.9";
             return {};
         }},
        {"notice", Takes::Value, text(c.noticeText)},
        {"timer-ms", Takes::Value, number(c.timerPeriodMs, 0, std::numeric_limits<int>::max())},
        {"missing-keys", Takes::OptionalValue,
         keys(c.missingKeys,
              {NoticeKey::DownloadLink, NoticeKey::Notice, NoticeKey::TimerPeriod,
               NoticeKey::NoticePicture, NoticeKey::JumpLink, NoticeKey::AdvertPicture})},
        {"none-values", Takes::OptionalValue,
         keys(c.noneKeys, {NoticeKey::Notice, NoticeKey::NoticePicture, NoticeKey::AdvertPicture,
                           NoticeKey::JumpLink})},
        {"no-marker", Takes::Nothing, flag(c.noticeMarker, false)},
        {"slow-ms", Takes::Value, number(o.slowMs, 0, 600000)},
        {"fail", Takes::OptionalValue,
         [&o](const std::optional<std::string>& value) -> std::string {
             if (!value || *value == "500") {
                 o.failNumbers = FailMode::ServerError;
             } else if (*value == "close") {
                 o.failNumbers = FailMode::CloseConnection;
             } else {
                 return "expects 500 or close";
             }
             return {};
         }},
        {"fail-notice", Takes::Nothing, flag(o.failNotice, true)},
        {"fail-pictures", Takes::Nothing, flag(o.failPictures, true)},
        {"port-base", Takes::Value,
         [&portBase](const std::optional<std::string>& value) -> std::string {
             auto n = ParseNumber<int>(*value, 1, 65535 - 3);
             if (!n) return "expects a port from 1 to 65532";
             portBase = *n;
             return {};
         }},
        {"primary-port", Takes::Value, port(primaryPort)},
        {"secondary-port", Takes::Value, port(secondaryPort)},
        {"notice-port", Takes::Value, port(noticePort)},
        {"article-port", Takes::Value, port(articlePort)},
        {"state-dir", Takes::Value, text(o.stateDir)},
        {"env-file", Takes::Value,
         [&o](const std::optional<std::string>& value) -> std::string {
             if (value->empty()) return "expects a path";
             o.envFile = *value;
             return {};
         }},
        {"quiet", Takes::Nothing, flag(o.quiet, true)},
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        if (arg == "-h") arg = "--help";
        if (!arg.starts_with("--")) {
            parsed.error = "unexpected argument '" + std::string(arg) + "'";
            return parsed;
        }
        arg.remove_prefix(2);
        std::optional<std::string> value;
        std::string_view name = arg;
        if (const std::size_t eq = arg.find('='); eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            value = std::string(arg.substr(eq + 1));
        }
        const OptionRule* rule = nullptr;
        for (const OptionRule& s : rules) {
            if (s.name == name) rule = &s;
        }
        const std::string shown = "--" + std::string(name);
        if (!rule) {
            parsed.error = "unknown option " + shown;
            return parsed;
        }
        if (rule->takes == Takes::Nothing && value) {
            parsed.error = shown + " takes no value";
            return parsed;
        }
        if (rule->takes == Takes::Value && !value) {
            if (i + 1 >= args.size()) {
                parsed.error = shown + " needs a value";
                return parsed;
            }
            value = args[++i];
        }
        if (std::string error = rule->apply(value); !error.empty()) {
            parsed.error = shown + " " + error;
            return parsed;
        }
    }

    if (portBase) {
        o.primaryPort = *portBase;
        o.secondaryPort = *portBase + 1;
        o.noticePort = *portBase + 2;
        o.articlePort = *portBase + 3;
    }
    if (primaryPort) o.primaryPort = *primaryPort;
    if (secondaryPort) o.secondaryPort = *secondaryPort;
    if (noticePort) o.noticePort = *noticePort;
    if (articlePort) o.articlePort = *articlePort;
    return parsed;
}

std::string HelpText(const std::string& program) {
    return "Usage: " + program + R"( [OPTION]...

Serves the sites SmsDock reads, on 127.0.0.1, with made-up numbers and messages:
  primary number site    https  listing pages /dl/N.html, /gw/N.html and /message/NUMBER.html
  secondary number site  https  the same pages
  notice blog            http   the notice post /blogs/?id=88 and its two pictures
  article site           https  the update article /p/1c78a3d654eb and a download page
The HTTPS sites use a certificate from the demo's own CA. Once every site listens, the program
prints, one per line, the settings that point SmsDock at it:
  SMSDOCK_PRIMARY_SITE=https://127.0.0.1:18441
  SMSDOCK_SECONDARY_SITE=https://127.0.0.1:18442
  SMSDOCK_NOTICE_SITE=http://127.0.0.1:18080
  SMSDOCK_ARTICLE_SITE=https://127.0.0.1:18443
  SMSDOCK_CA_FILE=/path/to/ca.pem
It serves until it receives SIGINT or SIGTERM.

Where it serves:
  --state-dir DIR        keep the CA and the server certificate in DIR, reusing them on the
                         next run (default: )" +
           DefaultStateDir().string() + R"()
  --env-file PATH        also write the lines above to PATH once every site listens (removed
                         again on exit); read it with: set -a; . PATH; set +a
  --port-base N          ports N, N+1, N+2, N+3 for primary, secondary, notice, article
  --primary-port N       one role's port (defaults 18441, 18442, 18080, 18443); 0 picks a
  --secondary-port N       free port, and the printed lines show which
  --notice-port N
  --article-port N

Pages:
  --seed N               the numbers, messages and picture colours follow N (default 1)
  --domestic-pages N     domestic listing pages (default 5)
  --foreign-pages N      foreign listing pages (default 3)
  --per-page N           numbers on each listing page (default 20)
  --no-pagination        listing pages without page links (SmsDock then counts 0 pages)

Notice post:
  --latest VERSION       the latest version it announces (default 1.8, the running version)
  --outdated             same as --latest 1.9: SmsDock forces the update and quits
  --notice TEXT          the notice text, written into the post as given (a "-" cuts it)
  --timer-ms N           the advert timer period in milliseconds (default 10000)
  --missing-keys[=KEYS]  leave keys out of the post; without a list, every key but version
  --none-values[=KEYS]   give keys the value "无"; without a list: notice,picture,advert,link
                         KEYS is a comma-separated list of version, download, notice, timer,
                         picture, link, advert; a key both missing and "无" is missing
  --no-marker            leave out the notice marker script (no update pop-up window)

Trouble:
  --slow-ms N            wait N milliseconds before every answer, on every site
  --fail[=500|close]     listing and message pages answer 500 (default) or the connection
                         closes before the body arrives
  --fail-notice          the notice post answers 500 (SmsDock then forces the update)
  --fail-pictures        both pictures answer 404 with an HTML page

  --quiet                do not log requests on stderr
  -h, --help             show this help
)";
}

}  // namespace smsdock::demo
