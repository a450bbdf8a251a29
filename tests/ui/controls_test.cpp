// Properties and control operations of the window layer, on real widgets.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QImage>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "tests/ui/gui_harness.h"
#include "tests/ui/test_windows.h"
#include "ui/controls.h"
#include "ui/window_layer.h"

namespace smsdock {
namespace {

using gui::Find;
using gui::Gbk;
using gui::kTestWindow;

Bytes EncodedPicture(const char* format, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return Bytes(data.begin(), data.end());
}

class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override { gui::LoadTestWindow(); }
    void TearDown() override { gui::CloseAllWindows(); }
};

TEST_F(ControlsTest, CaptionsReadBackByteForByteAndShowAsPlainText) {
    // Markup, an ampersand and every kind of line break, as a page might deliver them.
    const Text written = Gbk("<b>粗体</b> & <a href=x>链</a>\r\n二\r三\n四");
    for (const char* control : {"标签", "透明", "链接", "按钮", "甲", "分组"}) {
        SCOPED_TRACE(control);
        SetCaption(kTestWindow, control, written);
        EXPECT_EQ(Caption(kTestWindow, control), written);
    }
    EXPECT_EQ(Find<TextLabel>(kTestWindow, "透明")->ShownText(),
              QString::fromUtf8("<b>粗体</b> & <a href=x>链</a>\u2028二\u2028三\u2028四"));
    // The ampersand is shown, not taken as a shortcut mark.
    EXPECT_TRUE(Find<QPushButton>(kTestWindow, "按钮")->text().contains("&&"));

    SetCaption(kTestWindow, "", Gbk("新标题"));
    EXPECT_EQ(Caption(kTestWindow, ""), Gbk("新标题"));
    EXPECT_EQ(gui::OpenWindow(kTestWindow)->windowTitle(), QString::fromUtf8("新标题"));
}

TEST_F(ControlsTest, TextColourIsReadBackAndDrawn) {
    EXPECT_EQ(TextColour(kTestWindow, "透明"), Rgb(255, 0, 0));
    SetCaption(kTestWindow, "标签", Gbk("████"));
    SetTextColour(kTestWindow, "标签", Rgb(41, 35, 190));
    EXPECT_EQ(TextColour(kTestWindow, "标签"), 0xBE2329u);

    const QImage drawn = Find(kTestWindow, "标签")->grab().toImage();
    bool found = false;
    for (int y = 0; y < drawn.height() && !found; ++y)
        for (int x = 0; x < drawn.width() && !found; ++x)
            found = drawn.pixelColor(x, y) == QColor(41, 35, 190);
    EXPECT_TRUE(found);
}

TEST_F(ControlsTest, PicturesDecodePngAndJpegAndEmptyBytesLeaveAnEmptyBox) {
    auto* box = Find<PictureBox>(kTestWindow, "图片");
    ASSERT_NE(box, nullptr);
    SetPicture(kTestWindow, "图片", EncodedPicture("PNG", {30, 20}));
    EXPECT_EQ(box->Picture().size(), QSize(30, 20));
    SetPicture(kTestWindow, "图片", EncodedPicture("JPEG", {40, 10}));
    EXPECT_EQ(box->Picture().size(), QSize(40, 10));

    SetPicture(kTestWindow, "图片", Bytes{});
    EXPECT_TRUE(box->Picture().isNull());
    EXPECT_TRUE(Visible(kTestWindow, "图片"));

    SetPicture(kTestWindow, "图片", EncodedPicture("PNG", {5, 5}));
    SetPicture(kTestWindow, "图片", ToBytes("<html>not a picture</html>"));
    EXPECT_TRUE(box->Picture().isNull());
}

TEST_F(ControlsTest, VisibleIsTheControlsOwnStateAndBringToTopRaisesIt) {
    SetVisible(kTestWindow, "图片", false);
    EXPECT_FALSE(Visible(kTestWindow, "图片"));
    SetVisible(kTestWindow, "图片", true);
    EXPECT_TRUE(Visible(kTestWindow, "图片"));

    // The list (left 0 to 300) and the picture box (from 300) meet; move the box over the list.
    QWidget* window = gui::OpenWindow(kTestWindow);
    QWidget* box = Find(kTestWindow, "图片");
    box->move(250, 80);
    box->lower();
    const QPoint overlap(270, 120);
    EXPECT_NE(window->childAt(overlap), box);
    BringToTop(kTestWindow, "图片");
    EXPECT_EQ(window->childAt(overlap), box);
}

TEST_F(ControlsTest, PeriodWritesFollowTheirRules) {
    struct Case {
        int before;
        int written;
        int period;
        bool running;
    };
    const Case cases[] = {
        {0, 150, 150, true}, {150, 0, 0, false},  {150, -5, 0, false},
        {0, -5, 0, false},   {150, 90, 90, true},
    };
    auto* timer = Find<QTimer>(kTestWindow, "时钟");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.before << " -> " << c.written);
        SetPeriod(kTestWindow, "时钟", c.before);
        SetPeriod(kTestWindow, "时钟", c.written);
        EXPECT_EQ(Period(kTestWindow, "时钟"), c.period);
        EXPECT_EQ(timer->isActive(), c.running);
        if (c.running) {
            EXPECT_EQ(timer->interval(), c.period);
        }
    }

    // Writing the period the timer already has does not restart it.
    SetPeriod(kTestWindow, "时钟", 400);
    QTest::qWait(200);
    SetPeriod(kTestWindow, "时钟", 400);
    EXPECT_LT(timer->remainingTime(), 300);
    SetPeriod(kTestWindow, "时钟", 0);
}

