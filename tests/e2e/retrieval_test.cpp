// Listing numbers, retrieving messages and copying, through the main window's own controls and
// handlers, against two loopback HTTPS number sites.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <memory>

#include "app/state/globals.h"
#include "app/state/window_names.h"
#include "retrieval/number_listing.h"
#include "tests/e2e/fixture_pages.h"
#include "tests/e2e/main_window_fixture.h"
#include "tests/support/test_server.h"
#include "tests/ui/gui_harness.h"
#include "ui/window_layer.h"

namespace smsdock::e2e {
namespace {

using gui::Gbk;
using smsdock::testing::Route;
using smsdock::testing::Scheme;
using smsdock::testing::TestServer;

struct NumberSites {
    TestServer primary{Scheme::kHttps};
    TestServer secondary{Scheme::kHttps};
};

NumberSites* sites = nullptr;

class NumberSitesEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        smsdock::testing::TrustTestCa();
        sites = new NumberSites();
        UseSites(sites->primary.Origin(), sites->secondary.Origin());
    }
    void TearDown() override {
        delete sites;
        sites = nullptr;
    }
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new NumberSitesEnvironment);

const char* const kSwitchHint = "单击号码复制，双击号码获取短信";
const char* const kFetchHint = "单击号码即可复制，双击号码获取短信";
const char* const kMessageStatus = "当前号码最近的短信获取成功-部分平台的短信无法获取";

using Table = std::vector<std::vector<Text>>;

Table GbkRows(const std::vector<std::vector<const char*>>& utf8) {
    Table rows;
    for (const auto& row : utf8) {
        rows.emplace_back();
        for (const char* cell : row)
            rows.back().push_back(Gbk(cell));
    }
    return rows;
}

const Table& DomesticRows() {
    static const Table rows = GbkRows({{"1", " 12345678901 ", kSwitchHint},
                                       {"2", " 16712345678 ", kSwitchHint},
                                       {"3", " 16712345678 ", kSwitchHint}});
    return rows;
}

// "第1页" … "第<count>页" with the values 1 … count.
std::vector<std::pair<Text, int>> PageItems(int count) {
    std::vector<std::pair<Text, int>> items;
    for (int j = 1; j <= count; ++j)
        items.emplace_back(Gbk("第" + std::to_string(j) + "页"), j);
    return items;
}

class RetrievalTest : public MainWindowTest {
  protected:
    void SetUp() override {
        TestServer& primary = sites->primary;
        primary.Set("/dl/1.html", Route::Content(kDomesticPage1));
        primary.Set("/gw/1.html", Route::Content(kForeignPage1));
        primary.Set("/message/12345678901.html", Route::Content(kMessages12345678901));
        primary.Set("/message/5550100.html", Route::Content(kMessages5550100));
        primary.Set("/message/16712345678.html", Route::Content(kNoMessages));
        sites->secondary.Set("/gw/3.html", Route::Content(kForeignPage3));
        primarySeen_ = primary.Requests().size();
        secondarySeen_ = sites->secondary.Requests().size();
        MainWindowTest::SetUp();
    }

    // The request targets a site received since the last look.
    std::vector<std::string> NewRequests(TestServer& site) {
        std::size_t& seen = &site == &sites->primary ? primarySeen_ : secondarySeen_;
        const auto requests = site.Requests();
        std::vector<std::string> targets;
        for (std::size_t i = seen; i < requests.size(); ++i)
            targets.push_back(requests[i].target);
        seen = requests.size();
        return targets;
    }

    static Text Status() { return Caption(kMainWindow, "标签2"); }
    static QString Clipboard() { return QGuiApplication::clipboard()->text(); }

  private:
    std::size_t primarySeen_ = 0;
    std::size_t secondarySeen_ = 0;
};

using Targets = std::vector<std::string>;

// ---- Platform switches ------------------------------------------------------------------------

