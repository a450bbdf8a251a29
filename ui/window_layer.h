#pragma once

// The window layer: builds windows from their descriptions, addresses controls by window and
// control name, and offers the properties and operations the handlers use.
//
// Threads. The thread that calls InitialiseWindowLayer is the window thread: it owns every
// window and runs every event handler. Any other thread may call the functions below; each such
// call runs on the window thread while the caller waits for it, so its result and its effects
// are exactly as if the window thread had made it. Once the shutdown has begun, calls from other
// threads do nothing and return the defaults (empty text, 0, -1, false).
//
// A name that matches no open window or no control of it, or a property the control's kind does
// not have, makes a write do nothing and a read return the default. Nothing is reported.

#include <functional>
#include <optional>
#include <string_view>

#include "text/text.h"
#include "ui/window_description.h"

namespace smsdock {

// ---- Lifecycle ------------------------------------------------------------------------------

// Runs `startRoutine` as the program's start routine with the process arguments at hand for
// InitialiseWindowLayer, then the shutdown with its result as the exit code. Never returns.
[[noreturn]] void RunWindowLayerProgram(int argc, char** argv,
                                        const std::function<int()>& startRoutine);

// Sets up the window layer on the calling thread, which becomes the window thread. Calling it
// again does nothing.
void InitialiseWindowLayer();

// Makes a window description known under its name, with the handlers bound to its events.
// Replaces an earlier description of the same name for windows loaded afterwards.
void RegisterWindow(WindowDescription description, std::vector<EventBinding> events);

// Adds a routine to the exit handlers, which the shutdown runs once each in the order they were
// registered. A routine already in the list is not added again.
void RegisterExitHandler(void (*handler)());

// Creates and shows the registered window `window`, then raises its created event. With
// `owner` the window stays above that window and is destroyed with it. A modal load disables
// the program's other windows and returns when the window closes; a modeless load returns at
// once. A window of that name that is still open is restored (when minimised) or activated
// instead, and the call returns at once. False when the window cannot be built.
bool LoadWindow(std::string_view window, std::string_view owner = {}, bool modal = false);

// Loads the start window modeless with no owner. When it cannot be built, shows the run-time
// error box, drops the exit handlers and ends the process with exit code -1.
void LoadStartWindow(std::string_view window);

// Runs the message loop on the window thread. It ends, returning 0, when the last window of the
// program has been destroyed.
int RunMessageLoop();

// Ends the program with `exitCode`: on the window thread the exit handlers run and the windows
// are released, then the process ends. Called from another thread, it hands the shutdown to the
// window thread and waits there for good.
[[noreturn]] void EndProgram(int exitCode);

// ---- Properties -----------------------------------------------------------------------------

// Caption: the text a label, button, radio button, group box or hyperlink label shows, or the
// caption of a window when `control` is empty. Read back byte for byte as written.
Text Caption(std::string_view window, std::string_view control);
void SetCaption(std::string_view window, std::string_view control, const Text& text);

// TextColour (0x00BBGGRR) of a label's caption.
Colour TextColour(std::string_view window, std::string_view control);
void SetTextColour(std::string_view window, std::string_view control, Colour colour);

// Visible: the control's own shown-or-hidden state.
bool Visible(std::string_view window, std::string_view control);
void SetVisible(std::string_view window, std::string_view control, bool visible);

// Picture of a picture box: the bytes of a PNG or JPEG file. Empty or undecodable bytes leave
// the box without a picture; its visibility does not change.
void SetPicture(std::string_view window, std::string_view control, const Bytes& picture);

// Period of a timer in milliseconds. A value below 0 counts as 0; writing the period the timer
// already has changes nothing; otherwise the timer stops and, for a value above 0, restarts
// with the new period.
int Period(std::string_view window, std::string_view control);
void SetPeriod(std::string_view window, std::string_view control, int milliseconds);

// Checked state of a radio button; the radio buttons of a group are checked one at a time.
bool Checked(std::string_view window, std::string_view control);

// CurrentSelection of a combo box: the 0-based index of the selected item, -1 when none.
// Writing an index outside the items leaves no selection.
int CurrentSelection(std::string_view window, std::string_view control);
void SetCurrentSelection(std::string_view window, std::string_view control, int index);

// SelectedRow of a list view: the 0-based index of the selected row, -1 when none.
int SelectedRow(std::string_view window, std::string_view control);

// ---- Control operations ---------------------------------------------------------------------

// List views.
void DeleteAllRows(std::string_view window, std::string_view list);
// Appends an empty row and returns its 0-based index; -1 when there is no such list.
int InsertRow(std::string_view window, std::string_view list);
void SetCellText(std::string_view window, std::string_view list, int row, int column,
                 const Text& text);
// The cell's text; "" for a row or column outside the list (row -1 included).
Text GetCellText(std::string_view window, std::string_view list, int row, int column);

// Combo boxes.
void ClearItems(std::string_view window, std::string_view combo);
void AddItem(std::string_view window, std::string_view combo, const Text& text, int value);
// "" for an index outside the items.
Text GetItemText(std::string_view window, std::string_view combo, int index);
// -1 for an index outside the items.
int GetItemValue(std::string_view window, std::string_view combo, int index);

// ---- Window-level operations ----------------------------------------------------------------

// Message box flags and results, numbered as the classic message box numbers them.
inline constexpr int kMbOk = 0x0;
inline constexpr int kMbOkCancel = 0x1;
inline constexpr int kMbAbortRetryIgnore = 0x2;
inline constexpr int kMbYesNoCancel = 0x3;
inline constexpr int kMbYesNo = 0x4;
inline constexpr int kMbRetryCancel = 0x5;
inline constexpr int kMbIconError = 0x10;
inline constexpr int kMbIconQuestion = 0x20;
inline constexpr int kMbIconWarning = 0x30;
inline constexpr int kMbIconInformation = 0x40;
inline constexpr int kMbSystemModal = 0x1000;
inline constexpr int kMbTaskModal = 0x2000;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAbort = 3;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdIgnore = 5;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Shows a message box and returns the result of the button that closed it (0 when the box went
// away without one). The caption defaults to "信息：". With an owner window the box disables that
// window until it is closed. Without an owner, a box shown for the window thread disables the
// program's windows (task modal, unless kMbSystemModal is asked for), while a box shown for
// another thread leaves the windows usable; the caller waits until the box is closed either way.
int ShowMessage(const Text& text, int flags = kMbOk, const std::optional<Text>& caption = {},
                std::string_view owner = {});

// Hands an http or https URL (the scheme in any letter case, something after "//"), unchanged,
// to the URL opener and returns at once; failures are ignored. Anything else (an empty text,
// "无", a file: or javascript: link, a local program's path) opens nothing: links arrive in a
// document fetched over plain HTTP, and only a web page is safe to hand to the desktop.
void OpenUrl(const Text& url);

// Replaces the URL opener (by default the desktop's browser launch) and returns the previous
// one. The opener runs on the window thread.
using UrlOpener = std::function<void(const Text& url)>;
UrlOpener SetUrlOpener(UrlOpener opener);

// One GET of the URL on the calling thread; the body, whatever the status, or empty Bytes on
// any failure.
Bytes FetchPicture(const Text& url);

// Puts a control above the controls it overlaps, without moving, sizing or activating it.
void BringToTop(std::string_view window, std::string_view control);

// Starts a detached thread running `routine`. False when the thread could not be started.
bool StartThread(void (*routine)());

// Whether the calling thread is the window thread.
bool OnWindowThread();

// A pseudo-random integer from the calling thread's own linear congruential generator. A
// minimum below 0 or absent counts as 0; a maximum below 0 counts as 0, absent as 2147483647;
// the smaller end is the low end. Equal ends give that value; otherwise the result is
// low + value mod (span + 1), the span capped at 2147483646.
int RandomInt(std::optional<int> minimum = {}, std::optional<int> maximum = {});

// A colour from the low 8 bits of red, green and blue.
constexpr Colour Rgb(int red, int green, int blue) {
    return static_cast<Colour>(red & 0xFF) | static_cast<Colour>(green & 0xFF) << 8 |
           static_cast<Colour>(blue & 0xFF) << 16;
}

// ---- Clipboard ------------------------------------------------------------------------------

// Replaces the clipboard's contents with plain text: the GBK text that `block` holds up to its
// first zero byte. Whoever reads the clipboard as Unicode gets the text converted from GBK.
void PutClipboardAnsiText(const Bytes& block);

// The clipboard's plain text as a Unicode block: its UTF-16LE units followed by one zero unit,
// so at least two bytes. Empty Bytes when the clipboard holds no text.
Bytes ClipboardUnicodeText();

// ---- Busy cursor ----------------------------------------------------------------------------

// While it lives, the program's windows show the busy cursor: a handler that keeps the window
// thread waiting (for a page, say) holds one around the wait. Made on another thread it does
// nothing, since that thread's waiting leaves the windows responsive.
class BusyCursor {
  public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    bool shown_ = false;
};

}  // namespace smsdock
