#include "demo/demo_site.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <jpeglib.h>
#include <png.h>

#include <chrono>
#include <csetjmp>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "demo/certificates.h"
#include "demo/options.h"
#include "demo/pictures.h"
#include "http/http_request.h"
#include "http/picture_fetch.h"
#include "tests/demo/page_patterns.h"
#include "text/code_page.h"
#include "text/extract.h"
#include "text/text_ops.h"

namespace smsdock::demo {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using namespace smsdock::demo::testing;

// The value SmsDock cuts for a key out of the post, as it sees it: in GBK.
std::string Cut(const std::string& post, NoticeKey key) {
    return TextBetween(Gbk(post), Gbk(NoticeKeyMarker(key)), "-").str();
}

// A fresh directory under the temporary directory, removed with the object.
class ScratchDir {
  public:
    ScratchDir() {
        std::string pattern = (fs::temp_directory_path() / "smsdock-demo-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

struct Answer {
    httplib::Error error = httplib::Error::Unknown;
    int status = 0;
    std::string body;
};

// GET origin + target, verifying an https origin against ca.
Answer Fetch(const std::string& origin, const std::string& target, const fs::path& ca) {
    httplib::Client client(origin);
    client.set_ca_cert_path(ca.string());
    client.enable_server_certificate_verification(true);
    client.set_connection_timeout(5);
    client.set_read_timeout(5);
    Answer answer;
    if (auto result = client.Get(target)) {
        answer.error = httplib::Error::Success;
        answer.status = result->status;
        answer.body = result->body;
    } else {
        answer.error = result.error();
    }
    return answer;
}

DemoOptions Ephemeral(const fs::path& stateDir) {
    DemoOptions options;
    options.primaryPort = options.secondaryPort = options.noticePort = options.articlePort = 0;
    options.stateDir = stateDir;
    options.quiet = true;
    return options;
}

struct Decoded {
    int width = 0;
    int height = 0;
};

std::optional<Decoded> DecodePng(const std::string& data) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) return std::nullopt;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return Decoded{static_cast<int>(image.width), static_cast<int>(image.height)};
}

struct JpegError {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

// A full decode; any error or warning (such as a truncated file) counts as a failure.
std::optional<Decoded> DecodeJpeg(const std::string& data) {
    jpeg_decompress_struct info{};
    JpegError error{};
    std::vector<unsigned char> row;
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = [](j_common_ptr c) {
        std::longjmp(reinterpret_cast<JpegError*>(c->err)->jump, 1);
    };
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.data()), data.size());
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    row.resize(static_cast<std::size_t>(info.output_width) * info.output_components);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    const Decoded decoded{static_cast<int>(info.output_width),
                          static_cast<int>(info.output_height)};
    const bool clean = error.base.num_warnings == 0;
    jpeg_destroy_decompress(&info);
    if (!clean) return std::nullopt;
    return decoded;
}

// One demo site on free ports for every test of the suite.
class DemoSiteTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        state_ = new ScratchDir;
        site_ = new DemoSite(Ephemeral(state_->path()));
        site_->Start();
    }
    static void TearDownTestSuite() {
        delete site_;
        delete state_;
    }

    static Answer Get(const std::string& origin, const std::string& target) {
        return Fetch(origin, target, site_->CaFile());
    }
    static const SiteOrigins& Origins() { return site_->Origins(); }

    static ScratchDir* state_;
    static DemoSite* site_;
};

ScratchDir* DemoSiteTest::state_ = nullptr;
DemoSite* DemoSiteTest::site_ = nullptr;

