#include "bench/fixture_pages.h"

#include <string_view>

#include "demo/pages.h"

namespace smsdock::bench {
namespace {

constexpr std::string_view kRowsStart = "<tbody>\n";
constexpr std::string_view kRowsEnd = "        </tbody>";

std::string Listing(int rows, bool foreign) {
    demo::ContentSettings settings;
    settings.numbersPerPage = rows;
    settings.domesticPages = 57;
    settings.foreignPages = 57;
    return *demo::ListingPage(settings,
                              foreign ? demo::Platform::Foreign : demo::Platform::Domestic, 1,
                              demo::NumberSite::Primary);
}

// The message rows of a message page, between its <tbody> and </tbody>.
std::string_view RowsOf(std::string_view page) {
    const std::size_t start = page.find(kRowsStart) + kRowsStart.size();
    return page.substr(start, page.find(kRowsEnd) - start);
}

}  // namespace

std::string ListingFixture(int rows, bool foreign) {
    return Listing(rows, foreign);
}

std::string ListingFixtureOfSize(std::size_t bytes) {
    // A card is about the same size on every page; scale from a small page, then add cards
    // until the page is large enough.
    const std::size_t small = Listing(100, false).size();
    int rows = static_cast<int>(100.0 * static_cast<double>(bytes) / static_cast<double>(small));
    std::string page = Listing(rows, false);
    while (page.size() < bytes)
        page = Listing(rows += 50, false);
    return page;
}

std::string MessageFixtureOfSize(std::size_t bytes) {
    const demo::ContentSettings settings;
    const std::string first =
        *demo::MessagePage(settings, kFixtureNumber, demo::NumberSite::Primary);
    const std::size_t insertAt = first.find(kRowsEnd);
    std::string rows;
    // Further numbers of the same kind (11 digits starting with 1): mostly Chinese messages.
    for (long long n = 17012345679; first.size() + rows.size() < bytes; ++n) {
        const std::string page =
            *demo::MessagePage(settings, std::to_string(n), demo::NumberSite::Primary);
        rows += RowsOf(page);
    }
    std::string page = first;
    page.insert(insertAt, rows);
    return page;
}

}  // namespace smsdock::bench
