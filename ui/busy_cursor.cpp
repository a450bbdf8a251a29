#include <QCursor>
#include <QGuiApplication>

#include "ui/window_layer.h"

namespace smsdock {

BusyCursor::BusyCursor() {
    if (!OnWindowThread()) return;
    // The override reaches the windows at once; no event is processed, so no other handler can
    // run while the caller waits.
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    shown_ = true;
}

BusyCursor::~BusyCursor() {
    if (shown_) QGuiApplication::restoreOverrideCursor();
}

}  // namespace smsdock