TEST_F(DemoSiteTest, ListingPagesGiveTheProgramsPatternsTheirNumbersAndPageCount) {
    const ContentSettings content;
    for (const std::string& origin : {Origins().primary, Origins().secondary}) {
        for (Platform platform : {Platform::Domestic, Platform::Foreign}) {
            const bool domestic = platform == Platform::Domestic;
            const int pages = PageCountOf(content, platform);
            for (int page = 1; page <= pages; ++page) {
                const std::string target =
                    std::string(domestic ? "/dl/" : "/gw/") + std::to_string(page) + ".html";
                SCOPED_TRACE(origin + target);
                const Answer answer = Get(origin, target);
                ASSERT_EQ(answer.status, 200);

                std::vector<std::string> cells, expected;
                for (const ListedNumber& n : NumbersOnPage(content, platform, page)) {
                    expected.push_back(domestic ? n.number : n.countryCode + n.linkRest);
                }
                const Text page = Gbk(answer.body);
                for (const auto& groups :
                     FindAll(domestic ? kDomesticNumberPattern : kForeignNumberPattern, page)) {
                    cells.push_back(domestic ? groups[0] : groups[0] + groups[1]);
                }
                EXPECT_EQ(cells.size(), 20u);
                EXPECT_EQ(cells, expected);
                // Nothing of the other platform's pattern, nor any stray page link.
                EXPECT_TRUE(FindAll(domestic ? kForeignNumberPattern : kDomesticNumberPattern, page)
                                .empty());
                const auto links = FirstGroups(kPageCountPattern, page);
                ASSERT_FALSE(links.empty());
                EXPECT_EQ(links.back(), std::to_string(pages));
            }
        }
    }
}

TEST_F(DemoSiteTest, PagesThatDoNotExistAnswerNotFoundWithNothingToMatch) {
    for (const char* target : {"/dl/-1.html", "/dl/0.html", "/dl/6.html", "/gw/4.html",
                               "/dl/x.html", "/message/.html", "/message/12ab5.html", "/nothing"}) {
        SCOPED_TRACE(target);
        const Answer answer = Get(Origins().secondary, target);
        EXPECT_EQ(answer.status, 404);
        for (const char* pattern :
             {kDomesticNumberPattern, kForeignNumberPattern, kPageCountPattern, kMessagePattern}) {
            EXPECT_TRUE(FindAll(pattern, Gbk(answer.body)).empty()) << pattern;
        }
    }
}

TEST_F(DemoSiteTest, MessagePagesListTheNumbersMessages) {
    const ContentSettings content;
    const std::string number = NumbersOnPage(content, Platform::Domestic, 1).at(0).number;
    const Answer answer = Get(Origins().primary, "/message/" + number + ".html");
    ASSERT_EQ(answer.status, 200);
    std::vector<std::string> expected;
    for (const ListedMessage& m : MessagesOf(content, number)) {
        expected.push_back(Gbk(m.content).str());
    }
    const auto contents = FirstGroups(kMessagePattern, Gbk(answer.body));
    EXPECT_THAT(contents, ElementsAreArray(expected));
}

TEST_F(DemoSiteTest, NoticeBlogServesThePostAtId88Only) {
    const Answer post = Get(Origins().notice, "/blogs/?id=88");
    ASSERT_EQ(post.status, 200);
    for (NoticeKey key : kAllNoticeKeys) {
        EXPECT_EQ(Cut(post.body, key),
                  Gbk(NoticeValue(ContentSettings{}, Origins(), key).value()).str())
            << NoticeKeyName(key);
    }
    EXPECT_THAT(post.body, HasSubstr("<script src=\"" + Origins().notice +
                                     "/blogs/zb_users/plugin/txgonggao/js/txgonggao.js\">"));
    EXPECT_EQ(Get(Origins().notice, "/blogs/zb_users/plugin/txgonggao/js/txgonggao.js").status,
              200);

    EXPECT_EQ(Get(Origins().notice, "/blogs/?id=87").status, 404);
    const Answer index = Get(Origins().notice, "/blogs/");
    EXPECT_EQ(index.status, 200);
    EXPECT_THAT(index.body, HasSubstr("/blogs/?id=88"));
    EXPECT_EQ(index.body.find(NoticeKeyMarker(NoticeKey::LatestVersion)), std::string::npos);
}

