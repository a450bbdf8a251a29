// The window layer's public routines: each one runs its work on the window thread (see
// Application::Call) and acts on the control found by window and control name.

#include "ui/window_layer.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <system_error>
#include <thread>

#include "http/picture_fetch.h"
#include "ui/application.h"

namespace smsdock {

namespace {

Application& App() {
    return Application::Instance();
}

// Runs `action` on the control, or gives `fallback` when there is no such control.
template <class R, class F>
R WithControl(std::string_view window, std::string_view control, R fallback, F&& action) {
    return App().Call(fallback, [&]() -> R {
        Control* found = App().FindControl(window, control);
        return found ? action(*found) : fallback;
    });
}

template <class F>
void OnControl(std::string_view window, std::string_view control, F&& action) {
    WithControl(window, control, 0, [&](Control& found) {
        action(found);
        return 0;
    });
}

}  // namespace

// ---- Lifecycle ------------------------------------------------------------------------------

void RunWindowLayerProgram(int argc, char** argv, const std::function<int()>& startRoutine) {
    App().SetArguments(argc, argv);
    const int exitCode = startRoutine();
    if (!App().Initialised()) {
        std::fflush(nullptr);
        std::_Exit(exitCode);
    }
    App().ShutDown(exitCode, true);
}

void InitialiseWindowLayer() {
    App().Initialise();
}

void RegisterWindow(WindowDescription description, std::vector<EventBinding> events) {
    App().Call(0, [&] {
        App().Register(std::move(description), std::move(events));
        return 0;
    });
}

void RegisterExitHandler(void (*handler)()) {
    App().Call(0, [&] {
        App().AddExitHandler(handler);
        return 0;
    });
}

bool LoadWindow(std::string_view window, std::string_view owner, bool modal) {
    return App().Call(false, [&] { return App().Load(window, owner, modal); });
}

void LoadStartWindow(std::string_view window) {
    App().Call(0, [&] {
        App().LoadStart(window);
        return 0;
    });
}

int RunMessageLoop() {
    if (!App().Initialised() || !App().OnWindowThread()) return 0;
    return App().RunLoop();
}

void EndProgram(int exitCode) {
    if (!App().Initialised()) {
        std::fflush(nullptr);
        std::_Exit(exitCode);
    }
    if (App().OnWindowThread()) App().ShutDown(exitCode, true);
    App().Dispatch([exitCode](const auto&) { App().ShutDown(exitCode, true); });
    // The shutdown ends the process from the window thread; this thread waits there for good.
    for (;;)
        std::this_thread::sleep_for(std::chrono::hours(1));
}

// ---- Properties -----------------------------------------------------------------------------

Text Caption(std::string_view window, std::string_view control) {
    if (control.empty()) {
        return App().Call(Text(), [&] {
            LayerWindow* found = App().FindWindow(window);
            return found ? found->Caption() : Text();
        });
    }
    return WithControl(window, control, Text(), [](Control& c) { return c.Caption(); });
}

void SetCaption(std::string_view window, std::string_view control, const Text& text) {
    if (control.empty()) {
        App().Call(0, [&] {
            if (LayerWindow* found = App().FindWindow(window)) found->SetCaption(text);
            return 0;
        });
        return;
    }
    OnControl(window, control, [&](Control& c) { c.SetCaption(text); });
}

Colour TextColour(std::string_view window, std::string_view control) {
    return WithControl(window, control, Colour{0}, [](Control& c) { return c.TextColour(); });
}

void SetTextColour(std::string_view window, std::string_view control, Colour colour) {
    OnControl(window, control, [&](Control& c) { c.SetTextColour(colour); });
}

bool Visible(std::string_view window, std::string_view control) {
    return WithControl(window, control, false, [](Control& c) {
        QWidget* widget = c.Widget();
        return widget != nullptr && !widget->isHidden();
    });
}

void SetVisible(std::string_view window, std::string_view control, bool visible) {
    OnControl(window, control, [&](Control& c) {
        if (QWidget* widget = c.Widget()) widget->setVisible(visible);
    });
}

void SetPicture(std::string_view window, std::string_view control, const Bytes& picture) {
    OnControl(window, control, [&](Control& c) { c.SetPicture(picture); });
}

int Period(std::string_view window, std::string_view control) {
    return WithControl(window, control, 0, [](Control& c) { return c.Period(); });
}

void SetPeriod(std::string_view window, std::string_view control, int milliseconds) {
    OnControl(window, control, [&](Control& c) { c.SetPeriod(milliseconds); });
}

bool Checked(std::string_view window, std::string_view control) {
    return WithControl(window, control, false, [](Control& c) { return c.Checked(); });
}

int CurrentSelection(std::string_view window, std::string_view control) {
    return WithControl(window, control, -1, [](Control& c) { return c.CurrentSelection(); });
}

void SetCurrentSelection(std::string_view window, std::string_view control, int index) {
    OnControl(window, control, [&](Control& c) { c.SetCurrentSelection(index); });
}

int SelectedRow(std::string_view window, std::string_view control) {
    return WithControl(window, control, -1, [](Control& c) { return c.SelectedRow(); });
}

// ---- Control operations ---------------------------------------------------------------------

void DeleteAllRows(std::string_view window, std::string_view list) {
    OnControl(window, list, [](Control& c) { c.DeleteAllRows(); });
}

int InsertRow(std::string_view window, std::string_view list) {
    return WithControl(window, list, -1, [](Control& c) { return c.InsertRow(); });
}

void SetCellText(std::string_view window, std::string_view list, int row, int column,
                 const Text& text) {
    OnControl(window, list, [&](Control& c) { c.SetCellText(row, column, text); });
}

Text GetCellText(std::string_view window, std::string_view list, int row, int column) {
    return WithControl(window, list, Text(), [&](Control& c) { return c.CellText(row, column); });
}

void ClearItems(std::string_view window, std::string_view combo) {
    OnControl(window, combo, [](Control& c) { c.ClearItems(); });
}

void AddItem(std::string_view window, std::string_view combo, const Text& text, int value) {
    OnControl(window, combo, [&](Control& c) { c.AddItem(text, value); });
}

Text GetItemText(std::string_view window, std::string_view combo, int index) {
    return WithControl(window, combo, Text(), [&](Control& c) { return c.ItemText(index); });
}

int GetItemValue(std::string_view window, std::string_view combo, int index) {
    return WithControl(window, combo, -1, [&](Control& c) { return c.ItemValue(index); });
}

// ---- Window-level operations ----------------------------------------------------------------

int ShowMessage(const Text& text, int flags, const std::optional<Text>& caption,
                std::string_view owner) {
    if (!App().Initialised() || App().OnWindowThread())
        return App().ShowMessageAndWait(text, flags, caption, owner);
    // Shown for another thread: the box is shown without blocking the window thread, and this
    // thread waits until it is closed.
    auto result = std::make_shared<std::atomic<int>>(0);
    App().Dispatch([&, result](const auto& call) {
        App().StartMessageBox(text, flags, caption, owner, false, [result, call](int pressed) {
            result->store(pressed);
            App().Finish(call);
        });
    });
    return result->load();
}

namespace {

bool StartsWithLowered(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i];
        const char lowered = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lowered != prefix[i]) return false;
    }
    return true;
}

bool IsWebUrl(const Text& url) {
    for (std::string_view scheme : {std::string_view("http://"), std::string_view("https://")})
        if (StartsWithLowered(url.view(), scheme) && url.view().size() > scheme.size()) return true;
    return false;
}

}  // namespace

void OpenUrl(const Text& url) {
    if (!IsWebUrl(url)) return;
    App().Call(0, [&] {
        App().OpenUrl(url);
        return 0;
    });
}

UrlOpener SetUrlOpener(UrlOpener opener) {
    return App().Call(UrlOpener(), [&] { return App().SetUrlOpener(std::move(opener)); });
}

Bytes FetchPicture(const Text& url) {
    return FetchPictureBytes(url);
}

void BringToTop(std::string_view window, std::string_view control) {
    OnControl(window, control, [](Control& c) {
        if (QWidget* widget = c.Widget()) widget->raise();
    });
}

bool StartThread(void (*routine)()) {
    if (!routine) return false;
    try {
        std::thread(routine).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

bool OnWindowThread() {
    return App().Initialised() && App().OnWindowThread();
}

}  // namespace smsdock
