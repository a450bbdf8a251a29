#pragma once

// The four patterns SmsDock runs over the number sites' pages, and the search it runs them
// with: the page turned from UTF-8 into GBK, then a RegexMatcher with its default options.

#include <string>
#include <string_view>
#include <vector>

#include "text/code_page.h"
#include "text/regex_matcher.h"
#include "text/text.h"

namespace smsdock::demo::testing {

inline constexpr const char* kDomesticNumberPattern =
    R"re(<p class="layuiadmin-big-font card-phone" id="(.*?)")re";
inline constexpr const char* kForeignNumberPattern =
    R"re(<span class="country-bh">(.*?)</span>(.*?)</a>)re";
inline constexpr const char* kPageCountPattern = R"re(>(\d+)</a></li>)re";
inline constexpr const char* kMessagePattern =
    R"re(<td style="">(.*?)</td>\s+<td style="text-align: center">(.*?)</td>)re";

// A UTF-8 page or value as SmsDock holds it.
inline Text Gbk(std::string_view utf8) {
    return Utf8ToAnsi(Text(utf8));
}

// Every match of pattern in the GBK page, each as its groups 1..n (GBK too).
inline std::vector<std::vector<std::string>> FindAll(const char* pattern, const Text& page) {
    RegexMatcher matcher;
    matcher.Search(pattern, page);
    std::vector<std::vector<std::string>> matches;
    for (int i = 1; i <= matcher.MatchCount(); ++i) {
        std::vector<std::string> groups;
        for (int k = 1; k <= matcher.SubmatchCount(); ++k) {
            groups.push_back(matcher.SubmatchText(i, k).str());
        }
        matches.push_back(std::move(groups));
    }
    return matches;
}

// Group 1 of every match.
inline std::vector<std::string> FirstGroups(const char* pattern, const Text& page) {
    std::vector<std::string> out;
    for (auto& groups : FindAll(pattern, page))
        out.push_back(groups.at(0));
    return out;
}

}  // namespace smsdock::demo::testing
