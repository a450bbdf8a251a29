#pragma once

// The program's main window, loaded with its own event table (all but the created event, so no
// start-up worker runs), driven on the offscreen platform against loopback number sites.
//
// The site settings are read once per process, so each test program points them at its sites
// in a global environment, before any test can make the program read them.

#include <gtest/gtest.h>

#include <QPoint>
#include <QTableView>
#include <QTimer>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace smsdock {

// Texts in failure messages: quoted, in UTF-8.
void PrintTo(const Text& text, std::ostream* out);

}  // namespace smsdock

namespace smsdock::e2e {

// Points SMSDOCK_PRIMARY_SITE and SMSDOCK_SECONDARY_SITE at the given origins, then
// initialises the window layer on the calling thread (offscreen unless told otherwise).
void UseSites(const std::string& primary, const std::string& secondary);

// Closes the update pop-up whenever it is open, from a timer that also runs inside a modal
// load of it, so that the load returns. `onShown` runs first, each time, while the pop-up is
// still open.
class PopupCloser {
  public:
    PopupCloser();
    void OnShown(std::function<void()> onShown) { onShown_ = std::move(onShown); }
    // A paused closer leaves the pop-up open.
    void Pause() { timer_.stop(); }
    void Resume() { timer_.start(); }
    int Shown() const { return shown_; }

  private:
    QTimer timer_;
    std::function<void()> onShown_;
    int shown_ = 0;
};

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Clicks a control of the main window the way a user would.
    static void ClickControl(std::string_view control);
    // Clicks, double-clicks row `row` of a list in its number column; row -1 means the empty
    // area below the rows.
    static void ClickRow(std::string_view list, int row);
    static void DoubleClickRow(std::string_view list, int row);

    // Every cell of a list, row by row.
    static std::vector<std::vector<Text>> ListRows(std::string_view list);
    // The selector's items as text and value.
    static std::vector<std::pair<Text, int>> Items();
    // Runs `routine` on a thread of its own while this thread dispatches events; whether it
    // ended in time.
    static bool RunOnWorker(void (*routine)(), int timeoutMs = 5000);

    // Whether an error or information box is open.
    static bool MessageBoxShown();

    PopupCloser popups_;

  private:
    static QTableView* List(std::string_view list);
    static QPoint RowPoint(QTableView* view, int row);
};

}  // namespace smsdock::e2e
