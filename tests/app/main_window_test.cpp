// The program's two windows as they are built from their descriptions: every control's kind,
// place, size, text, font, colour and initial state, the two timers, and a rendering of the
// main window for a person to look at.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <optional>

#include "app/events.h"
#include "app/state/window_names.h"
#include "app/windows.h"
#include "tests/ui/gui_harness.h"
#include "ui/controls.h"
#include "ui/window_layer.h"

namespace smsdock {
namespace {

using gui::Find;
using gui::Gbk;

// The main window's event table without its created event, so no start-up worker runs.
std::vector<EventBinding> EventsWithoutWorker(
    std::vector<EventBinding> events = MainWindowEvents()) {
    std::erase_if(events, [](const EventBinding& b) { return b.event == Event::Created; });
    return events;
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gui::UseWindowLayer();
        RegisterWindow(UpdatePopupDescription(), {});
    }
    void TearDown() override { gui::CloseAllWindows(); }

    static QWidget* LoadMain(std::vector<EventBinding> events = EventsWithoutWorker()) {
        RegisterWindow(MainWindowDescription(), std::move(events));
        EXPECT_TRUE(LoadWindow(kMainWindow));
        QWidget* window = gui::OpenWindow(kMainWindow);
        if (window) (void)QTest::qWaitForWindowExposed(window);
        return window;
    }
};

struct Expected {
    const char* name;
    ControlKind kind;
    QRect place;  // in the parent: the client area, or 分组框1 for the radio buttons
    const char* text;
    int fontHeight;  // 0: the window's default of 12
    bool bold;
    std::optional<Colour> colour;
};

const char* kUsageNotes =
    "\r\n在使用前你应该知晓上面的电话号码短信内容所有人都可以查看\r\n\r\n"
    "请不要用这些电话号码接收重要内容\r\n\r\n上面的电话号码只用于注册一些网站，防止被骚扰\r\n\r\n"
    "他人可以通过此电话号码找回密码，所以注册时应注意个人信息\r\n\r\n由此造成经济损失概不负责\r\n\r"
    "\n"
    "在使用时即代表以上条款已同意";
const char* kPrivacyHint =
    "\r\n保护您的隐私\r\n\r\n防止信息泄露\r\n\r\n使用须知必看\r\n\r\n\r\n\r\n↓↓↓↓↓↓";

const Expected kMainControls[] = {
    {"透明标签5",
     ControlKind::TransparentLabel,
     {10, 503, 590, 24},
     "获取短信时会有一点点卡顿属于正常现象   耐心等待即可",
     16,
     true,
     Rgb(255, 0, 0)},
    {"超级链接框1", ControlKind::HyperlinkLabel, {456, 13, 141, 24}, "点击联系作者", 16, true, {}},
    {"分组框1", ControlKind::GroupBox, {7, 3, 200, 40}, "选择号码类型", 0, false, {}},
    {"单选框2", ControlKind::RadioButton, {112, 13, 80, 24}, "国外平台", 0, false, {}},
    {"单选框1", ControlKind::RadioButton, {9, 13, 80, 24}, "国内平台", 0, false, {}},
    {"透明标签6",
     ControlKind::TransparentLabel,
     {7, 238, 344, 24},
     "请勿频繁双击列表获取短信，会被拉黑！",
     16,
     true,
     Rgb(255, 0, 0)},
    {"透明标签3",
     ControlKind::TransparentLabel,
     {528, 699, 80, 28},
     "版本号：1.8",
     0,
     false,
     Rgb(0, 0, 0)},
    {"透明标签2",
     ControlKind::TransparentLabel,
     {8, 538, 592, 26},
     "使用须知",
     20,
     true,
     Rgb(255, 0, 0)},
    {"透明标签1",
     ControlKind::TransparentLabel,
     {0, 553, 608, 192},
     kUsageNotes,
     14,
     false,
     Rgb(255, 0, 255)},
    {"标签1", ControlKind::Label, {208, 12, 70, 24}, "选择页数：", 16, false, {}},
    {"组合框1", ControlKind::ComboBox, {282, 11, 80, 0}, "", 20, false, {}},
    {"按钮1", ControlKind::Button, {363, 9, 80, 30}, "获取号码", 0, false, {}},
    {"超级列表框2", ControlKind::ListView, {0, 301, 608, 203}, "", 12, false, Rgb(255, 128, 0)},
    {"标签2", ControlKind::Label, {1, 268, 607, 33}, "", 16, false, {}},
    {"超级列表框1", ControlKind::ListView, {0, 48, 348, 189}, "", 12, false, Rgb(255, 128, 0)},
    {"图片框1", ControlKind::PictureBox, {347, 48, 260, 220}, "", 0, false, {}},
    {"图片框2", ControlKind::PictureBox, {0, 530, 608, 200}, "", 0, false, {}},
    {"透明标签4",
     ControlKind::TransparentLabel,
     {352, 48, 256, 216},
     kPrivacyHint,
     19,
     false,
     Rgb(255, 0, 0)},
};

TEST_F(MainWindowTest, EveryControlStartsAsDescribed) {
    QWidget* window = LoadMain();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->windowTitle().contains(QString::fromUtf8("短信码头")));
    EXPECT_EQ(window->size(), QSize(608, 745));
    EXPECT_EQ(window->pos(), QPoint(50, 50));