TEST_F(RetrievalTest, DomesticSwitchListsPageOneRebuildsTheSelectorAndWaitsForThePopup) {
    AddItem(kMainWindow, "组合框1", Gbk("旧的一页"), 99);
    struct AtPopup {
        Table rows;
        Text platformStatus;
        bool busyCursor;
    };
    std::vector<AtPopup> atPopup;
    popups_.OnShown([&] {
        atPopup.push_back({ListRows("超级列表框1"), Caption(kMainWindow, "透明标签6"),
                           QGuiApplication::overrideCursor() != nullptr});
    });

    ClickControl("单选框1");  // already checked; the click still counts

    EXPECT_EQ(ListRows("超级列表框1"), DomesticRows());
    EXPECT_EQ(Items(), PageItems(57));
    EXPECT_EQ(CurrentSelection(kMainWindow, "组合框1"), 0);
    EXPECT_EQ(PageCount.load(), 57);
    EXPECT_EQ(Caption(kMainWindow, "透明标签6"), Gbk("已切换至国内号码"));
    EXPECT_EQ(Status(), Text());
    EXPECT_EQ(NewRequests(sites->primary), Targets{"/dl/1.html"});
    EXPECT_EQ(NewRequests(sites->secondary), Targets{});
    // The pop-up came last, after the rows and the status, with the busy cursor gone.
    ASSERT_EQ(atPopup.size(), 1u);
    EXPECT_EQ(atPopup[0].rows, DomesticRows());
    EXPECT_EQ(atPopup[0].platformStatus, Gbk("已切换至国内号码"));
    EXPECT_FALSE(atPopup[0].busyCursor);
}

TEST_F(RetrievalTest, EveryDomesticClickListsAgainOnlyAfterThePreviousPopupClosed) {
    std::vector<std::size_t> requestsAtPopup;
    popups_.OnShown([&] { requestsAtPopup.push_back(NewRequests(sites->primary).size()); });
    ClickControl("单选框1");
    ClickControl("单选框1");
    EXPECT_EQ(requestsAtPopup, (std::vector<std::size_t>{1, 1}));
    EXPECT_EQ(ListRows("超级列表框1"), DomesticRows());
}

TEST_F(RetrievalTest, DomesticSwitchGoesOnAtOnceWhenThePopupIsAlreadyOpen) {
    popups_.Pause();
    ASSERT_TRUE(LoadWindow(kUpdatePopup));  // modeless, as the start-up check shows it
    // Should the switch wait for the pop-up after all, this closes it and the test fails.
    bool closedByTest = false;
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [&] {
        closedByTest = true;
        if (QWidget* popup = gui::OpenWindow(kUpdatePopup)) popup->close();
    });
    rescue.start(3000);

    ClickControl("单选框1");

    EXPECT_FALSE(closedByTest);
    EXPECT_NE(gui::OpenWindow(kUpdatePopup), nullptr);
    EXPECT_EQ(ListRows("超级列表框1"), DomesticRows());
    popups_.Resume();
}

TEST_F(RetrievalTest, ForeignSwitchListsPageOneWithoutPaginationAndShowsNoPopup) {
    ClickControl("单选框1");
    ASSERT_EQ(Items().size(), 57u);
    ClickControl("单选框2");

    EXPECT_TRUE(Checked(kMainWindow, "单选框2"));
    EXPECT_EQ(ListRows("超级列表框1"),
              GbkRows({{"1", "+1 5550100 ", kSwitchHint}, {"2", "+15550100 ", kSwitchHint}}));
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(CurrentSelection(kMainWindow, "组合框1"), -1);
    EXPECT_EQ(PageCount.load(), 0);
    EXPECT_EQ(Caption(kMainWindow, "透明标签6"), Gbk("已切换至国外号码"));
    EXPECT_EQ(popups_.Shown(), 1);  // the domestic switch's only
    EXPECT_EQ(NewRequests(sites->primary), (Targets{"/dl/1.html", "/gw/1.html"}));
}