TEST_F(DemoSiteTest, PicturesNamedInThePostDecodeAtTheirSizes) {
    const std::string post = Get(Origins().notice, "/blogs/?id=88").body;
    auto fetchValue = [&](NoticeKey key) {
        const std::string url = Cut(post, key);
        EXPECT_EQ(url.rfind(Origins().notice, 0), 0u) << url;
        return Get(Origins().notice, url.substr(Origins().notice.size()));
    };

    const Answer png = fetchValue(NoticeKey::NoticePicture);
    ASSERT_EQ(png.status, 200);
    EXPECT_EQ(png.body.substr(0, 8), "\x89PNG\r\n\x1A\n");
    const auto notice = DecodePng(png.body);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->width, 260);
    EXPECT_EQ(notice->height, 220);

    const Answer jpeg = fetchValue(NoticeKey::AdvertPicture);
    ASSERT_EQ(jpeg.status, 200);
    EXPECT_EQ(jpeg.body.substr(0, 3), "\xFF\xD8\xFF");
    const auto advert = DecodeJpeg(jpeg.body);
    ASSERT_TRUE(advert);
    EXPECT_EQ(advert->width, 608);
    EXPECT_EQ(advert->height, 200);
    EXPECT_FALSE(DecodeJpeg(jpeg.body.substr(0, jpeg.body.size() / 2))) << "decoder too lenient";
}

TEST_F(DemoSiteTest, ArticleSiteServesTheLinksThePostHandsOut) {
    const std::string post = Get(Origins().notice, "/blogs/?id=88").body;
    EXPECT_THAT(Get(Origins().article, "/p/1c78a3d654eb").body, HasSubstr("1.9"));
    for (NoticeKey key : {NoticeKey::DownloadLink, NoticeKey::JumpLink}) {
        const std::string url = Cut(post, key);
        ASSERT_EQ(url.rfind(Origins().article, 0), 0u) << url;
        EXPECT_EQ(Get(Origins().article, url.substr(Origins().article.size())).status, 200) << url;
    }
    EXPECT_EQ(Get(Origins().article, "/p/000000000000").status, 404);
}

std::string BodyText(const Bytes& body) {
    return std::string(body.begin(), body.end());
}

// A page as SmsDock reads it: fetched by its own client and turned into GBK.
Text ReadAsSmsDock(const std::string& url) {
    return Utf8ToAnsi(BytesToText(HttpRequest(Text(url))));
}

// The road SmsDock itself takes: its HTTP client, trusting the CA named by SMSDOCK_CA_FILE,
// and every page turned into GBK before it is searched.
TEST_F(DemoSiteTest, SmsDocksOwnClientReadsEveryRoleWithTheCaFromTheEnvironment) {
    ASSERT_EQ(::setenv("SMSDOCK_CA_FILE", site_->CaFile().c_str(), 1), 0);
    const ContentSettings content;

    const Text listing = ReadAsSmsDock(Origins().primary + "/dl/1.html");
    EXPECT_EQ(FindAll(kDomesticNumberPattern, listing).size(), 20u);
    EXPECT_EQ(FirstGroups(kPageCountPattern, listing).back(), "5");
    const Text foreign = ReadAsSmsDock(Origins().secondary + "/gw/3.html");
    EXPECT_EQ(FindAll(kForeignNumberPattern, foreign).size(), 20u);
    const std::string number = NumbersOnPage(content, Platform::Domestic, 1).at(0).number;
    const Text messages = ReadAsSmsDock(Origins().primary + "/message/" + number + ".html");
    EXPECT_EQ(FindAll(kMessagePattern, messages).size(), MessagesOf(content, number).size());

    const Text post = Utf8ToAnsi(FetchText(Text(Origins().notice + "/blogs/?id=88")));
    EXPECT_EQ(TextBetween(post, Gbk(NoticeKeyMarker(NoticeKey::LatestVersion)), "-"), "1.8");
    EXPECT_NE(FindText(post, Text(Origins().notice + std::string(kNoticeMarkerPath))), -1);
    const Text noticePicture =
        TextBetween(post, Gbk(NoticeKeyMarker(NoticeKey::NoticePicture)), "-");
    EXPECT_TRUE(DecodePng(BodyText(FetchPictureBytes(noticePicture))));
    const Text advertPicture =
        TextBetween(post, Gbk(NoticeKeyMarker(NoticeKey::AdvertPicture)), "-");
    EXPECT_TRUE(DecodeJpeg(BodyText(FetchPictureBytes(advertPicture))));

    EXPECT_THAT(BodyText(HttpRequest(Text(Origins().article + std::string(kUpdateArticlePath)))),
                HasSubstr("1.9"));
}

