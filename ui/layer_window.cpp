#include "ui/layer_window.h"

#include <QCloseEvent>

#include "ui/qt_text.h"

namespace smsdock {

LayerWindow::LayerWindow(const WindowDescription& description) : name_(description.name) {
    setObjectName(QString::fromUtf8(description.name));
    setAttribute(Qt::WA_QuitOnClose, false);
    SetCaption(ToText(QString::fromUtf8(description.caption)));
    setFixedSize(description.clientWidth, description.clientHeight);
    move(description.left, description.top);
}

std::unique_ptr<LayerWindow> LayerWindow::Build(const WindowDescription& description,
                                                const std::vector<EventBinding>& events,
                                                std::string& error) {
    auto window = std::make_unique<LayerWindow>(description);
    for (const ControlDescription& control : description.controls) {
        if (control.name.empty() || window->controls_.count(control.name)) {
            error = "control name missing or used twice: " + control.name;
            return nullptr;
        }
        QWidget* parent = window.get();
        if (!control.parent.empty()) {
            Control* group = window->Find(control.parent);
            if (!group || group->Kind() != ControlKind::GroupBox) {
                error = "no group box " + control.parent + " for " + control.name;
                return nullptr;
            }
            parent = group->Widget();
        }
        Control* created = CreateControl(control, parent);
        if (!created) {
            error = "cannot build control " + control.name;
            return nullptr;
        }
        // Each control is created below the ones before it, so where controls overlap at start
        // the one described first is on top.
        if (QWidget* widget = created->Widget()) widget->lower();
        window->controls_.emplace(control.name, created);
    }
    for (const EventBinding& binding : events) {
        if (binding.control.empty()) {
            if (binding.event != Event::Created) {
                error = "a window raises only its created event";
                return nullptr;
            }
            window->created_ = binding.handler;
            continue;
        }
        Control* control = window->Find(binding.control);
        if (!control || !control->Raises(binding.event)) {
            error = "no control " + binding.control + " with that event";
            return nullptr;
        }
        control->SetHandler(binding.event, binding.handler);
    }
    return window;
}

Control* LayerWindow::Find(std::string_view control) const {
    const auto found = controls_.find(control);
    return found == controls_.end() ? nullptr : found->second;
}

void LayerWindow::SetCaption(const Text& text) {
    caption_ = text;
    setWindowTitle(ToQString(text));
}

void LayerWindow::RaiseCreated() {
    if (!created_) return;
    const EventHandler handler = created_;  // the handler may close and destroy the window
    handler(EventArgs{});
}

void LayerWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    // A closed window ticks no more while it waits to be destroyed.
    for (const auto& [name, control] : controls_)
        if (control->Kind() == ControlKind::Timer) control->SetPeriod(0);
    emit Closed();
}

}  // namespace smsdock