TEST_F(RetrievalTest, PageCountComesFromTheLastPaginationLinkAndStopsAt9999) {
    struct Case {
        const char* links;
        int pages;
    };
    const Case cases[] = {
        {"<li><a>1</a></li><li><a>2</a></li><li><a>99</a></li><li><a>4</a></li>", 4},
        {"<li><a>1</a></li><li><a>10000</a></li>", 9999},
        {"<li><a>99999999999</a></li>", 9999},
        {"<li><span>1</span></li>", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.links);
        sites->primary.Set("/gw/1.html", Route::Content(ForeignPageWithLinks(c.links)));
        ClickControl("单选框2");
        EXPECT_EQ(PageCount.load(), c.pages);
        EXPECT_EQ(Items(), PageItems(c.pages));
        EXPECT_EQ(CurrentSelection(kMainWindow, "组合框1"), c.pages > 0 ? 0 : -1);
        EXPECT_EQ(ListRows("超级列表框1"), GbkRows({{"1", "+44 7700900123 ", kSwitchHint}}));
    }
}

// ---- The fetch button ---------------------------------------------------------------------

TEST_F(RetrievalTest, FetchButtonListsTheChosenForeignPageFromTheSecondarySite) {
    sites->primary.Set("/gw/1.html", Route::Content(ForeignPageWithLinks(
                                         "<li><a>1</a></li><li><a>2</a></li><li><a>5</a></li>")));
    ClickControl("单选框2");
    SetCurrentSelection(kMainWindow, "组合框1", 2);
    NewRequests(sites->primary);

    ClickControl("按钮1");

    EXPECT_EQ(NewRequests(sites->secondary), Targets{"/gw/3.html"});
    EXPECT_EQ(NewRequests(sites->primary), Targets{});
    EXPECT_EQ(ListRows("超级列表框1"), GbkRows({{"1", "+44 7700900123 ", kFetchHint}}));
    EXPECT_EQ(Status(), Gbk("已成功获取到第3页的号码"));
    // The fetched page's own pagination changes nothing.
    EXPECT_EQ(Items(), PageItems(5));
    EXPECT_EQ(CurrentSelection(kMainWindow, "组合框1"), 2);
    EXPECT_EQ(PageCount.load(), 5);
    EXPECT_EQ(Caption(kMainWindow, "透明标签6"), Gbk("已切换至国外号码"));
}

TEST_F(RetrievalTest, FetchButtonWithAnEmptySelectorRequestsPageMinusOne) {
    const int row = InsertRow(kMainWindow, "超级列表框1");
    SetCellText(kMainWindow, "超级列表框1", row, 1, Gbk(" 10000000000 "));

    ClickControl("按钮1");  // 单选框1 is checked at start

    EXPECT_EQ(NewRequests(sites->secondary), Targets{"/dl/-1.html"});
    EXPECT_TRUE(ListRows("超级列表框1").empty());
    EXPECT_EQ(Status(), Gbk("已成功获取到的号码"));
    EXPECT_EQ(popups_.Shown(), 0);
}

// ---- The start-up listing -------------------------------------------------------------------

TEST_F(RetrievalTest, StartupListingFromTheWorkerAddsPagesWithoutClearingAndWritesNoStatus) {
    AddItem(kMainWindow, "组合框1", Gbk("旧的一页"), 99);
    const Text warning = Caption(kMainWindow, "透明标签6");

    ASSERT_TRUE(RunOnWorker(&LoadFirstDomesticPage));

    EXPECT_EQ(ListRows("超级列表框1"), DomesticRows());
    auto expected = PageItems(57);
    expected.insert(expected.begin(), {Gbk("旧的一页"), 99});
    EXPECT_EQ(Items(), expected);
    EXPECT_EQ(CurrentSelection(kMainWindow, "组合框1"), 0);
    EXPECT_EQ(PageCount.load(), 57);
    EXPECT_EQ(Caption(kMainWindow, "透明标签6"), warning);
    EXPECT_EQ(Status(), Text());
    EXPECT_EQ(popups_.Shown(), 0);
    EXPECT_EQ(NewRequests(sites->primary), Targets{"/dl/1.html"});
}

// ---- Messages -------------------------------------------------------------------------------