TEST_F(ControlsTest, ComboKeepsInsertionOrderAndValuesAndSelectsNothingByItself) {
    auto* combo = Find<QComboBox>(kTestWindow, "组合");
    EXPECT_FALSE(combo->isEditable());
    EXPECT_LT(combo->height(), 40);  // the described 40 includes the dropped list
    EXPECT_EQ(CurrentSelection(kTestWindow, "组合"), -1);
    SetCurrentSelection(kTestWindow, "组合", 0);
    EXPECT_EQ(CurrentSelection(kTestWindow, "组合"), -1);

    AddItem(kTestWindow, "组合", Gbk("第3页"), 3);
    AddItem(kTestWindow, "组合", Gbk("第1页"), 1);
    AddItem(kTestWindow, "组合", Gbk("第2页"), 2);
    EXPECT_EQ(CurrentSelection(kTestWindow, "组合"), -1);
    EXPECT_EQ(GetItemText(kTestWindow, "组合", 0), Gbk("第3页"));
    EXPECT_EQ(GetItemText(kTestWindow, "组合", 2), Gbk("第2页"));
    EXPECT_EQ(GetItemValue(kTestWindow, "组合", 1), 1);
    for (int outside : {-1, 3}) {
        EXPECT_EQ(GetItemText(kTestWindow, "组合", outside), Text());
        EXPECT_EQ(GetItemValue(kTestWindow, "组合", outside), -1);
    }

    SetCurrentSelection(kTestWindow, "组合", 2);
    EXPECT_EQ(CurrentSelection(kTestWindow, "组合"), 2);
    SetCurrentSelection(kTestWindow, "组合", 7);
    EXPECT_EQ(CurrentSelection(kTestWindow, "组合"), -1);

    ClearItems(kTestWindow, "组合");
    EXPECT_EQ(combo->count(), 0);
    EXPECT_EQ(CurrentSelection(kTestWindow, "组合"), -1);
}

