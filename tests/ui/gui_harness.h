#pragma once

// Helpers for tests that drive the window layer's real widgets on Qt's offscreen platform.
// Widgets are found by object name, which is the window's or the control's name.

#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "text/text.h"

class QMessageBox;

namespace smsdock::gui {

// Initialises the window layer for this test process; the calling thread is the window thread.
void UseWindowLayer();

// The open (visible) window of that name, or null.
QWidget* OpenWindow(std::string_view window);
// A control's widget (or timer) in an open window, or null.
template <class T = QWidget>
T* Find(std::string_view window, std::string_view control) {
    QWidget* top = OpenWindow(window);
    return top ? top->findChild<T*>(
                     QString::fromUtf8(control.data(), static_cast<int>(control.size())))
               : nullptr;
}

// Closes every window of the layer and lets it destroy them.
void CloseAllWindows();

// Mouse input through the window system, as a user's would arrive: the window must be exposed,
// and a window blocked by a modal one receives nothing.
void Press(QWidget* target, QPoint at, Qt::MouseButton button = Qt::LeftButton);
void Click(QWidget* target, QPoint at, Qt::MouseButton button = Qt::LeftButton);
void DoubleClick(QWidget* target, QPoint at);

// Processes events until `condition` holds or the time is up; whether it held.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 3000);

// The visible message box, if one is open.
QMessageBox* OpenMessageBox();

// Records what the window layer hands to the URL opener while it lives.
class OpenedUrls {
  public:
    OpenedUrls();
    ~OpenedUrls();
    const std::vector<Text>& urls() const { return urls_; }

  private:
    std::vector<Text> urls_;
    std::function<void(const Text&)> previous_;
};

// GBK Text from a UTF-8 literal, for expectations.
Text Gbk(std::string_view utf8);

}  // namespace smsdock::gui