TEST_F(RetrievalTest, DoubleClickListsTheMessagesOfTheNumberBetweenTheFirstTwoSpaces) {
    struct Case {
        const char* platform;
        int row;  // -1: the empty area below the rows
        const char* path;
        const char* number;
        Table messages;
    };
    const Case cases[] = {
        {"单选框1", 0, "/message/12345678901.html", "12345678901",
         // Cells exactly as matched: the entity and the tag stay.
         GbkRows({{"1", "【示例网】您的验证码是 482913，5分钟内有效。", "2024-05-01 10:00:00"},
                  {"2", "Tom &amp; Jerry: code <b>7731</b>", "3分钟前"},
                  {"3", "Your code is 5566", "1小时前"}})},
        {"单选框2", 0, "/message/5550100.html", "5550100",
         GbkRows({{"1", "G-204481 is your verification code.", "刚刚"}})},
        {"单选框2", 1, "/message/.html", "", {}},
        {"单选框2", -1, "/message/.html", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + std::string(" row ") + std::to_string(c.row));
        ClickControl(c.platform);
        NewRequests(sites->primary);
        DoubleClickRow("超级列表框1", c.row);
        const Targets requests = NewRequests(sites->primary);
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests.back(), c.path);
        EXPECT_EQ(CurrentNumber.Get(), Gbk(c.number));
        EXPECT_EQ(ListRows("超级列表框2"), c.messages);
        EXPECT_EQ(Status(), Gbk(kMessageStatus));
    }
}

TEST_F(RetrievalTest, EachRetrievalReplacesTheMessagesOfTheLast) {
    ClickControl("单选框1");
    DoubleClickRow("超级列表框1", 0);
    ASSERT_EQ(ListRows("超级列表框2").size(), 3u);

    sites->primary.Set("/message/16712345678.html", Route::Content(kMessages5550100));
    DoubleClickRow("超级列表框1", 1);
    EXPECT_EQ(ListRows("超级列表框2"),
              GbkRows({{"1", "G-204481 is your verification code.", "刚刚"}}));
    // The double-click's first press copied the number; the retrieval's status replaced the
    // confirmation.
    EXPECT_EQ(Clipboard(), QString::fromUtf8(" 16712345678 "));
    EXPECT_EQ(Status(), Gbk(kMessageStatus));

    sites->primary.Set("/message/16712345678.html", Route::Content(kNoMessages));
    DoubleClickRow("超级列表框1", 1);
    EXPECT_TRUE(ListRows("超级列表框2").empty());
    EXPECT_EQ(Status(), Gbk(kMessageStatus));
    EXPECT_EQ(NewRequests(sites->primary),
              (Targets{"/dl/1.html", "/message/12345678901.html", "/message/16712345678.html",
                       "/message/16712345678.html"}));
}

// ---- Copy actions ---------------------------------------------------------------------------

TEST_F(RetrievalTest, ClickingANumberCopiesTheWholeCellAndConfirmsWhatTheClipboardHolds) {
    ClickControl("单选框1");

    ClickRow("超级列表框1", 0);
    EXPECT_EQ(Clipboard(), QString::fromUtf8(" 12345678901 "));
    EXPECT_EQ(Status(), Gbk("所选号码 12345678901 已复制"));

    ClickRow("超级列表框1", -1);
    EXPECT_EQ(Clipboard(), QString());
    EXPECT_EQ(Status(), Gbk("所选号码已复制"));
}

TEST_F(RetrievalTest, ClickingAMessageCopiesItsContent) {
    ClickControl("单选框1");
    DoubleClickRow("超级列表框1", 0);
    SetCaption(kMainWindow, "标签2", Text());

    ClickRow("超级列表框2", 1);
    EXPECT_EQ(Clipboard(), QString::fromUtf8("Tom &amp; Jerry: code <b>7731</b>"));
    EXPECT_EQ(Status(), Gbk("当前短信内容已成功复制"));

    ClickRow("超级列表框2", -1);
    EXPECT_EQ(Clipboard(), QString());
    EXPECT_EQ(Status(), Gbk("当前短信内容已成功复制"));
}

}  // namespace
}  // namespace smsdock::e2e
