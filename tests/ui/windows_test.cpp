// Loading windows, modal and modeless, and message boxes.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tests/ui/gui_harness.h"
#include "tests/ui/test_windows.h"
#include "ui/window_layer.h"

namespace smsdock {
namespace {

using gui::EventLog;
using gui::Find;
using gui::Gbk;
using gui::kTestPopup;
using gui::kTestWindow;

class WindowsTest : public ::testing::Test {
  protected:
    void SetUp() override { gui::LoadTestWindow(); }
    void TearDown() override { gui::CloseAllWindows(); }

    static int Count(const std::string& control, Event event) {
        int n = 0;
        for (const auto& e : EventLog())
            n += e.control == control && e.event == event;
        return n;
    }
    static void ClickTestButton() { gui::Click(Find(kTestWindow, "按钮"), QPoint(10, 10)); }
};

TEST_F(WindowsTest, ModelessLoadReturnsAtOnceAndAnOpenWindowIsOnlyActivated) {
    ASSERT_TRUE(LoadWindow(kTestPopup));
    QWidget* popup = gui::OpenWindow(kTestPopup);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->windowModality(), Qt::NonModal);
    EXPECT_EQ(Count("popup", Event::Created), 1);

    popup->showMinimized();
    ASSERT_TRUE(LoadWindow(kTestPopup));
    EXPECT_EQ(gui::OpenWindow(kTestPopup), popup);
    EXPECT_FALSE(popup->isMinimized());
    EXPECT_EQ(Count("popup", Event::Created), 1);

    // Once closed, loading it creates it again.
    popup->close();
    QTest::qWait(1);
    ASSERT_TRUE(LoadWindow(kTestPopup));
    EXPECT_EQ(Count("popup", Event::Created), 2);
}

TEST_F(WindowsTest, ModalLoadBlocksTheOtherWindowsAndReturnsWhenClosed) {
    bool sawBlocked = false;
    QTimer::singleShot(50, [&] {
        QWidget* popup = gui::OpenWindow(kTestPopup);
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup->windowModality(), Qt::ApplicationModal);
        ClickTestButton();
        sawBlocked = Count("按钮", Event::Clicked) == 0;
        // Loading it again while it is open only activates it and returns at once.
        EXPECT_TRUE(LoadWindow(kTestPopup, {}, true));
        popup->close();
    });
    ASSERT_TRUE(LoadWindow(kTestPopup, {}, true));
    EXPECT_TRUE(sawBlocked);
    EXPECT_EQ(Count("popup", Event::Created), 1);
    QTest::qWait(1);
    ClickTestButton();
    EXPECT_EQ(Count("按钮", Event::Clicked), 1);
}

TEST_F(WindowsTest, AWindowWithAnOwnerClosesWithIt) {
    ASSERT_TRUE(LoadWindow(kTestPopup, kTestWindow));
    gui::OpenWindow(kTestWindow)->close();
    EXPECT_TRUE(gui::WaitUntil([] { return gui::OpenWindow(kTestPopup) == nullptr; }));
}

TEST_F(WindowsTest, WindowsThatCannotBeBuiltAreNotLoaded) {
    EXPECT_FALSE(LoadWindow("NoSuchWindow"));
    auto broken = gui::TestPopupDescription();
    broken.name = "Broken";
    RegisterWindow(broken, {Bind(
                               "无此控件", Event::Clicked, +[] {})});
    EXPECT_FALSE(LoadWindow("Broken"));
    RegisterWindow(broken, {Bind(
                               "提示", Event::Tick, +[] {})});  // labels do not tick
    EXPECT_FALSE(LoadWindow("Broken"));
    broken.controls.push_back(broken.controls.front());  // a name used twice
    RegisterWindow(broken, {});
    EXPECT_FALSE(LoadWindow("Broken"));
    EXPECT_EQ(gui::OpenWindow("Broken"), nullptr);
}

struct BoxCase {
    int flags;
    QMessageBox::StandardButton pressed;
    int result;
    int buttons;
};

TEST_F(WindowsTest, MessageBoxButtonsAndResults) {
    const BoxCase cases[] = {
        {kMbOk, QMessageBox::Ok, kIdOk, 1},
        {kMbOkCancel, QMessageBox::Cancel, kIdCancel, 2},
        {kMbYesNo | kMbIconQuestion, QMessageBox::No, kIdNo, 2},
        {kMbYesNoCancel, QMessageBox::Yes, kIdYes, 3},
        {kMbRetryCancel, QMessageBox::Retry, kIdRetry, 2},
        {kMbAbortRetryIgnore, QMessageBox::Ignore, kIdIgnore, 3},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.flags);
        QTimer::singleShot(20, [&] {
            QMessageBox* box = gui::OpenMessageBox();
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(static_cast<int>(box->buttons().size()), c.buttons);
            box->button(c.pressed)->click();
        });
        EXPECT_EQ(ShowMessage(Gbk("问题"), c.flags), c.result);
    }
}

TEST_F(WindowsTest, MessageBoxCaptionTextAndModality) {
    struct Seen {
        QString title, text;
        Qt::TextFormat format = Qt::AutoText;
        Qt::WindowModality modality = Qt::NonModal;
        QWidget* parent = nullptr;
    } seen;
    auto inspectAndClose = [&] {
        QMessageBox* box = gui::OpenMessageBox();
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->textFormat(), box->windowModality(),
                box->parentWidget()};
        box->button(QMessageBox::Ok)->click();
    };

    QTimer::singleShot(20, inspectAndClose);
    EXPECT_EQ(ShowMessage(Gbk("<b>公告</b>")), kIdOk);
    EXPECT_EQ(seen.title, QString::fromUtf8("信息："));
    EXPECT_EQ(seen.text, QString::fromUtf8("<b>公告</b>"));
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);  // task modal for the window thread

    QTimer::singleShot(20, inspectAndClose);
    EXPECT_EQ(ShowMessage(Gbk("有新版本"), kMbOk, Gbk("更新提示"), kTestWindow), kIdOk);
    EXPECT_EQ(seen.title, QString::fromUtf8("更新提示"));
    EXPECT_EQ(seen.modality, Qt::WindowModal);
    EXPECT_EQ(seen.parent, gui::OpenWindow(kTestWindow));

    QTimer::singleShot(20, inspectAndClose);
    ShowMessage(Gbk("x"), kMbSystemModal);
    EXPECT_EQ(seen.modality, Qt::NonModal);
}

TEST_F(WindowsTest, AnOwnedMessageBoxBlocksItsOwner) {
    bool blocked = false;
    QTimer::singleShot(30, [&] {
        ClickTestButton();
        blocked = Count("按钮", Event::Clicked) == 0;
        gui::OpenMessageBox()->button(QMessageBox::Ok)->click();
    });
    ShowMessage(Gbk("x"), kMbOk, {}, kTestWindow);
    EXPECT_TRUE(blocked);
}

}  // namespace
}  // namespace smsdock
