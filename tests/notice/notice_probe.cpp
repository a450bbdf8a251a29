// The program's start routine with the real start-up check, run in a child process by
// startup_process_test.cpp, for the paths that end the program or depend on a fresh process.
// The sites come from the environment, as in the program. It prints, in the order things
// happen:
//
//   open <url>                                   a page handed to the URL opener
//   box <caption>|<text>|owner <window>|rows <n>  a message box, answered with OK afterwards
//   check returned, then state lines             the check returned; the window is then closed
//   exit globals released                        the exit handlers ran, after ReleaseGlobals
//   colour <r> <g> <b>                           标签2's colour after a tick of 时钟2
//
//   notice_probe check    the created event starts the check on a worker
//   notice_probe colours  the first three ticks of 时钟2; no check
//   notice_probe close    the check starts on a worker and the window is closed 300 ms later,
//                         while the worker still waits for the notice site

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTableView>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "app/events.h"
#include "app/shell.h"
#include "app/state/globals.h"
#include "app/state/window_names.h"
#include "notice/advert_timers.h"
#include "notice/startup_check.h"
#include "tests/ui/gui_harness.h"
#include "ui/controls.h"
#include "ui/qt_text.h"
#include "ui/window_layer.h"

namespace smsdock {
namespace {

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::atomic<bool> checkReturned{false};
Text privacyHint;

int Rows() {
    auto* list = gui::Find<QTableView>(kMainWindow, "超级列表框1");
    return list ? list->model()->rowCount() : -1;
}

void ReportAtExit() {
    const bool released = LatestVersion.Get().empty() && JumpLink.Get().empty();
    Say(released ? "exit globals released" : "exit globals still held");
}

std::string PictureState(const char* box) {
    const QImage& picture = gui::Find<PictureBox>(kMainWindow, box)->Picture();
    return std::string("state ") + box + " " + std::to_string(picture.width()) + "x" +
           std::to_string(picture.height()) + (Visible(kMainWindow, box) ? " shown" : " hidden");
}

void ReportAndClose() {
    Say("check returned");
    Say("state rows " + std::to_string(Rows()));
    Say(PictureState("图片框1"));
    Say(PictureState("图片框2"));
    Say("state 时钟1 " + std::to_string(Period(kMainWindow, "时钟1")));
    Say(std::string("state popup ") + (gui::OpenWindow(kUpdatePopup) ? "open" : "none"));
    const Text notice = Caption(kMainWindow, "透明标签4");
    Say("state 透明标签4 " +
        (notice == privacyHint ? std::string("privacy hint") : ToQString(notice).toStdString()));
    gui::CloseAllWindows();
}

// Answers message boxes and notices the end of the check, on the window thread.
void Watch() {
    auto* poll = new QTimer(qApp);  // owned by the application
    QObject::connect(poll, &QTimer::timeout, [poll] {
        if (QMessageBox* box = gui::OpenMessageBox()) {
            QWidget* owner = box->parentWidget();
            Say("box " + box->windowTitle().toStdString() + "|" + box->text().toStdString() +
                "|owner " + (owner ? owner->objectName().toStdString() : "none") + "|rows " +
                std::to_string(Rows()));
            box->button(QMessageBox::Ok)->click();
        } else if (checkReturned.exchange(false)) {
            poll->stop();
            ReportAndClose();
        }
    });
    poll->start(10);
}

void CheckCreated() {
    RegisterExitHandler(&ReportAtExit);  // after ReleaseGlobals, which the start routine added
    privacyHint = Caption(kMainWindow, "透明标签4");
    // A row from before, so that clearing the list shows.
    SetCellText(kMainWindow, "超级列表框1", InsertRow(kMainWindow, "超级列表框1"), 1, "old");
    Watch();
    std::thread([] {
        RunStartupCheck();
        checkReturned = true;
    }).detach();
}

void CloseCreated() {
    RegisterExitHandler(&ReportAtExit);
    std::thread([] {
        RunStartupCheck();
        Say("check returned");
    }).detach();
    QTimer::singleShot(300, [] {
        Say("closing");
        gui::CloseAllWindows();
    });
}

void ColourTick() {
    static int ticks = 0;
    RecolourStatusLine();
    if (ticks++ >= 3) return;
    const Colour colour = TextColour(kMainWindow, "标签2");
    Say("colour " + std::to_string(colour & 0xFF) + " " + std::to_string(colour >> 8 & 0xFF) + " " +
        std::to_string(colour >> 16 & 0xFF));
    if (ticks == 3) QTimer::singleShot(0, [] { gui::CloseAllWindows(); });
}

void ColoursCreated() {
    RegisterExitHandler(&ReportAtExit);
}

// The program's event table with the created event (and, for colours, 时钟2) replaced.
std::vector<EventBinding> Events(const std::string& mode) {
    const bool colours = mode == "colours";
    void (*created)() = colours ? &ColoursCreated : mode == "close" ? &CloseCreated : &CheckCreated;
    std::vector<EventBinding> events = MainWindowEvents();
    for (EventBinding& binding : events) {
        if (binding.event == Event::Created) binding = Bind("", Event::Created, created);
        if (colours && binding.control == "时钟2")
            binding = Bind("时钟2", Event::Tick, &ColourTick);
    }
    return events;
}

}  // namespace
}  // namespace smsdock

int main(int argc, char** argv) {
    using namespace smsdock;
    const std::string mode = argc > 1 ? argv[1] : "";
    RunWindowLayerProgram(argc, argv, [mode] {
        InitialiseWindowLayer();
        SetUrlOpener([](const Text& url) { Say("open " + ToQString(url).toStdString()); });
        return StartRoutine(Events(mode));
    });
}
