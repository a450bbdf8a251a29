#include "tests/ui/gui_harness.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTest>
#include <QWindow>

#include "ui/qt_text.h"
#include "ui/window_layer.h"

namespace smsdock::gui {

void UseWindowLayer() {
    InitialiseWindowLayer();
}

QWidget* OpenWindow(std::string_view window) {
    const QString name = QString::fromUtf8(window.data(), static_cast<int>(window.size()));
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == name && top->isVisible()) return top;
    return nullptr;
}

void CloseAllWindows() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible()) top->close();
    // The layer destroys closed windows from the event loop.
    QTest::qWait(1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

namespace {

QWindow* Exposed(QWidget* target, QPoint& at) {
    QWidget* top = target->window();
    if (!QTest::qWaitForWindowExposed(top)) return nullptr;
    at = target->mapTo(top, at);
    return top->windowHandle();
}

}  // namespace

void Press(QWidget* target, QPoint at, Qt::MouseButton button) {
    if (QWindow* window = Exposed(target, at)) QTest::mousePress(window, button, {}, at);
    QCoreApplication::processEvents();
}

void Click(QWidget* target, QPoint at, Qt::MouseButton button) {
    if (QWindow* window = Exposed(target, at)) QTest::mouseClick(window, button, {}, at);
    QCoreApplication::processEvents();
}

void DoubleClick(QWidget* target, QPoint at) {
    if (QWindow* window = Exposed(target, at)) QTest::mouseDClick(window, Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) return false;
        QTest::qWait(5);
    }
    return true;
}

QMessageBox* OpenMessageBox() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) return box;
    return nullptr;
}

OpenedUrls::OpenedUrls()
    : previous_(SetUrlOpener([this](const Text& url) { urls_.push_back(url); })) {}

OpenedUrls::~OpenedUrls() {
    SetUrlOpener(previous_);
}

Text Gbk(std::string_view utf8) {
    return ToText(QString::fromUtf8(utf8.data(), static_cast<int>(utf8.size())));
}

}  // namespace smsdock::gui
