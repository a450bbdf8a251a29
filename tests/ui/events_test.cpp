// Events as the handlers rely on them, driven with real mouse and keyboard input.

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include "tests/ui/gui_harness.h"
#include "tests/ui/test_windows.h"
#include "ui/window_layer.h"

namespace smsdock {
namespace {

using gui::EventLog;
using gui::Find;
using gui::Gbk;
using gui::kTestWindow;

class EventsTest : public ::testing::Test {
  protected:
    void SetUp() override { gui::LoadTestWindow(); }
    void TearDown() override { gui::CloseAllWindows(); }

    // Three rows; returns the list.
    QTableView* FilledList() {
        for (int i = 0; i < 3; ++i) {
            const int row = InsertRow(kTestWindow, "列表");
            SetCellText(kTestWindow, "列表", row, 1, Gbk("行"));
        }
        return Find<QTableView>(kTestWindow, "列表");
    }
    static QPoint RowCentre(QTableView* list, int row) {
        return list->visualRect(list->model()->index(row, 1)).center();
    }
    static QPoint EmptyArea(QTableView* list) {
        return QPoint(20, list->viewport()->height() - 10);
    }
    static std::vector<std::pair<Event, int>> Logged() {
        std::vector<std::pair<Event, int>> seen;
        for (const auto& e : EventLog())
            seen.emplace_back(e.event, e.selectedRow);
        return seen;
    }
};

using Seen = std::vector<std::pair<Event, int>>;

TEST_F(EventsTest, ListClickComesAfterTheSelectionMoved) {
    QTableView* list = FilledList();
    gui::Click(list->viewport(), RowCentre(list, 1));
    EXPECT_EQ(Logged(), (Seen{{Event::Clicked, 1}}));
    gui::Click(list->viewport(), RowCentre(list, 2));
    EXPECT_EQ(Logged(), (Seen{{Event::Clicked, 1}, {Event::Clicked, 2}}));
}

TEST_F(EventsTest, ListClickOnTheEmptyAreaClearsTheSelectionAndStillCounts) {
    QTableView* list = FilledList();
    list->selectRow(0);
    gui::Click(list->viewport(), EmptyArea(list));
    EXPECT_EQ(Logged(), (Seen{{Event::Clicked, -1}}));
    EXPECT_EQ(SelectedRow(kTestWindow, "列表"), -1);
}

TEST_F(EventsTest, ListDoubleClickComesOnTheSecondPressAndItsReleaseRaisesNothing) {
    QTableView* list = FilledList();
    gui::DoubleClick(list->viewport(), RowCentre(list, 2));
    EXPECT_EQ(Logged(), (Seen{{Event::Clicked, 2}, {Event::DoubleClicked, 2}}));
    EXPECT_EQ(SelectedRow(kTestWindow, "列表"), 2);

    // On the empty area too: the list handles that press as a plain one, still no click.
    EventLog().clear();
    gui::DoubleClick(list->viewport(), EmptyArea(list));
    EXPECT_EQ(Logged(), (Seen{{Event::Clicked, -1}, {Event::DoubleClicked, -1}}));
}

TEST_F(EventsTest, KeyboardSelectionAndRightClicksRaiseNothing) {
    QTableView* list = FilledList();
    list->setFocus();
    list->selectRow(0);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(SelectedRow(kTestWindow, "列表"), 1);
    gui::Click(list->viewport(), RowCentre(list, 2), Qt::RightButton);
    gui::Click(list->horizontalHeader(), QPoint(10, 5));
    EXPECT_TRUE(EventLog().empty());
}

TEST_F(EventsTest, RadioButtonsAreOneGroupAndEveryClickCounts) {
    auto* first = Find<QRadioButton>(kTestWindow, "甲");
    auto* second = Find<QRadioButton>(kTestWindow, "乙");
    EXPECT_TRUE(Checked(kTestWindow, "甲"));
    EXPECT_FALSE(Checked(kTestWindow, "乙"));
    gui::Click(second, QPoint(8, 12));
    EXPECT_TRUE(Checked(kTestWindow, "乙"));
    EXPECT_FALSE(Checked(kTestWindow, "甲"));
    gui::Click(second, QPoint(8, 12));
    EXPECT_TRUE(Checked(kTestWindow, "乙"));
    gui::Click(first, QPoint(8, 12));
    EXPECT_TRUE(Checked(kTestWindow, "甲"));
    EXPECT_FALSE(Checked(kTestWindow, "乙"));
    ASSERT_EQ(EventLog().size(), 3u);
    EXPECT_EQ(EventLog()[0].control, "乙");
    EXPECT_EQ(EventLog()[1].control, "乙");
    EXPECT_EQ(EventLog()[2].control, "甲");
}

TEST_F(EventsTest, ButtonClickAndPicturePressRaiseTheirEvents) {
    gui::Click(Find(kTestWindow, "按钮"), QPoint(10, 10));
    gui::Click(Find(kTestWindow, "图片"), QPoint(7, 9), Qt::RightButton);
    gui::Press(Find(kTestWindow, "图片"), QPoint(7, 9));
    ASSERT_EQ(EventLog().size(), 2u);
    EXPECT_EQ(EventLog()[0].control, "按钮");
    EXPECT_EQ(EventLog()[0].event, Event::Clicked);
    EXPECT_EQ(EventLog()[1].event, Event::LeftButtonDown);
    EXPECT_EQ(EventLog()[1].args.x, 7);
    EXPECT_EQ(EventLog()[1].args.y, 9);
}

TEST_F(EventsTest, HyperlinkPressOpensItsTarget) {
    gui::OpenedUrls opened;
    gui::Click(Find(kTestWindow, "链接"), QPoint(5, 5), Qt::RightButton);
    EXPECT_TRUE(opened.urls().empty());
    gui::Press(Find(kTestWindow, "链接"), QPoint(5, 5));
    EXPECT_EQ(opened.urls(), std::vector<Text>{Text(gui::kLinkTarget)});
}

// Links reach the program in a document fetched over plain HTTP: only web pages go to the
// browser, from the hyperlink as from every other caller.
TEST(OpenUrlTest, HandsOnlyHttpAndHttpsUrlsToTheOpener) {
    gui::UseWindowLayer();
    const std::pair<const char*, bool> cases[] = {
        {"http://a.example/", true},
        {"HTTPS://a.example/x?y=1", true},
        {"", false},
        {"\xCE\xDE", false},  // "无"
        {"http://", false},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"/usr/bin/xterm", false},
        {"C:\\Windows\\notepad.exe", false},
        {"ftp://a.example/", false},
        {" http://a.example/", false},
    };
    for (const auto& [url, opens] : cases) {
        gui::OpenedUrls opened;
        OpenUrl(url);
        EXPECT_EQ(opened.urls().size(), opens ? 1u : 0u) << url;
    }
}

TEST_F(EventsTest, TimerTicksOnlyWhileItsPeriodIsPositive) {
    QTest::qWait(120);
    EXPECT_TRUE(EventLog().empty());
    SetPeriod(kTestWindow, "时钟", 30);
    EXPECT_TRUE(gui::WaitUntil([] { return EventLog().size() >= 3; }));
    SetPeriod(kTestWindow, "时钟", -1);
    const std::size_t ticks = EventLog().size();
    QTest::qWait(100);
    EXPECT_EQ(EventLog().size(), ticks);
}

}  // namespace
}  // namespace smsdock