    for (const Expected& e : kMainControls) {
        SCOPED_TRACE(e.name);
        QWidget* widget = Find(kMainWindow, e.name);
        ASSERT_NE(widget, nullptr);
        auto* control = dynamic_cast<Control*>(widget);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->Kind(), e.kind);
        const QRect place = widget->geometry();
        EXPECT_EQ(place.topLeft(), e.place.topLeft());
        EXPECT_EQ(place.width(), e.place.width());
        if (e.kind != ControlKind::ComboBox) {
            EXPECT_EQ(place.height(), e.place.height());
        }
        EXPECT_EQ(Visible(kMainWindow, e.name), std::string(e.name) != "图片框2");
        EXPECT_EQ(Caption(kMainWindow, e.name), Gbk(e.text));
        EXPECT_EQ(widget->font().pixelSize(), e.fontHeight ? e.fontHeight : 12);
        EXPECT_EQ(widget->font().bold(), e.bold);
        if (e.colour) {
            EXPECT_EQ(control->TextColour(), *e.colour);
        }
    }
    // The radio buttons sit inside the group box.
    EXPECT_EQ(Find(kMainWindow, "单选框1")->parentWidget(), Find(kMainWindow, "分组框1"));
    EXPECT_EQ(Find(kMainWindow, "单选框2")->parentWidget(), Find(kMainWindow, "分组框1"));
}

TEST_F(MainWindowTest, InitialStateOfTheWorkingControls) {
    LoadMain();
    EXPECT_TRUE(Checked(kMainWindow, "单选框1"));
    EXPECT_FALSE(Checked(kMainWindow, "单选框2"));
    EXPECT_EQ(Find<QComboBox>(kMainWindow, "组合框1")->count(), 0);
    EXPECT_EQ(CurrentSelection(kMainWindow, "组合框1"), -1);
    EXPECT_FALSE(Find<QComboBox>(kMainWindow, "组合框1")->isEditable());
    EXPECT_EQ(Caption(kMainWindow, "标签2"), Text());

    struct Timer {
        const char* name;
        int period;
        bool running;
    };
    for (const Timer& t : {Timer{"时钟2", 200, true}, Timer{"时钟1", 0, false}}) {
        EXPECT_EQ(Period(kMainWindow, t.name), t.period);
        EXPECT_EQ(Find<QTimer>(kMainWindow, t.name)->isActive(), t.running);
    }

    struct List {
        const char* name;
        QStringList titles;
        std::vector<int> widths;
    };
    const List lists[] = {
        {"超级列表框1", {"序号", "电话号码", "说明"}, {36, 100, 200}},
        {"超级列表框2", {"序号", "最近的短信内容", "时间"}, {36, 416, 135}},
    };
    for (const List& l : lists) {
        SCOPED_TRACE(l.name);
        auto* view = Find<QTableView>(kMainWindow, l.name);
        EXPECT_EQ(view->model()->rowCount(), 0);
        EXPECT_EQ(SelectedRow(kMainWindow, l.name), -1);
        ASSERT_EQ(view->model()->columnCount(), 3);
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(view->model()->headerData(c, Qt::Horizontal).toString(), l.titles[c]);
            EXPECT_EQ(view->columnWidth(c), l.widths[c]);
        }
        EXPECT_EQ(view->palette().color(QPalette::Base), QColor(Qt::white));
    }

    EXPECT_EQ(Find<PictureBox>(kMainWindow, "图片框1")->Picture().size(), QSize(260, 220));
    EXPECT_EQ(Find<PictureBox>(kMainWindow, "图片框2")->Picture().size(), QSize(608, 200));
    // Where they overlap at start, the notice picture covers the privacy hint.
    EXPECT_EQ(gui::OpenWindow(kMainWindow)->childAt(480, 150), Find(kMainWindow, "图片框1"));
}

