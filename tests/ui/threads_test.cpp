// Calls into the window layer from a worker thread while the window thread handles input.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QTableView>
#include <QTest>
#include <atomic>
#include <thread>

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

class ThreadsTest : public ::testing::Test {
  protected:
    void SetUp() override { gui::LoadTestWindow(); }
    void TearDown() override { gui::CloseAllWindows(); }

    // Runs `work` on a worker while the window thread keeps handling events.
    static void OnWorker(const std::function<void()>& work) {
        std::atomic<bool> done{false};
        std::thread worker([&] {
            work();
            done = true;
        });
        EXPECT_TRUE(gui::WaitUntil([&] { return done.load(); }, 20000));
        worker.join();
    }
};

TEST_F(ThreadsTest, AWorkersCallsRunOnTheWindowThreadAndReturnTheirResults) {
    const std::thread::id windowThread = std::this_thread::get_id();
    std::thread::id openerThread;
    UrlOpener previous =
        SetUrlOpener([&](const Text&) { openerThread = std::this_thread::get_id(); });

    int row = -2;
    Text cell, caption;
    bool onWindowThread = true;
    OnWorker([&] {
        onWindowThread = OnWindowThread();
        row = InsertRow(kTestWindow, "列表");
        SetCellText(kTestWindow, "列表", row, 1, Gbk("来自工作线程"));
        cell = GetCellText(kTestWindow, "列表", row, 1);
        caption = Caption(kTestWindow, "透明");
        OpenUrl(Gbk("http://example.invalid/"));
        // The pop-up is created by the window thread, not by the worker.
        LoadWindow(kTestPopup);
    });
    SetUrlOpener(previous);

    EXPECT_FALSE(onWindowThread);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(cell, Gbk("来自工作线程"));
    EXPECT_EQ(caption, Gbk("透明文字"));
    EXPECT_EQ(openerThread, windowThread);
    ASSERT_NE(gui::OpenWindow(kTestPopup), nullptr);
    EXPECT_EQ(gui::OpenWindow(kTestPopup)->thread(), QThread::currentThread());
}

TEST_F(ThreadsTest, AWorkersMessageBoxBlocksOnlyTheWorker) {
    struct Case {
        const char* owner;
        Qt::WindowModality modality;
        bool windowUsable;
    };
    for (const Case& c :
         {Case{"", Qt::NonModal, true}, Case{kTestWindow, Qt::WindowModal, false}}) {
        SCOPED_TRACE(c.owner);
        EventLog().clear();
        std::atomic<int> result{-1};
        std::thread worker([&] { result = ShowMessage(Gbk("公告"), kMbOk, {}, c.owner); });
        ASSERT_TRUE(gui::WaitUntil([] { return gui::OpenMessageBox() != nullptr; }));
        QMessageBox* box = gui::OpenMessageBox();
        EXPECT_EQ(box->windowModality(), c.modality);
        EXPECT_EQ(box->windowTitle(), QString::fromUtf8("信息："));

        gui::Click(Find(kTestWindow, "按钮"), QPoint(10, 10));
        EXPECT_EQ(!EventLog().empty(), c.windowUsable);
        QTest::qWait(20);
        EXPECT_EQ(result.load(), -1);  // the worker still waits

        box->button(QMessageBox::Ok)->click();
        EXPECT_TRUE(gui::WaitUntil([&] { return result.load() != -1; }));
        worker.join();
        EXPECT_EQ(result.load(), kIdOk);
    }
}

// The worker writes and reads properties and runs list and combo operations as fast as it can
// while the window thread clicks the list, the radio buttons and the button.
TEST_F(ThreadsTest, AWorkerHammeringTheControlsMeetsTheWindowThreadsClicks) {
    for (int i = 0; i < 3; ++i)
        InsertRow(kTestWindow, "列表");
    auto* list = Find<QTableView>(kTestWindow, "列表");

    std::atomic<bool> stop{false};
    std::atomic<int> rounds{0};
    std::atomic<int> mismatches{0};
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        while (!stop) {
            const int n = rounds.load();
            const Text caption = Gbk("第" + std::to_string(n) + "轮");
            SetCaption(kTestWindow, "透明", caption);
            if (Caption(kTestWindow, "透明") != caption) ++mismatches;
            const int row = InsertRow(kTestWindow, "列表");
            SetCellText(kTestWindow, "列表", row, 1, caption);
            if (GetCellText(kTestWindow, "列表", row, 1) != caption) ++mismatches;
            AddItem(kTestWindow, "组合", caption, n);
            SetCurrentSelection(kTestWindow, "组合", 0);
            (void)GetItemValue(kTestWindow, "组合", 0);
            SetTextColour(kTestWindow, "标签", Rgb(n, n, n));
            SetVisible(kTestWindow, "图片", n % 2 == 0);
            SetPeriod(kTestWindow, "时钟", n % 3 == 0 ? 0 : 1000);
            (void)SelectedRow(kTestWindow, "列表");
            (void)Checked(kTestWindow, "甲");
            if (n % 40 == 39) {
                DeleteAllRows(kTestWindow, "列表");
                ClearItems(kTestWindow, "组合");
                for (int i = 0; i < 3; ++i)
                    InsertRow(kTestWindow, "列表");
            }
            ++rounds;
        }
        finished = true;
    });

    int clicks = 0;
    while (rounds.load() < 200 && clicks < 1000) {
        if (list->model()->rowCount() > 2)
            gui::Click(list->viewport(),
                       list->visualRect(list->model()->index(clicks % 3, 0)).center());
        gui::Click(Find(kTestWindow, clicks % 2 ? "甲" : "乙"), QPoint(8, 12));
        gui::Click(Find(kTestWindow, "按钮"), QPoint(10, 10));
        ++clicks;
    }
    stop = true;
    // The worker's last call needs the window thread.
    EXPECT_TRUE(gui::WaitUntil([&] { return finished.load(); }));
    worker.join();
    EXPECT_GE(rounds.load(), 200);
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_GT(EventLog().size(), 0u);
    EXPECT_TRUE(Checked(kTestWindow, "甲") != Checked(kTestWindow, "乙"));
}

TEST_F(ThreadsTest, StartThreadRunsTheRoutineDetached) {
    static std::atomic<bool> ran;
    ran = false;
    EXPECT_TRUE(StartThread(+[] { ran = true; }));
    EXPECT_TRUE(gui::WaitUntil([] { return ran.load(); }));
    EXPECT_FALSE(StartThread(nullptr));
}

}  // namespace
}  // namespace smsdock
