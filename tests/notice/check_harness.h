#pragma once

// Runs the start-up check in this test process as the program runs it: on a worker thread,
// while this thread, the window thread, serves the main window. What reaches the user is
// recorded in order: pages handed to the URL opener and message boxes, which are answered
// with OK.

#include <QMessageBox>
#include <functional>
#include <string>
#include <vector>

#include "tests/notice/notice_fixture.h"
#include "text/text.h"

namespace smsdock::testing {

// The main window with its event table but without its created event (the tests start the
// check themselves), and the update pop-up window, registered; the window layer initialised.
// An EndProgram while a test runs fails the test process instead of ending it quietly.
void LoadMainWindowWithoutWorker();

// Closes every window and lets the layer destroy them.
void CloseWindows();

// Runs RunStartupCheck on a worker and returns what happened, "open <url>" and
// "box <caption>|<text>" in order. `whileBoxOpen` runs while a box is shown, before it is
// answered. Fails the test when the check does not end within a few seconds.
std::vector<std::string> RunCheck(const std::function<void(QMessageBox&)>& whileBoxOpen = {});

// Records the URL opener's calls while it lives.
class UrlLog {
  public:
    explicit UrlLog(std::vector<std::string>& events);
    ~UrlLog();

  private:
    std::function<void(const Text&)> previous_;
};

}  // namespace smsdock::testing
