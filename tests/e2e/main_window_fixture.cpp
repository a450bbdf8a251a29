#include "tests/e2e/main_window_fixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QTest>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <thread>

#include "app/events.h"
#include "app/state/window_names.h"
#include "app/windows.h"
#include "tests/ui/gui_harness.h"
#include "text/code_page.h"
#include "ui/window_layer.h"

namespace smsdock {

void PrintTo(const Text& text, std::ostream* out) {
    *out << '"' << QString::fromStdU16String(GbkToUtf16String(text)).toStdString() << '"';
}

}  // namespace smsdock

namespace smsdock::e2e {

void UseSites(const std::string& primary, const std::string& secondary) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("SMSDOCK_PRIMARY_SITE", primary.c_str(), 1);
    ::setenv("SMSDOCK_SECONDARY_SITE", secondary.c_str(), 1);
    gui::UseWindowLayer();
}

PopupCloser::PopupCloser() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        QWidget* popup = gui::OpenWindow(kUpdatePopup);
        if (!popup) return;
        ++shown_;
        if (onShown_) onShown_();
        popup->close();
    });
    timer_.start();
}

void MainWindowTest::SetUp() {
    std::vector<EventBinding> events = MainWindowEvents();
    std::erase_if(events, [](const EventBinding& b) { return b.event == Event::Created; });
    RegisterWindow(MainWindowDescription(), std::move(events));
    RegisterWindow(UpdatePopupDescription(), {});
    ASSERT_TRUE(LoadWindow(kMainWindow));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(gui::OpenWindow(kMainWindow)));
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->clear();
}

void MainWindowTest::TearDown() {
    // No handler leaves the busy cursor behind.
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(MessageBoxShown());
    gui::CloseAllWindows();
}

void MainWindowTest::ClickControl(std::string_view control) {
    QWidget* widget = gui::Find(kMainWindow, control);
    ASSERT_NE(widget, nullptr) << control;
    gui::Click(widget, QPoint(8, widget->height() / 2));
}

QTableView* MainWindowTest::List(std::string_view list) {
    return gui::Find<QTableView>(kMainWindow, list);
}

QPoint MainWindowTest::RowPoint(QTableView* view, int row) {
    if (row < 0) return QPoint(20, view->viewport()->height() - 5);
    return view->visualRect(view->model()->index(row, 1)).center();
}

void MainWindowTest::ClickRow(std::string_view list, int row) {
    QTableView* view = List(list);
    ASSERT_NE(view, nullptr) << list;
    gui::Click(view->viewport(), RowPoint(view, row));
}

void MainWindowTest::DoubleClickRow(std::string_view list, int row) {
    QTableView* view = List(list);
    ASSERT_NE(view, nullptr) << list;
    gui::DoubleClick(view->viewport(), RowPoint(view, row));
}

std::vector<std::vector<Text>> MainWindowTest::ListRows(std::string_view list) {
    std::vector<std::vector<Text>> rows;
    const QTableView* view = List(list);
    for (int r = 0; view && r < view->model()->rowCount(); ++r)
        rows.push_back({GetCellText(kMainWindow, list, r, 0), GetCellText(kMainWindow, list, r, 1),
                        GetCellText(kMainWindow, list, r, 2)});
    return rows;
}

std::vector<std::pair<Text, int>> MainWindowTest::Items() {
    std::vector<std::pair<Text, int>> items;
    const auto* combo = gui::Find<QComboBox>(kMainWindow, "组合框1");
    for (int i = 0; combo && i < combo->count(); ++i)
        items.emplace_back(GetItemText(kMainWindow, "组合框1", i),
                           GetItemValue(kMainWindow, "组合框1", i));
    return items;
}

bool MainWindowTest::RunOnWorker(void (*routine)(), int timeoutMs) {
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread worker([routine, done] {
        routine();
        done->store(true);
    });
    const bool ended = gui::WaitUntil([&] { return done->load(); }, timeoutMs);
    // A worker that hangs is left behind rather than hanging the test with it.
    if (ended) {
        worker.join();
    } else {
        worker.detach();
    }
    return ended;
}

bool MainWindowTest::MessageBoxShown() {
    return gui::OpenMessageBox() != nullptr;
}

}  // namespace smsdock::e2e
