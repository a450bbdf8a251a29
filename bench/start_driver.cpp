// smsdock-bench-start: runs SmsDock exactly as the smsdock executable does and ends the process
// at a milestone, so that the time from exec to exit (hyperfine) and the peak memory
// (/usr/bin/time -v) of the run can be measured from outside. Watches the windows through Qt
// from the outside, as smsdock-snapshot does; the program itself is not changed.
//
//   smsdock-bench-start painted              ends once the main window has been painted
//   smsdock-bench-start listed [ROWS]        ends once the number list has been painted with
//                                            ROWS complete rows (default 20, the demo's page)
//   smsdock-bench-start session [PAGES] [MESSAGES]
//                                            after the first listing, lists PAGES pages through
//                                            the page selector and the fetch button's routine,
//                                            then the messages of the first MESSAGES numbers
//                                            (default 10 and 10), then ends
//
// Prints the milestone, the milliseconds since main() and the peak resident set in KiB. Exit
// code 0 at the milestone, 1 when 30 seconds pass first, 2 for a bad command line.

#include <sys/resource.h>

#include <QApplication>
#include <QEvent>
#include <QTableView>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/shell.h"
#include "app/state/window_names.h"
#include "retrieval/message_listing.h"
#include "retrieval/number_listing.h"
#include "ui/window_layer.h"

namespace {

const auto kMainStart = std::chrono::steady_clock::now();

enum class Milestone { Painted, Listed, Session };

struct Settings {
    Milestone milestone = Milestone::Painted;
    int rows = 20;
    int pages = 10;
    int messages = 10;
};

QString Name(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<int>(name.size()));
}

QTableView* List(const char* name) {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == Name(smsdock::kMainWindow))
            return top->findChild<QTableView*>(QString::fromUtf8(name));
    return nullptr;
}

// Whether the list holds at least `rows` rows and the last of them has its every cell.
bool Complete(const QTableView* list, int rows) {
    const QAbstractItemModel* model = list->model();
    const int n = model->rowCount();
    return n >= rows && n > 0 && !model->index(n - 1, 2).data().toString().isEmpty();
}

[[noreturn]] void End(const char* milestone, int exitCode) {
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - kMainStart)
            .count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s %.1f ms since main, peak RSS %ld KiB\n", milestone, ms, usage.ru_maxrss);
    std::fflush(stdout);
    std::_Exit(exitCode);
}

// Lists the pages and the messages on the window thread, as the user's clicks would.
[[noreturn]] void RunSession(const Settings& settings) {
    for (int j = 0; j < settings.pages; ++j) {
        const int items = smsdock::GetItemValue(smsdock::kMainWindow, "组合框1", j) > 0 ? j : 0;
        smsdock::SetCurrentSelection(smsdock::kMainWindow, "组合框1", items);
        smsdock::FetchSelectedPage();
        QCoreApplication::processEvents();
    }
    QTableView* numbers = List("超级列表框1");
    QTableView* messages = List("超级列表框2");
    int listed = 0;
    for (int r = 0; numbers && r < settings.messages; ++r) {
        numbers->selectRow(r % std::max(1, numbers->model()->rowCount()));
        smsdock::ListMessages({});
        QCoreApplication::processEvents();
        listed += messages && messages->model()->rowCount() > 0;
    }
    if (listed < settings.messages) {
        std::fprintf(stderr, "smsdock-bench-start: only %d message pages listed\n", listed);
        End("session-incomplete", 1);
    }
    End("session", 0);
}

class Watcher : public QObject {
  public:
    explicit Watcher(Settings settings) : settings_(settings) {}

    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() != QEvent::Paint || done_) return false;
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget || widget->window()->objectName() != Name(smsdock::kMainWindow)) return false;
        if (settings_.milestone == Milestone::Painted) {
            Finish("painted");
        } else {
            QTableView* list = List("超级列表框1");
            // Cells of rows below the visible ones repaint nothing, so the list is asked for
            // one more paint once the listing is complete; the milestone is the paint that
            // shows it.
            if (list && !watching_) {
                watching_ = true;
                QObject::connect(list->model(), &QAbstractItemModel::dataChanged, list,
                                 [list, rows = settings_.rows] {
                                     if (Complete(list, rows)) list->viewport()->update();
                                 });
            }
            if (list && object == list->viewport() && Complete(list, settings_.rows))
                Finish(settings_.milestone == Milestone::Listed ? "listed" : nullptr);
        }
        return false;
    }

  private:
    // Ends (or goes on with the session) once the paint under way has been delivered.
    void Finish(const char* milestone) {
        done_ = true;
        QTimer::singleShot(0, qApp, [milestone, settings = settings_] {
            if (milestone) End(milestone, 0);
            RunSession(settings);
        });
    }

    Settings settings_;
    bool done_ = false;
    bool watching_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "painted" && argc == 2) {
        settings.milestone = Milestone::Painted;
    } else if (mode == "listed" && argc <= 3) {
        settings.milestone = Milestone::Listed;
        if (argc == 3) settings.rows = std::atoi(argv[2]);
    } else if (mode == "session" && argc <= 4) {
        settings.milestone = Milestone::Session;
        if (argc >= 3) settings.pages = std::atoi(argv[2]);
        if (argc == 4) settings.messages = std::atoi(argv[3]);
    } else {
        std::fprintf(stderr,
                     "usage: smsdock-bench-start painted | listed [ROWS] | session [PAGES] "
                     "[MESSAGES]\n");
        return 2;
    }

    smsdock::RunWindowLayerProgram(argc, argv, [settings] {
        smsdock::InitialiseWindowLayer();
        qApp->installEventFilter(new Watcher(settings));  // owned for the process's life
        QTimer::singleShot(30'000, qApp, [] {
            const QTableView* list = List("超级列表框1");
            std::fprintf(stderr, "smsdock-bench-start: no milestone within 30 s (%d rows listed)\n",
                         list ? list->model()->rowCount() : -1);
            End("timeout", 1);
        });
        return smsdock::StartRoutine();
    });
}
