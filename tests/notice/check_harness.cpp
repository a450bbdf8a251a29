#include "tests/notice/check_harness.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QTest>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

#include "app/events.h"
#include "app/state/window_names.h"
#include "app/windows.h"
#include "notice/startup_check.h"
#include "tests/ui/gui_harness.h"
#include "ui/qt_text.h"
#include "ui/window_layer.h"

namespace smsdock::testing {

namespace {

// The shutdown runs the exit handlers; a test process must never get there.
void FailOnEndProgram() {
    std::fprintf(stderr, "EndProgram was called inside the test process\n");
    std::_Exit(1);
}

constexpr int kCheckTimeoutMs = 10000;

}  // namespace

void LoadMainWindowWithoutWorker() {
    NoticeSites::Get();
    gui::UseWindowLayer();
    RegisterExitHandler(&FailOnEndProgram);
    std::vector<EventBinding> events = MainWindowEvents();
    std::erase_if(events, [](const EventBinding& b) { return b.event == Event::Created; });
    RegisterWindow(MainWindowDescription(), std::move(events));
    RegisterWindow(UpdatePopupDescription(), {});
    ASSERT_TRUE(LoadWindow(kMainWindow));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(gui::OpenWindow(kMainWindow)));
}

void CloseWindows() {
    gui::CloseAllWindows();
}

UrlLog::UrlLog(std::vector<std::string>& events)
    : previous_(SetUrlOpener([&events](const Text& url) {
          events.push_back("open " + ToQString(url).toStdString());
      })) {}

UrlLog::~UrlLog() {
    SetUrlOpener(previous_);
}

std::vector<std::string> RunCheck(const std::function<void(QMessageBox&)>& whileBoxOpen) {
    std::vector<std::string> events;
    UrlLog urls(events);
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread worker([done] {
        RunStartupCheck();
        done->store(true);
    });

    QElapsedTimer clock;
    clock.start();
    while (!done->load() && clock.elapsed() < kCheckTimeoutMs) {
        if (QMessageBox* box = gui::OpenMessageBox()) {
            events.push_back("box " + box->windowTitle().toStdString() + "|" +
                             box->text().toStdString());
            if (whileBoxOpen) whileBoxOpen(*box);
            if (QAbstractButton* ok = box->button(QMessageBox::Ok)) ok->click();
        }
        QTest::qWait(5);
    }
    if (!done->load()) {
        ADD_FAILURE() << "the start-up check did not end";
        while (QMessageBox* box = gui::OpenMessageBox())
            box->close();
        gui::WaitUntil([&] { return done->load(); }, 2000);
    }
    if (done->load()) {
        worker.join();
    } else {
        worker.detach();  // it only holds the shared flag
    }
    return events;
}

}  // namespace smsdock::testing
