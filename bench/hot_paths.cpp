// smsdock-bench: the hot paths of a retrieval, timed with Google Benchmark, followed by a table
// of each figure against its target and against the naive alternative (std::regex).
//
//   smsdock-bench [--benchmark_filter=...] [--benchmark_out=FILE --benchmark_out_format=json]
//
// The listing benchmarks drive the real listing routines in the program's main window on Qt's
// offscreen platform, against two loopback number sites: the primary one over HTTPS (test CA),
// the secondary one over plain HTTP.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "app/events.h"
#include "app/state/window_names.h"
#include "app/windows.h"
#include "bench/fixture_pages.h"
#include "http/cookies.h"
#include "http/http_request.h"
#include "retrieval/number_listing.h"
#include "tests/support/test_server.h"
#include "text/code_page.h"
#include "text/regex_matcher.h"
#include "text/text_ops.h"
#include "ui/window_layer.h"

namespace smsdock::bench {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;

// The patterns of the listing and message routines, as they write them.
constexpr const char* kDomesticNumberPattern =
    R"re(<p class="layuiadmin-big-font card-phone" id="(.*?)")re";
constexpr const char* kMessagePattern =
    R"re(<td style="">(.*?)</td>\s+<td style="text-align: center">(.*?)</td>)re";

constexpr std::string_view kPageSelector = "组合框1";

const Text& Utf8Page(const std::string& name) {
    static std::map<std::string, Text> pages;
    auto [at, added] = pages.try_emplace(name);
    if (added) {
        if (name == "listing") at->second = Text(ListingFixtureOfSize(kMiB));
        if (name == "listing-256k") at->second = Text(ListingFixtureOfSize(kMiB / 4));
        if (name == "listing-4m") at->second = Text(ListingFixtureOfSize(4 * kMiB));
        if (name == "message") at->second = Text(MessageFixtureOfSize(kMiB));
    }
    return at->second;
}

const Text& GbkPage(const std::string& name) {
    static std::map<std::string, Text> pages;
    auto [at, added] = pages.try_emplace(name);
    if (added) at->second = Utf8ToAnsi(Utf8Page(name));
    return at->second;
}

const char* PatternFor(const std::string& name) {
    return name == "message" ? kMessagePattern : kDomesticNumberPattern;
}

// ---- Code-page conversion -------------------------------------------------------------------

void BM_Utf8ToAnsi(benchmark::State& state) {
    const Text& page = Utf8Page("message");
    std::size_t nonAscii = 0;
    for (unsigned char c : page.view())
        nonAscii += c >= 0x80;
    for (auto _ : state)
        benchmark::DoNotOptimize(Utf8ToAnsi(page));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * page.size());
    state.counters["page_bytes"] = page.size();
    state.counters["non_ascii_share"] = static_cast<double>(nonAscii) / page.size();
}
BENCHMARK(BM_Utf8ToAnsi)->Unit(benchmark::kMillisecond);

// ---- Matching -------------------------------------------------------------------------------

// Search plus every submatch read back, over GBK text: the GBK to UTF-16 conversion of the
// subject and the conversions of every piece back to GBK are inside the loop.
void SearchAndRead(benchmark::State& state, const std::string& name) {
    const Text& page = GbkPage(name);
    const Text pattern = Utf8ToAnsi(PatternFor(name));
    int matches = 0;
    for (auto _ : state) {
        RegexMatcher matcher;
        matcher.Search(pattern, page);
        matches = matcher.MatchCount();
        const int groups = matcher.SubmatchCount();
        std::size_t read = 0;
        for (int i = 1; i <= matches; ++i)
            for (int k = 1; k <= groups; ++k)
                read += matcher.SubmatchText(i, k).size();
        benchmark::DoNotOptimize(read);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * page.size());
    state.counters["matches"] = matches;
    state.counters["page_bytes"] = page.size();
}

