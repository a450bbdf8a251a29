#pragma once

// A window built from its description: its controls by name, its caption and its created event.
// Internal to the window layer.

#include <QWidget>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "text/text.h"
#include "ui/controls.h"
#include "ui/window_description.h"

namespace smsdock {

class LayerWindow : public QWidget {
    Q_OBJECT

  public:
    explicit LayerWindow(const WindowDescription& description);

    // Builds the window and all its controls, in the order of the description, and binds the
    // events. Null when the description or a binding cannot be built; `error` then says why.
    static std::unique_ptr<LayerWindow> Build(const WindowDescription& description,
                                              const std::vector<EventBinding>& events,
                                              std::string& error);

    const std::string& Name() const { return name_; }
    Control* Find(std::string_view control) const;
    const std::map<std::string, Control*, std::less<>>& Controls() const { return controls_; }

    Text Caption() const { return caption_; }
    void SetCaption(const Text& text);

    // Runs the handler of the created event, if one is bound.
    void RaiseCreated();

    const std::string& Owner() const { return owner_; }
    void SetOwner(std::string owner) { owner_ = std::move(owner); }

  signals:
    // The window was closed and is about to be destroyed.
    void Closed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    std::string name_;
    std::string owner_;
    Text caption_;
    std::map<std::string, Control*, std::less<>> controls_;  // owned by Qt, as children
    EventHandler created_;
};

}  // namespace smsdock
