// A stand-in for the smsdock executable for the lifecycle tests: it runs the real start routine
// and the real shutdown, with a small event table in place of the program's own so that no
// network is touched, and prints what the exit handlers saw. Only lifecycle_test runs it.
//
//   shell_probe close-window     the main window is closed shortly after it appears
//   shell_probe end-from-worker  a worker calls EndProgram(0)
//   shell_probe end-from-window  a timer handler calls EndProgram(3)
//   shell_probe busy-worker      a worker keeps using the controls and the globals, and
//                                another waits in a message box, while the main window is
//                                closed
//   shell_probe failed-start     the main window cannot be built

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "app/shell.h"
#include "app/state/globals.h"
#include "app/state/window_names.h"
#include "ui/window_layer.h"

namespace smsdock {
namespace {

void Say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

constexpr const char* kJumpLink = "http://jump.example/";

// Runs after ReleaseGlobals, which the start routine registered first. (The busy worker may
// write the link again after its release, but never with this value.)
void ReportGlobals() {
    const bool released = CurrentNumber.Get().empty() && LatestVersion.Get().empty() &&
                          JumpLink.Get() != Text(kJumpLink);
    Say(released ? "exit handlers: globals released" : "exit handlers: globals still held");
}

void CountingHandler() {
    Say("exit handlers: counting handler ran");
}

void CloseMainWindowSoon() {
    QTimer::singleShot(100, [] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QString::fromUtf8(kMainWindow.data())) top->close();
    });
}

void PrepareExit() {
    CurrentNumber.Set("13800000000");
    LatestVersion.Set("1.8");
    JumpLink.Set(kJumpLink);
    RegisterExitHandler(&ReportGlobals);
    RegisterExitHandler(&CountingHandler);
    RegisterExitHandler(&CountingHandler);  // a routine is in the list at most once
    RegisterExitHandler(&ReleaseGlobals);
}

void CloseWindowCreated() {
    PrepareExit();
    CloseMainWindowSoon();
}

void EndFromWorkerCreated() {
    PrepareExit();
    std::thread([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EndProgram(0);
        Say("EndProgram returned");
    }).detach();
}

void EndFromWindowCreated() {
    PrepareExit();
    QTimer::singleShot(50, [] {
        EndProgram(3);
        Say("EndProgram returned");
    });
}

void BusyWorkerCreated() {
    PrepareExit();
    std::thread([] {
        for (int i = 0;; ++i) {
            SetCaption(kMainWindow, "标签2", "x");
            const int row = InsertRow(kMainWindow, "超级列表框1");
            SetCellText(kMainWindow, "超级列表框1", row, 0, "1");
            (void)GetCellText(kMainWindow, "超级列表框1", row, 0);
            (void)Caption(kMainWindow, "透明标签3");
            JumpLink.Set(i % 2 ? "a" : "b");
            PageCount = i;
        }
    }).detach();
    // A second worker waits in a message box when the window goes.
    std::thread([] { ShowMessage("notice"); }).detach();
    CloseMainWindowSoon();
}

void Nothing() {}

// Answers the run-time error box and reports what it said.
void AnswerErrorBox() {
    auto* poll = new QTimer(qApp);  // owned by the application
    QObject::connect(poll, &QTimer::timeout, [] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(top);
            if (!box || !box->isVisible()) continue;
            std::printf("error box: %s / %s\n", qPrintable(box->windowTitle()),
                        qPrintable(box->text()));
            std::fflush(stdout);
            box->button(QMessageBox::Ok)->click();
        }
    });
    poll->start(20);
}

}  // namespace
}  // namespace smsdock

int main(int argc, char** argv) {
    using namespace smsdock;
    const std::string mode = argc > 1 ? argv[1] : "";
    RunWindowLayerProgram(argc, argv, [mode] {
        if (mode == "failed-start") {
            InitialiseWindowLayer();
            RegisterExitHandler(&CountingHandler);  // dropped by the failed start
            AnswerErrorBox();
            return StartRoutine({Bind("没有这个控件", Event::Clicked, &Nothing)});
        }
        void (*created)() = mode == "end-from-worker"   ? &EndFromWorkerCreated
                            : mode == "end-from-window" ? &EndFromWindowCreated
                            : mode == "busy-worker"     ? &BusyWorkerCreated
                                                        : &CloseWindowCreated;
        return StartRoutine({Bind("", Event::Created, created)});
    });
}
