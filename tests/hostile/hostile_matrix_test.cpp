// The program's listing, message retrieval, start-up check and pictures against one server that
// misbehaves in a different way in each case. Every case must end without a crash, within the
// time the transfer limits allow, with the failed or empty page's usual outcome (empty lists,
// no message box), and with the window still serving the next listing. Each case's outcome,
// time and peak memory go into a table in the build folder (SMSDOCK_MATRIX_REPORT).

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <QElapsedTimer>
#include <QImage>
#include <QMessageBox>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/state/window_names.h"
#include "http/transfer_limits.h"
#include "notice/startup_check.h"
#include "tests/e2e/fixture_pages.h"
#include "tests/e2e/main_window_fixture.h"
#include "tests/support/raw_http_server.h"
#include "tests/ui/gui_harness.h"
#include "text/text_ops.h"
#include "ui/window_layer.h"

namespace smsdock::e2e {
namespace {

using testing::RawHttpServer;
using testing::RawRequest;
using testing::RawResponse;
using testing::Scheme;
using testing::ServerCertificate;

// Short enough that a server that hangs costs seconds, long enough for the large pages to
// arrive whole on the loopback, even under the sanitizers.
constexpr TransferLimits kMatrixLimits{std::chrono::milliseconds(2'000),
                                       std::chrono::milliseconds(4'000), 64LL * 1024 * 1024};

// The hostile server every site points at, and two servers redirects lead to: one on plain
// HTTP and one whose certificate names another host. Both serve a proper listing page.
RawHttpServer* hostile = nullptr;
RawHttpServer* plainServer = nullptr;
RawHttpServer* wrongHostServer = nullptr;

std::string Page(const std::string& html) {
    return RawResponse(200, {"Content-Type: text/html; charset=utf-8"}, html);
}

class HostileEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        testing::TrustTestCa();
        ReplaceProcessTransferLimitsInTests(kMatrixLimits);
        hostile = new RawHttpServer(Scheme::kHttps);
        plainServer = new RawHttpServer(Scheme::kHttp);
        wrongHostServer = new RawHttpServer(Scheme::kHttps, ServerCertificate::kWrongHost);
        plainServer->Respond(Page(kDomesticPage1));
        wrongHostServer->Respond(Page(kDomesticPage1));
        ::setenv("SMSDOCK_NOTICE_SITE", hostile->Origin().c_str(), 1);
        ::setenv("SMSDOCK_ARTICLE_SITE", hostile->Origin().c_str(), 1);
        UseSites(hostile->Origin(), hostile->Origin());
    }
    void TearDown() override;
};

// ---- The report ---------------------------------------------------------------------------

// ctest runs each case in a process of its own: each writes its row into a folder next to the
// report, then the report is written again from every row there, in the order of the cases.
const std::string kRowFolder = std::string(SMSDOCK_MATRIX_REPORT) + ".rows";

void WriteRow(const std::string& name, const std::string& row) {
    std::filesystem::create_directories(kRowFolder);
    const std::string file = kRowFolder + "/" + name;
    std::ofstream(file + ".tmp") << row;
    std::filesystem::rename(file + ".tmp", file);
}

// The process's peak resident size in KiB, and its reset (Linux: "5" to clear_refs sets the
// high-water mark to the current size), so that each case measures its own peak.
long long PeakKib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atoll(line.c_str() + 6);
    return -1;
}
void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// ---- The hostile answers ------------------------------------------------------------------

std::string Repeat(const std::string& piece, std::size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

std::string RedirectTo(const std::string& location) {
    return RawResponse(302, {"Location: " + location});
}

std::uint32_t BigEndian(std::uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
}

std::string PngChunk(const std::string& type, const std::string& data) {
    std::string chunk;
    const std::uint32_t length = BigEndian(static_cast<std::uint32_t>(data.size()));
    chunk.append(reinterpret_cast<const char*>(&length), 4);
    chunk += type + data;
    const std::string crcInput = type + data;
    const std::uint32_t crc = BigEndian(static_cast<std::uint32_t>(crc32(
        0, reinterpret_cast<const Bytef*>(crcInput.data()), static_cast<uInt>(crcInput.size()))));
    chunk.append(reinterpret_cast<const char*>(&crc), 4);
    return chunk;
}

// A well-formed PNG that declares 100000 x 100000 RGBA pixels (40 GB decoded) and carries
// one compressed row.
std::string HugePng() {
    std::string header;
    const std::uint32_t side = BigEndian(100'000);
    header.append(reinterpret_cast<const char*>(&side), 4);
    header.append(reinterpret_cast<const char*>(&side), 4);
    header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no interlace
    std::string row(1 + 4 * 100'000, '\0');
    uLongf packedSize = compressBound(static_cast<uLong>(row.size()));
    std::string packed(packedSize, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
             reinterpret_cast<const Bytef*>(row.data()), static_cast<uLong>(row.size()));
    packed.resize(packedSize);
    return std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header) +
           PngChunk("IDAT", packed) + PngChunk("IEND", "");
}

std::string Garbage(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t state = 12345;
    for (char& c : bytes) {
        state = state * 1103515245 + 12345;
        c = static_cast<char>(state >> 16);
    }
    return bytes;
}

const std::string kCard = R"(<p class="layuiadmin-big-font card-phone" id="13800138000">)";

enum class Expect {
    kFailedPage,  // a failed or empty page: every list empty, no message box
    kAnyPage,     // a page that arrived: whatever it lists, within the bounds of the window
};

struct HostileCase {
    const char* name;
    Expect expect;
    std::function<void()> arrange;
    friend void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }
};

const std::vector<HostileCase> kCases = {
    {"no_answer", Expect::kFailedPage, [] { hostile->NeverAnswer(); }},
    {"headers_then_silence", Expect::kFailedPage,
     [] { hostile->Stream("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n", ""); }},
    {"endless_body", Expect::kFailedPage,
     [] {
         hostile->Stream("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n",
                         Repeat(kCard + "\"", 1000));
     }},
    {"body_over_the_limit", Expect::kFailedPage,
     [] {
         hostile->Stream("HTTP/1.1 200 OK\r\nContent-Length: " +
                             std::to_string(kMatrixLimits.maxBodyBytes + 1) + "\r\n\r\n",
                         Repeat(kCard + "\"", 1000));
     }},
    {"one_mib_of_headers", Expect::kAnyPage,
     [] {
         hostile->Respond(
             RawResponse(200, std::vector<std::string>(1024, "X-Filler: " + std::string(1000, 'f')),
                         kDomesticPage1));
     }},
    {"redirect_loop", Expect::kFailedPage,
     [] {
         hostile->Respond([](const RawRequest& request) {
             const std::string path = request.requestLine.substr(
                 request.requestLine.find(' ') + 1,
                 request.requestLine.rfind(' ') - request.requestLine.find(' ') - 1);
             return RedirectTo(hostile->Url(path));
         });
     }},
    {"redirect_to_file", Expect::kFailedPage,
     [] { hostile->Respond(RedirectTo("file:///etc/passwd")); }},
    {"redirect_from_https_to_http", Expect::kFailedPage,
     [] { hostile->Respond(RedirectTo(plainServer->Url("/dl/1.html"))); }},
    {"certificate_for_another_host", Expect::kFailedPage,
     [] { hostile->Respond(RedirectTo(wrongHostServer->Url("/dl/1.html"))); }},
    {"invalid_utf8_and_zero_bytes", Expect::kAnyPage,
     [] {
         hostile->Respond(Page(kCard + "\"\xff\xfe\xc0\x80\xed\xa0\x80" + kCard + "\xe4\xb8\"" +
                               std::string(1, '\0') + kDomesticPage1));
     }},
    {"200000_pattern_matches", Expect::kAnyPage,
     [] { hostile->Respond(Page(Repeat(kCard + "\"", 200'000))); }},
    {"pagination_of_2147483647_pages", Expect::kAnyPage,
     [] {
         hostile->Respond(
             Page(kDomesticPage1 + R"(<li><a href="/dl/2147483647.html">2147483647</a></li>)"));
     }},
    {"garbage_picture", Expect::kFailedPage,
     [] { hostile->Respond(RawResponse(200, {"Content-Type: image/png"}, Garbage(200'000))); }},
    {"png_of_100000_by_100000_pixels", Expect::kFailedPage,
     [] { hostile->Respond(RawResponse(200, {"Content-Type: image/png"}, HugePng())); }},
};

void HostileEnvironment::TearDown() {
    const std::string temporary =
        std::string(SMSDOCK_MATRIX_REPORT) + "." + std::to_string(::getpid());
    std::ofstream out(temporary);
    out << "# Hostile-server matrix\n\n"
        << "Listing (domestic switch), messages (double-click), start-up check and pictures "
           "against one misbehaving server; limits: connect "
        << kMatrixLimits.connectTimeout.count() << " ms, exchange "
        << kMatrixLimits.exchangeTimeout.count() << " ms, body " << kMatrixLimits.maxBodyBytes
        << " bytes. Peak memory is the process's high-water mark during the case.\n\n"
        << "| case | outcome | time (ms) | peak memory (KiB) |\n|---|---|---:|---:|\n";
    for (const HostileCase& c : kCases) {
        std::ifstream row(kRowFolder + "/" + c.name);
        std::string line;
        out << (std::getline(row, line) ? line : "| " + std::string(c.name) + " | not run | | |")
            << "\n";
    }
    out.close();
    std::filesystem::rename(temporary, SMSDOCK_MATRIX_REPORT);
    std::printf("hostile matrix written to %s\n", SMSDOCK_MATRIX_REPORT);
    delete wrongHostServer;
    delete plainServer;
    delete hostile;
}

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new HostileEnvironment);

// ---- The matrix ---------------------------------------------------------------------------

class HostileServer : public MainWindowTest, public ::testing::WithParamInterface<HostileCase> {
  protected:
    // Runs the start-up check on a worker as the program does, answering every message box;
    // the number of boxes shown, or -1 when the check did not end in time.
    static int RunCheckOnWorker(int timeoutMs) {
        auto done = std::make_shared<std::atomic<bool>>(false);
        std::thread worker([done] {
            RunStartupCheck();
            done->store(true);
        });
        int boxes = 0;
        QMessageBox* answered = nullptr;
        const auto serve = [&] {
            if (QMessageBox* box = gui::OpenMessageBox(); box && box != answered) {
                ++boxes;
                answered = box;
                box->accept();
            }
            return done->load();
        };
        const bool ended = gui::WaitUntil(serve, timeoutMs);
        // A late worker is still served to its end (ctest's time-out bounds that): left
        // running, it would call into the window layer while the process tears it down.
        while (!ended && !gui::WaitUntil(serve, 60'000)) {
        }
        worker.join();
        return ended ? boxes : -1;
    }
};

TEST_P(HostileServer, EndsInTimeWithTheFailedPagesOutcomeAndLeavesTheWindowUsable) {
    const HostileCase& c = GetParam();
    std::vector<Text> opened;
    const UrlOpener previousOpener =
        SetUrlOpener([&opened](const Text& url) { opened.push_back(url); });
    ResetPeak();
    QElapsedTimer clock;
    clock.start();
    c.arrange();

    // The listing: the domestic switch lists page 1 and rebuilds the selector.
    ClickControl("单选框1");
    const std::size_t listed = ListRows("超级列表框1").size();
    const std::size_t pages = Items().size();

    // The messages of a number.
    DeleteAllRows(kMainWindow, "超级列表框1");
    const int row = InsertRow(kMainWindow, "超级列表框1");
    SetCellText(kMainWindow, "超级列表框1", row, 1, Text(" 13800138000 "));
    DoubleClickRow("超级列表框1", 0);
    const std::size_t messages = ListRows("超级列表框2").size();
    const bool boxAfterClicks = MessageBoxShown();

    // The start-up check, which fetches the notice document, a listing and the pictures.
    const int checkBoxes = RunCheckOnWorker(300'000);
    const std::size_t listedByCheck = ListRows("超级列表框1").size();

    // A picture, fetched and shown as the notice picture is.
    const Bytes picture = FetchPicture(Text(hostile->Url("/picture.png")));
    QElapsedTimer decodeClock;
    decodeClock.start();
    SetPicture(kMainWindow, "图片框1", picture);
    const bool decoded =
        !QImage::fromData(picture.data(), static_cast<int>(picture.size())).isNull();
    const qint64 decodeMs = decodeClock.elapsed();

    const qint64 elapsed = clock.elapsed();
    const long long peak = PeakKib();

    std::ostringstream outcome;
    outcome << "listing " << listed << " rows, " << pages << " pages; messages " << messages
            << " rows; check " << (checkBoxes < 0 ? "timed out" : "ended") << " with "
            << std::max(checkBoxes, 0) << " boxes, " << listedByCheck << " rows; picture "
            << picture.size() << " bytes, " << (decoded ? "decoded" : "refused") << " in "
            << decodeMs << " ms; pages opened " << opened.size();

    // The window serves the next listing from a well-behaved server.
    hostile->Respond(Page(kDomesticPage1));
    ClickControl("单选框1");
    const std::size_t listedAfter = ListRows("超级列表框1").size();
    outcome << "; afterwards " << listedAfter << " rows";
    SetUrlOpener(previousOpener);
    WriteRow(c.name, "| " + std::string(c.name) + " | " + outcome.str() + " | " +
                         std::to_string(elapsed) + " | " + std::to_string(peak) + " |");

    EXPECT_GE(checkBoxes, 0) << outcome.str();
    EXPECT_FALSE(boxAfterClicks) << outcome.str();
    // A failed page costs at most the transfer limits of each of its few exchanges; a page that
    // arrived costs what filling the window with it takes (200,000 rows, twice, take tens of
    // seconds under the sanitizers).
    EXPECT_LT(elapsed, c.expect == Expect::kFailedPage ? 60'000 : 300'000) << outcome.str();
    EXPECT_LE(pages, 9999u);
    EXPECT_LE(listed, 200'000u);
    EXPECT_LT(decodeMs, 2'000);
    EXPECT_GT(listedAfter, 0u) << "the window no longer lists";
    if (c.expect == Expect::kFailedPage) {
        EXPECT_EQ(listed, 0u) << outcome.str();
        EXPECT_EQ(pages, 0u) << outcome.str();
        EXPECT_EQ(messages, 0u) << outcome.str();
        EXPECT_EQ(checkBoxes, 0) << outcome.str();
        EXPECT_EQ(listedByCheck, 0u) << outcome.str();
        EXPECT_FALSE(decoded) << outcome.str();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileServer, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace smsdock::e2e