TEST_F(MainWindowTest, EveryControlIsWhollyInsideTheClientArea) {
    QWidget* window = LoadMain();
    for (const Expected& e : kMainControls) {
        QWidget* widget = Find(kMainWindow, e.name);
        const QRect inWindow(widget->mapTo(window, QPoint(0, 0)), widget->size());
        EXPECT_TRUE(window->rect().contains(inWindow)) << e.name;
    }
}

TEST_F(MainWindowTest, UpdatePopupStartsAsDescribed) {
    ASSERT_TRUE(LoadWindow(kUpdatePopup));
    QWidget* popup = gui::OpenWindow(kUpdatePopup);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->windowTitle().contains(QString::fromUtf8("短信码头")));
    QWidget* label = Find(kUpdatePopup, "透明标签1");
    EXPECT_EQ(label->geometry(), QRect(0, 224, 296, 60));
    EXPECT_EQ(Caption(kUpdatePopup, "透明标签1"), Gbk("加微信第一时间获得软件更新"));
    EXPECT_EQ(label->font().pixelSize(), 20);
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(TextColour(kUpdatePopup, "透明标签1"), Rgb(255, 0, 0));
    auto* picture = Find<PictureBox>(kUpdatePopup, "图片框1");
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 304, 240));
    EXPECT_EQ(picture->Picture().size(), QSize(430, 430));
    EXPECT_TRUE(popup->rect().contains(QRect(0, 0, 304, 284)));
}

TEST_F(MainWindowTest, StatusLineTimerTicksEvery200MillisecondsAndTheAdvertTimerNever) {
    static std::vector<qint64> fast, slow;
    static QElapsedTimer clock;
    fast.clear();
    slow.clear();
    auto events = EventsWithoutWorker();
    for (EventBinding& b : events) {
        if (b.control == "时钟2")
            b.handler = [](const EventArgs&) { fast.push_back(clock.elapsed()); };
        if (b.control == "时钟1")
            b.handler = [](const EventArgs&) { slow.push_back(clock.elapsed()); };
    }
    clock.start();
    LoadMain(events);
    ASSERT_TRUE(gui::WaitUntil([] { return fast.size() >= 5; }, 3000));
    EXPECT_TRUE(slow.empty());
    // Never early; late only by what a busy machine costs.
    EXPECT_GE(fast[0], 190);
    for (std::size_t i = 1; i < fast.size(); ++i)
        EXPECT_GE(fast[i] - fast[i - 1], 150);
    const double mean = double(fast.back() - fast.front()) / double(fast.size() - 1);
    EXPECT_NEAR(mean, 200, 40);
}

// Writes main_window.png into the build's test folder for a person to compare with the
// description.
TEST_F(MainWindowTest, RendersTheMainWindowToAPicture) {
    QWidget* window = LoadMain();
    for (int row = 0; row < 3; ++row) {
        const int r = InsertRow(kMainWindow, "超级列表框1");
        SetCellText(kMainWindow, "超级列表框1", r, 0, Gbk(std::to_string(row + 1)));
        SetCellText(kMainWindow, "超级列表框1", r, 1,
                    Gbk(" 1700000000" + std::to_string(row) + " "));
        SetCellText(kMainWindow, "超级列表框1", r, 2, Gbk("单击号码复制，双击号码获取短信"));
    }
    AddItem(kMainWindow, "组合框1", Gbk("第1页"), 1);
    SetCurrentSelection(kMainWindow, "组合框1", 0);
    SetCaption(kMainWindow, "标签2", Gbk("已成功获取到第1页的号码"));
    const QImage picture = window->grab().toImage();
    const QString path = QStringLiteral(SMSDOCK_RENDER_DIR "/main_window.png");
    ASSERT_TRUE(picture.save(path));
    EXPECT_EQ(picture.size(), QSize(608, 745));
    std::printf("main window rendered to %s\n", qPrintable(path));
}

}  // namespace
}  // namespace smsdock
