// smsdock-snapshot: runs SmsDock exactly as the smsdock executable does, waits for its first
// listing, saves a picture of the main window and ends the program. For machines without a
// display (run it on the offscreen platform); scripts/run.sh uses it there.
//
//   smsdock-snapshot PICTURE.png [TIMEOUT_SECONDS]
//
// The first listing counts as done once the number list has rows and has not changed for a
// moment. Prints the picture's path. Exit code 0 when the listing came, 1 when the time ran out
// first (the picture is saved all the same), 2 for a bad command line.

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/shell.h"
#include "app/state/window_names.h"
#include "ui/window_layer.h"

namespace {

QWidget* MainWindow() {
    const QString name = QString::fromUtf8(smsdock::kMainWindow.data(),
                                           static_cast<int>(smsdock::kMainWindow.size()));
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == name && top->isVisible()) return top;
    return nullptr;
}

int NumberRows(QWidget* window) {
    const auto* list = window->findChild<QTableView*>(QStringLiteral("超级列表框1"));
    return list ? list->model()->rowCount() : 0;
}

// Saves the picture and ends the program with exitCode.
void SaveAndEnd(QWidget* window, const QString& path, int exitCode) {
    if (!window || !window->grab().save(path, "PNG")) {
        std::fprintf(stderr, "smsdock-snapshot: could not save %s\n", qPrintable(path));
        smsdock::EndProgram(1);
    }
    std::printf("%s\n", qPrintable(path));
    std::fflush(stdout);
    smsdock::EndProgram(exitCode);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: smsdock-snapshot PICTURE.png [TIMEOUT_SECONDS]\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int timeoutMs = argc == 3 ? std::atoi(argv[2]) * 1000 : 30'000;
    constexpr int kPollMs = 100;
    constexpr int kSteadyPolls = 4;  // unchanged for this many polls: the listing is complete

    smsdock::RunWindowLayerProgram(argc, argv, [&] {
        smsdock::InitialiseWindowLayer();
        auto* poll = new QTimer(qApp);  // owned by the application
        auto* clock = new QElapsedTimer;
        clock->start();
        QObject::connect(poll, &QTimer::timeout, [=, rows = 0, steady = 0]() mutable {
            QWidget* window = MainWindow();
            const int now = window ? NumberRows(window) : 0;
            steady = now > 0 && now == rows ? steady + 1 : 0;
            rows = now;
            if (steady >= kSteadyPolls) {
                poll->stop();
                SaveAndEnd(window, path, 0);
            } else if (clock->elapsed() > timeoutMs) {
                poll->stop();
                std::fprintf(stderr, "smsdock-snapshot: no numbers listed within %d s\n",
                             timeoutMs / 1000);
                SaveAndEnd(window, path, 1);
            }
        });
        poll->start(kPollMs);
        return smsdock::StartRoutine();
    });
}
