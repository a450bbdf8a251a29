#pragma once

// Plain data that describes a window, its controls and the handlers bound to their events. The
// window layer builds real windows from these; the descriptions themselves live with the
// application. No Qt type appears here.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace smsdock {

// A colour as 0x00BBGGRR: red in the low byte.
using Colour = std::uint32_t;

enum class ControlKind {
    Label,             // opaque text label
    TransparentLabel,  // text drawn straight onto whatever lies below
    HyperlinkLabel,    // text that opens its link target on a left press
    Button,
    RadioButton,  // radio buttons inside one group box form one group
    GroupBox,
    ComboBox,    // drop-down list: cannot be edited, keeps insertion order, an integer per item
    ListView,    // report view: header row, whole-row single selection, grid lines
    PictureBox,  // shows a PNG or JPEG picture
    Timer,       // never drawn
};

struct ListColumn {
    std::string title{};  // UTF-8
    int width = 0;        // pixels
};

struct ControlDescription {
    ControlKind kind = ControlKind::Label;
    std::string name{};  // also the Qt object name; UTF-8
    int left = 0;        // relative to the parent: the window's client area or the group box
    int top = 0;
    int width = 0;
    int height = 0;
    std::string parent{};      // name of the group box the control sits in; "" for the window
    std::string text{};        // initial caption, UTF-8
    std::string linkTarget{};  // hyperlink label: the URL opened on a left press, UTF-8
    int fontHeight = 0;        // character height in pixels; 0 keeps the window's font
    bool bold = false;
    std::optional<Colour> textColour{};  // none: the style's default
    std::optional<Colour> backColour{};  // list views: the background behind the rows
    bool visible = true;
    bool checked = false;  // radio button
    int period = 0;        // timer, milliseconds; 0 leaves it stopped
    std::vector<ListColumn> columns{};
    std::string picture{};  // picture box: Qt resource path of a built-in picture, or ""
};

struct WindowDescription {
    std::string name{};     // the name handlers address the window by; also its object name
    std::string caption{};  // UTF-8
    int left = 0;           // position of the window on the screen
    int top = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    std::vector<ControlDescription> controls{};  // in creation order
};

enum class Event {
    Created,         // the window, after it was first shown
    Clicked,         // button, radio button, list view
    DoubleClicked,   // list view
    Tick,            // timer
    LeftButtonDown,  // picture box
};

// What a pointer event passes along: the position inside the control and the modifier keys.
struct EventArgs {
    int x = 0;
    int y = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

using EventHandler = std::function<void(const EventArgs&)>;

struct EventBinding {
    std::string control{};  // "" means the window itself
    Event event = Event::Created;
    EventHandler handler{};
};

// Binds a handler that takes no arguments; the event's arguments are dropped.
inline EventBinding Bind(std::string control, Event event, void (*handler)()) {
    return {std::move(control), event, [handler](const EventArgs&) { handler(); }};
}

inline EventBinding Bind(std::string control, Event event, void (*handler)(const EventArgs&)) {
    return {std::move(control), event, handler};
}

}  // namespace smsdock