// What a naive implementation would write: std::regex (ECMAScript, case-insensitive) over the
// same GBK bytes, every submatch copied out.
void StdRegexSearchAndRead(benchmark::State& state, const std::string& name) {
    const std::string& page = GbkPage(name).str();
    int matches = 0;
    for (auto _ : state) {
        const std::regex re(PatternFor(name), std::regex::ECMAScript | std::regex::icase);
        matches = 0;
        std::size_t read = 0;
        for (auto it = std::sregex_iterator(page.begin(), page.end(), re);
             it != std::sregex_iterator(); ++it) {
            ++matches;
            for (std::size_t k = 1; k < it->size(); ++k)
                read += (*it)[k].str().size();
        }
        benchmark::DoNotOptimize(read);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * page.size());
    state.counters["matches"] = matches;
}

BENCHMARK_CAPTURE(SearchAndRead, listing_1MiB, std::string("listing"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchAndRead, message_1MiB, std::string("message"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StdRegexSearchAndRead, listing_1MiB, std::string("listing"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StdRegexSearchAndRead, message_1MiB, std::string("message"))
    ->Unit(benchmark::kMillisecond);
// The same page kind at a quarter and four times the size: the throughput should not fall.
BENCHMARK_CAPTURE(SearchAndRead, listing_256KiB, std::string("listing-256k"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchAndRead, listing_4MiB, std::string("listing-4m"))
    ->Unit(benchmark::kMillisecond);

// ---- Cookies --------------------------------------------------------------------------------

void BM_MergeCookies(benchmark::State& state) {
    // A hundred cookies held, a hundred set by the response: half of them replace held ones,
    // every tenth is a deletion, and the texts carry the spaces servers write.
    Text held;
    Text set;
    for (int i = 0; i < 100; ++i) {
        const std::string n = std::to_string(i);
        held += Text((i ? "; " : "") + std::string("sid_") + n + "=old" + n + "_a1b2c3d4e5f6");
        const std::string name = i % 2 ? "sid_" + std::to_string(i) : "fresh_" + n;
        const std::string value = i % 10 == 0 ? "deleted" : "new" + n + "_0f9e8d7c6b5a";
        set += Text((i ? "; " : "") + name + "=" + value);
    }
    std::size_t size = 0;
    for (auto _ : state) {
        Text old = held;
        Text fresh = set;
        size = MergeCookies(old, fresh).size();
        benchmark::DoNotOptimize(size);
    }
    state.counters["merged_bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_MergeCookies)->Unit(benchmark::kMicrosecond);

// ---- Whole listings in the main window ------------------------------------------------------

struct NumberSites {
    smsdock::testing::TestServer primary{smsdock::testing::Scheme::kHttps};
    smsdock::testing::TestServer secondary{smsdock::testing::Scheme::kHttp};
};
NumberSites* sites = nullptr;

// The rows of the number list as the view's model holds them.
int NumberRows() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() != QString::fromUtf8(kMainWindow.data(), kMainWindow.size()))
            continue;
        if (const auto* list = top->findChild<QTableView*>(QStringLiteral("超级列表框1")))
            return list->model()->rowCount();
    }
    return -1;
}

void ProcessEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QCoreApplication::sendPostedEvents(nullptr, 0);
}

// The main window with the program's own handlers but no start-up worker; the page at
// `path` on both sites has `rows` numbers.
void PrepareListing(int rows) {
    static std::map<int, std::string> pages;
    auto [at, added] = pages.try_emplace(rows);
    if (added) at->second = ListingFixture(rows);
    for (const char* path : {"/dl/1.html"})
        sites->primary.Set(path, smsdock::testing::Route::Content(at->second));
    sites->primary.Set("/gw/1.html", smsdock::testing::Route::Content(ListingFixture(rows, true)));
    sites->secondary.Set("/dl/" + std::to_string(rows) + ".html",
                         smsdock::testing::Route::Content(at->second));
    sites->secondary.Set("/gw/" + std::to_string(rows) + ".html",
                         smsdock::testing::Route::Content(ListingFixture(rows, true)));
    ClearItems(kMainWindow, kPageSelector);
    AddItem(kMainWindow, kPageSelector, Utf8ToAnsi(Text("第" + std::to_string(rows) + "页")), rows);
    SetCurrentSelection(kMainWindow, kPageSelector, 0);
    ProcessEvents();
}

void Listing(benchmark::State& state, void (*routine)(), bool clearSelector) {
    const int rows = static_cast<int>(state.range(0));
    PrepareListing(rows);
    int listed = 0;
    for (auto _ : state) {
        routine();
        state.PauseTiming();
        listed = NumberRows();
        if (clearSelector) ClearItems(kMainWindow, kPageSelector);
        ProcessEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = listed;
    if (listed != rows) state.SkipWithError("the listing did not show every row of the page");
}

void ListOverHttp(benchmark::State& state) {
    Listing(state, FetchDomesticPage, false);
}
void ListForeignOverHttp(benchmark::State& state) {
    Listing(state, FetchForeignPage, false);
}
void ListOverHttps(benchmark::State& state) {
    Listing(state, LoadFirstDomesticPage, true);
}
void ListForeignOverHttps(benchmark::State& state) {
    Listing(state, SwitchToForeign, false);
}

// The request alone, for the share of the listing that is transport.
void Request(benchmark::State& state, bool https) {
    const int rows = static_cast<int>(state.range(0));
    PrepareListing(rows);
    const Text url(https ? sites->primary.Url("/dl/1.html")
                         : sites->secondary.Url("/dl/" + std::to_string(rows) + ".html"));
    std::size_t size = 0;
    for (auto _ : state)
        size = HttpRequest(url).size();
    state.counters["body_bytes"] = static_cast<double>(size);
}
void RequestOverHttp(benchmark::State& state) {
    Request(state, false);
}
void RequestOverHttps(benchmark::State& state) {
    Request(state, true);
}

BENCHMARK(ListOverHttp)
    ->Name("Listing/FetchDomesticPage/http")
    ->Arg(100)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(ListOverHttps)
    ->Name("Listing/LoadFirstDomesticPage/https")
    ->Arg(100)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(ListForeignOverHttp)
    ->Name("Listing/FetchForeignPage/http")
    ->Arg(100)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(ListForeignOverHttps)
    ->Name("Listing/SwitchToForeign/https")
    ->Arg(100)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(RequestOverHttp)
    ->Name("HttpRequest/http")
    ->Arg(100)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(RequestOverHttps)
    ->Name("HttpRequest/https")
    ->Arg(100)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void SetUpMainWindow() {
    smsdock::testing::TrustTestCa();
    sites = new NumberSites();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("SMSDOCK_PRIMARY_SITE", sites->primary.Origin().c_str(), 1);
    ::setenv("SMSDOCK_SECONDARY_SITE", sites->secondary.Origin().c_str(), 1);
    InitialiseWindowLayer();
    std::vector<EventBinding> events = MainWindowEvents();
    std::erase_if(events, [](const EventBinding& b) { return b.event == Event::Created; });
    RegisterWindow(MainWindowDescription(), std::move(events));
    RegisterWindow(UpdatePopupDescription(), {});
    if (!LoadWindow(kMainWindow)) {
        std::fprintf(stderr, "smsdock-bench: the main window could not be loaded\n");
        std::exit(1);
    }
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 300)
        ProcessEvents();
}

// ---- Figures against targets ----------------------------------------------------------------

// Keeps the seconds per iteration and the counters of every benchmark as the console shows them.
class RecordingReporter : public benchmark::ConsoleReporter {
  public:
    struct Figure {
        double seconds = 0;
        std::map<std::string, double> counters;
    };

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0) continue;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            Figure& f = figures_[run.run_name.str()];
            f.seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
            if (run.run_type == Run::RT_Aggregate) f.seconds = run.real_accumulated_time;
            for (const auto& [name, counter] : run.counters)
                f.counters[name] = counter.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    const Figure* Find(const std::string& name) const {
        auto at = figures_.find(name);
        return at == figures_.end() ? nullptr : &at->second;
    }

  private:
    std::map<std::string, Figure> figures_;
};

void PrintTargets(const RecordingReporter& r) {
    std::printf("\n%-44s %14s   %-22s %s\n", "figure", "value", "target", "");
    auto line = [](const std::string& what, double value, const char* unit, const char* target,
                   bool met) {
        std::printf("%-44s %10.2f %-3s   %-22s %s\n", what.c_str(), value, unit, target,
                    met ? "met" : "MISSED");
    };
    auto mbps = [&](const std::string& name) -> double {
        const auto* f = r.Find(name);
        return f && f->seconds > 0 ? f->counters.count("bytes_per_second")
                                         ? f->counters.at("bytes_per_second") / 1e6
                                         : 0
                                   : 0;
    };
    auto ms = [&](const std::string& name) -> double {
        const auto* f = r.Find(name);
        return f ? f->seconds * 1e3 : 0;
    };

    if (r.Find("BM_Utf8ToAnsi"))
        line("Utf8ToAnsi, 1 MiB message page", mbps("BM_Utf8ToAnsi"), "MB/s", ">= 200 MB/s",
             mbps("BM_Utf8ToAnsi") >= 200);
    for (const char* page : {"listing_1MiB", "message_1MiB"}) {
        const std::string ours = std::string("SearchAndRead/") + page;
        const std::string naive = std::string("StdRegexSearchAndRead/") + page;
        if (!r.Find(ours)) continue;
        line("Search + submatches, " + std::string(page), mbps(ours), "MB/s", ">= 300 MB/s",
             mbps(ours) >= 300);
        if (r.Find(naive)) {
            const double ratio = ms(naive) / ms(ours);
            line("  x std::regex (" + std::to_string(mbps(naive)).substr(0, 5) + " MB/s)", ratio,
                 "x", ">= 10x", ratio >= 10);
        }
    }
    if (r.Find("SearchAndRead/listing_256KiB") && r.Find("SearchAndRead/listing_4MiB")) {
        const double kept =
            mbps("SearchAndRead/listing_4MiB") / mbps("SearchAndRead/listing_256KiB");
        line("Search throughput 4 MiB / 256 KiB", kept, "x", ">= 0.8 (linear cost)", kept >= 0.8);
    }
    if (r.Find("BM_MergeCookies"))
        std::printf("%-44s %10.2f %-3s   %-22s\n", "MergeCookies, 100 + 100 cookies",
                    ms("BM_MergeCookies") * 1e3, "us", "(no target)");
    for (const char* rows : {"100", "10000"}) {
        for (const char* name :
             {"Listing/FetchDomesticPage/http/", "Listing/LoadFirstDomesticPage/https/",
              "Listing/FetchForeignPage/http/", "Listing/SwitchToForeign/https/"}) {
            const std::string full = std::string(name) + rows;
            if (!r.Find(full)) continue;
            const bool targeted = std::string(rows) == "100" &&
                                  std::string(name) == "Listing/FetchDomesticPage/http/";
            if (targeted) {
                line(full, ms(full), "ms", "< 5 ms", ms(full) < 5);
            } else {
                std::printf("%-44s %10.2f %-3s   %-22s\n", full.c_str(), ms(full), "ms",
                            "(reported)");
            }
        }
    }
    std::fflush(stdout);
}

}  // namespace
}  // namespace smsdock::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    smsdock::bench::SetUpMainWindow();
    smsdock::bench::RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    smsdock::bench::PrintTargets(reporter);
    benchmark::Shutdown();
    std::fflush(nullptr);
    // The window layer and the loopback servers are left to the end of the process.
    std::_Exit(0);
}