TEST_F(DemoSiteTest, HttpsRolesVerifyWithTheDemoCaAndNoOther) {
    ScratchDir otherState;
    const fs::path otherCa = LoadOrCreateTlsIdentity(otherState.path()).caFile;
    for (const std::string& origin : {Origins().primary, Origins().secondary, Origins().article}) {
        EXPECT_THAT(origin, MatchesRegex("https://127\\.0\\.0\\.1:[0-9]+"));
        EXPECT_EQ(Fetch(origin, "/", site_->CaFile()).error, httplib::Error::Success) << origin;
        EXPECT_EQ(Fetch(origin, "/", otherCa).error, httplib::Error::SSLServerVerification)
            << origin;
    }
    // The certificate names localhost too.
    const std::string port = Origins().primary.substr(Origins().primary.rfind(':') + 1);
    EXPECT_EQ(Fetch("https://localhost:" + port, "/dl/1.html", site_->CaFile()).status, 200);
    EXPECT_THAT(Origins().notice, MatchesRegex("http://127\\.0\\.0\\.1:[0-9]+"));
}

TEST_F(DemoSiteTest, ASecondSiteCannotTakeThePortsOfARunningOne) {
    DemoOptions options = Ephemeral(state_->path());
    const std::string& primary = Origins().primary;
    options.primaryPort = std::stoi(primary.substr(primary.rfind(':') + 1));
    DemoSite second(options);
    EXPECT_THROW(second.Start(), std::runtime_error);
}

TEST(DemoSiteTrouble, EachTroubleOptionBreaksOnlyWhatItNames) {
    ScratchDir state;
    struct Case {
        const char* name;
        void (*set)(DemoOptions&);
        int listing;  // status of /dl/1.html, 0 for no answer at all
        int post;     // status of the notice post
        int picture;  // status of the notice picture
    };
    const Case cases[] = {
        {"--fail", [](DemoOptions& o) { o.failNumbers = FailMode::ServerError; }, 500, 200, 200},
        {"--fail=close", [](DemoOptions& o) { o.failNumbers = FailMode::CloseConnection; }, 0, 200,
         200},
        {"--fail-notice", [](DemoOptions& o) { o.failNotice = true; }, 200, 500, 200},
        {"--fail-pictures", [](DemoOptions& o) { o.failPictures = true; }, 200, 200, 404},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DemoOptions options = Ephemeral(state.path());
        c.set(options);
        DemoSite site(options);
        site.Start();
        const SiteOrigins& at = site.Origins();

        const Answer listing = Fetch(at.primary, "/dl/1.html", site.CaFile());
        EXPECT_EQ(listing.status, c.listing);
        if (c.listing == 0) {
            EXPECT_NE(listing.error, httplib::Error::Success);
            ASSERT_EQ(::setenv("SMSDOCK_CA_FILE", site.CaFile().c_str(), 1), 0);
            EXPECT_TRUE(HttpRequest(Text(at.primary + "/dl/1.html")).empty());
        }
        if (c.listing != 200) {
            EXPECT_TRUE(FindAll(kDomesticNumberPattern, Gbk(listing.body)).empty());
            EXPECT_EQ(Fetch(at.primary, "/message/17012345678.html", site.CaFile()).status,
                      c.listing);
        }
        const Answer post = Fetch(at.notice, "/blogs/?id=88", site.CaFile());
        EXPECT_EQ(post.status, c.post);
        if (c.post != 200) {
            EXPECT_EQ(post.body.find(NoticeKeyMarker(NoticeKey::LatestVersion)), std::string::npos);
        }
        const Answer picture = Fetch(at.notice, std::string(kNoticePicturePath), site.CaFile());
        EXPECT_EQ(picture.status, c.picture);
        if (c.picture != 200) {
            EXPECT_FALSE(DecodePng(picture.body));
        }
    }
}