TEST_F(ControlsTest, ListRowsAndCells) {
    auto* view = Find<QTableView>(kTestWindow, "列表");
    EXPECT_EQ(InsertRow(kTestWindow, "列表"), 0);
    EXPECT_EQ(InsertRow(kTestWindow, "列表"), 1);
    SetCellText(kTestWindow, "列表", 1, 2, Gbk("12:00"));
    SetCellText(kTestWindow, "列表", 0, 1, Gbk(" 12345678901 "));
    SetCellText(kTestWindow, "列表", 5, 0, Gbk("ignored"));
    SetCellText(kTestWindow, "列表", 0, 3, Gbk("ignored"));
    EXPECT_EQ(GetCellText(kTestWindow, "列表", 0, 1), Gbk(" 12345678901 "));
    EXPECT_EQ(GetCellText(kTestWindow, "列表", 1, 2), Gbk("12:00"));
    EXPECT_EQ(GetCellText(kTestWindow, "列表", 1, 0), Text());
    EXPECT_EQ(GetCellText(kTestWindow, "列表", -1, 1), Text());
    EXPECT_EQ(view->model()->rowCount(), 2);
    EXPECT_EQ(view->model()->index(0, 1).data().toString(), QString::fromUtf8(" 12345678901 "));

    view->selectRow(1);
    EXPECT_EQ(SelectedRow(kTestWindow, "列表"), 1);
    DeleteAllRows(kTestWindow, "列表");
    EXPECT_EQ(view->model()->rowCount(), 0);
    EXPECT_EQ(SelectedRow(kTestWindow, "列表"), -1);
    EXPECT_EQ(InsertRow(kTestWindow, "列表"), 0);
}

TEST_F(ControlsTest, ListIsAReportViewWithItsColumns) {
    auto* view = Find<QTableView>(kTestWindow, "列表");
    EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(view->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_TRUE(view->showGrid());
    EXPECT_FALSE(view->isSortingEnabled());
    EXPECT_TRUE(view->horizontalHeader()->isVisible());
    EXPECT_FALSE(view->verticalHeader()->isVisible());
    const QStringList titles = {"序号", "内容", "时间"};
    const int widths[] = {40, 150, 90};
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(view->model()->headerData(column, Qt::Horizontal).toString(), titles[column]);
        EXPECT_EQ(view->columnWidth(column), widths[column]);
    }
    EXPECT_EQ(view->palette().color(QPalette::Text), QColor(255, 128, 0));
    EXPECT_EQ(view->palette().color(QPalette::Base), QColor(255, 255, 255));
}

TEST_F(ControlsTest, ListFillsThousandsOfRowsQuickly) {
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 5000; ++i) {
        const int row = InsertRow(kTestWindow, "列表");
        SetCellText(kTestWindow, "列表", row, 0, Gbk(std::to_string(i + 1)));
        SetCellText(kTestWindow, "列表", row, 1, Gbk("短信内容 123456"));
        SetCellText(kTestWindow, "列表", row, 2, Gbk("2024-01-01 12:00"));
    }
    QCoreApplication::processEvents();
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(GetCellText(kTestWindow, "列表", 4999, 0), Gbk("5000"));
}

TEST_F(ControlsTest, UnknownNamesAndMissingPropertiesGiveDefaults) {
    SetCaption("NoSuchWindow", "标签", Gbk("x"));
    SetPeriod(kTestWindow, "标签", 100);
    AddItem(kTestWindow, "列表", Gbk("x"), 1);
    EXPECT_EQ(Caption(kTestWindow, "无此控件"), Text());
    EXPECT_EQ(Period(kTestWindow, "标签"), 0);
    EXPECT_EQ(SelectedRow(kTestWindow, "组合"), -1);
    EXPECT_EQ(CurrentSelection("NoSuchWindow", "组合"), -1);
    EXPECT_EQ(InsertRow(kTestWindow, "组合"), -1);
    EXPECT_EQ(GetItemValue(kTestWindow, "列表", 0), -1);
    EXPECT_FALSE(Visible(kTestWindow, "时钟"));
    EXPECT_FALSE(Checked(kTestWindow, "按钮"));
}

}  // namespace
}  // namespace smsdock