TEST(DemoSiteTrouble, SlowAnswersWaitBeforeEveryAnswer) {
    ScratchDir state;
    DemoOptions options = Ephemeral(state.path());
    options.slowMs = 300;
    DemoSite site(options);
    site.Start();
    for (const std::string& origin : {site.Origins().primary, site.Origins().notice}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Fetch(origin, "/", site.CaFile()).error, httplib::Error::Success);
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300))
            << origin;
    }
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TEST(DemoSiteState, KeepsAGoodCaAndReplacesWhatIsDamaged) {
    ScratchDir state;
    const fs::path dir = state.path() / "nested";
    const TlsIdentity first = LoadOrCreateTlsIdentity(dir);
    EXPECT_TRUE(first.createdCa);
    EXPECT_TRUE(first.createdServer);
    EXPECT_EQ(first.caFile, dir / kCaCertificateFile);
    EXPECT_TRUE(first.caFile.is_absolute());
    for (const char* key : {kCaKeyFile, kServerKeyFile}) {
        EXPECT_EQ(fs::status(dir / key).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write)
            << key;
    }
    const std::string ca = ReadFile(first.caFile);

    const TlsIdentity again = LoadOrCreateTlsIdentity(dir);
    EXPECT_FALSE(again.createdCa);
    EXPECT_FALSE(again.createdServer);
    EXPECT_EQ(ReadFile(again.caFile), ca);

    // A server certificate from another CA is reissued; the CA stays.
    ScratchDir other;
    LoadOrCreateTlsIdentity(other.path());
    fs::copy_file(other.path() / kServerCertificateFile, dir / kServerCertificateFile,
                  fs::copy_options::overwrite_existing);
    fs::copy_file(other.path() / kServerKeyFile, dir / kServerKeyFile,
                  fs::copy_options::overwrite_existing);
    const TlsIdentity reissued = LoadOrCreateTlsIdentity(dir);
    EXPECT_FALSE(reissued.createdCa);
    EXPECT_TRUE(reissued.createdServer);
    EXPECT_EQ(ReadFile(reissued.caFile), ca);
    EXPECT_EQ(X509_verify(reissued.serverCertificate.get(),
                          X509_get0_pubkey(reissued.caCertificate.get())),
              1);

    // An unreadable CA key means a new CA and a new server certificate.
    std::ofstream(dir / kCaKeyFile) << "not a key";
    const TlsIdentity renewed = LoadOrCreateTlsIdentity(dir);
    EXPECT_TRUE(renewed.createdCa);
    EXPECT_TRUE(renewed.createdServer);
    EXPECT_NE(ReadFile(renewed.caFile), ca);
    EXPECT_EQ(fs::status(dir / kCaKeyFile).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(DemoSiteEnv, TheEnvFileAppearsWhenServingAndGoesWithTheSite) {
    ScratchDir state;
    DemoOptions options = Ephemeral(state.path() / "with space");
    options.envFile = state.path() / "run" / "demo.env";
    std::string lines;
    {
        DemoSite site(options);
        site.Start();
        lines = site.EnvLines();
        EXPECT_EQ(ReadFile(*options.envFile), lines);
        const SiteOrigins& at = site.Origins();
        EXPECT_EQ(lines, "SMSDOCK_PRIMARY_SITE=" + at.primary + "\n" + "SMSDOCK_SECONDARY_SITE=" +
                             at.secondary + "\n" + "SMSDOCK_NOTICE_SITE=" + at.notice + "\n" +
                             "SMSDOCK_ARTICLE_SITE=" + at.article + "\n" + "SMSDOCK_CA_FILE='" +
                             site.CaFile().string() + "'\n");
    }
    EXPECT_FALSE(fs::exists(*options.envFile));
}

TEST(DemoSiteEnv, ShellQuotingLeavesPlainPathsAlone) {
    const std::pair<const char*, const char*> cases[] = {
        {"/tmp/smsdock-demo-0/ca.pem", "/tmp/smsdock-demo-0/ca.pem"},
        {"/tmp/a b/ca.pem", "'/tmp/a b/ca.pem'"},
        {"/tmp/it's/ca.pem", "'/tmp/it'\\''s/ca.pem'"},
        {"/tmp/$HOME", "'/tmp/$HOME'"},
        {"", "''"},
    };
    for (const auto& [value, quoted] : cases)
        EXPECT_EQ(ShellQuoted(value), quoted) << value;
}

TEST(DemoOptions, CommandLineSetsWhatItNames) {
    const auto parse = [](std::vector<std::string> args) { return ParseCommandLine(args); };

    const ParsedCommandLine defaults = parse({});
    EXPECT_TRUE(defaults.error.empty());
    EXPECT_EQ(defaults.options.primaryPort, 18441);
    EXPECT_EQ(defaults.options.noticePort, 18080);
    EXPECT_EQ(defaults.options.content.latestVersion, "1.8");
    EXPECT_EQ(defaults.options.stateDir, DefaultStateDir());

    const ParsedCommandLine a = parse({"--port-base",
                                       "20000",
                                       "--notice-port=0",
                                       "--seed",
                                       "42",
                                       "--outdated",
                                       "--missing-keys",
                                       "--none-values=link",
                                       "--no-marker",
                                       "--fail=close",
                                       "--slow-ms",
                                       "250",
                                       "--state-dir",
                                       "/tmp/x",
                                       "--env-file",
                                       "/tmp/e",
                                       "--domestic-pages=57",
                                       "--no-pagination",
                                       "--timer-ms",
                                       "30000",
                                       "--quiet"});
    ASSERT_EQ(a.error, "");
    const DemoOptions& o = a.options;
    EXPECT_EQ(o.primaryPort, 20000);
    EXPECT_EQ(o.secondaryPort, 20001);
    EXPECT_EQ(o.noticePort, 0) << "a role's own port wins over --port-base";
    EXPECT_EQ(o.articlePort, 20003);
    EXPECT_EQ(o.content.seed, 42u);
    EXPECT_EQ(o.content.latestVersion, "1.9");
    EXPECT_EQ(o.content.missingKeys.size(), 6u);
    EXPECT_FALSE(o.content.missingKeys.contains(NoticeKey::LatestVersion));
    EXPECT_EQ(o.content.noneKeys, std::set<NoticeKey>{NoticeKey::JumpLink});
    EXPECT_FALSE(o.content.noticeMarker);
    EXPECT_EQ(o.failNumbers, FailMode::CloseConnection);
    EXPECT_EQ(o.slowMs, 250);
    EXPECT_EQ(o.stateDir, "/tmp/x");
    EXPECT_EQ(o.envFile, fs::path("/tmp/e"));
    EXPECT_EQ(o.content.domesticPages, 57);
    EXPECT_FALSE(o.content.pagination);
    EXPECT_EQ(o.content.timerPeriodMs, 30000);
    EXPECT_TRUE(o.quiet);

    EXPECT_EQ(parse({"--none-values"}).options.content.noneKeys,
              (std::set<NoticeKey>{NoticeKey::Notice, NoticeKey::NoticePicture,
                                   NoticeKey::AdvertPicture, NoticeKey::JumpLink}));
    EXPECT_EQ(parse({"--fail"}).options.failNumbers, FailMode::ServerError);
    EXPECT_TRUE(parse({"-h"}).help);

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--seed"},
             {"--seed", "x"},
             {"--primary-port", "70000"},
             {"--port-base", "65533"},
             {"--per-page", "0"},
             {"--fail=sometimes"},
             {"--missing-keys=version,colour"},
             {"--no-marker=yes"},
             {"--bogus"},
             {"stray"},
         }) {
        EXPECT_NE(parse(bad).error, "") << ::testing::PrintToString(bad);
    }
}

}  // namespace
}  // namespace smsdock::demo
