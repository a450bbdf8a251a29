#pragma once

// The window layer's one application object: the Qt application, the registered window
// descriptions, the open windows, the exit handlers, the URL opener, and the hand-over of calls
// from other threads to the window thread. Internal to the window layer.
//
// Cross-thread calls. A call from another thread is queued under a mutex, the window thread is
// woken through an eventfd, runs the call and marks it finished; the caller waits on a
// condition variable until then. Other threads therefore never touch a Qt object. The shutdown
// marks every queued or running call finished under the same mutex and refuses new ones, so a
// caller that is still waiting, or that comes later, returns at once with the default result.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "text/text.h"
#include "ui/layer_window.h"
#include "ui/window_description.h"
#include "ui/window_layer.h"

class QApplication;
class QMessageBox;
class QSocketNotifier;

namespace smsdock {

class Application {
    struct PendingCall {
        std::function<void(const std::shared_ptr<PendingCall>&)> start;
        bool finished = false;   // guarded by Application::mutex_
        bool cancelled = false;  // finished by the shutdown instead
    };

  public:
    static Application& Instance();
    ~Application();

    void SetArguments(int argc, char** argv);
    void Initialise();
    bool Initialised() const { return initialised_.load(std::memory_order_acquire); }
    bool OnWindowThread() const;

    // Runs `f` on the window thread and returns its result; `fallback` when the shutdown has
    // begun before `f` could run. On the window thread itself, or before the window layer is
    // initialised, `f` runs at once.
    template <class R, class F>
    R Call(R fallback, F&& f) {
        if (!Initialised() || OnWindowThread()) return f();
        auto result = std::make_shared<R>(std::move(fallback));
        Dispatch([result, &f](const std::shared_ptr<PendingCall>& call) {
            *result = f();
            Instance().Finish(call);
        });
        return *result;
    }

    // Queues `start` for the window thread and waits until the call is finished, which `start`
    // does by passing its argument to Finish, at once or later. False when the shutdown dropped
    // the call, before it ran or while it was running.
    bool Dispatch(std::function<void(const std::shared_ptr<PendingCall>&)> start);
    void Finish(const std::shared_ptr<PendingCall>& call);

    // ---- Window thread only ----
    void Register(WindowDescription description, std::vector<EventBinding> events);
    void AddExitHandler(void (*handler)());
    bool Load(std::string_view window, std::string_view owner, bool modal);
    void LoadStart(std::string_view window);
    int RunLoop();
    [[noreturn]] void ShutDown(int exitCode, bool runExitHandlers);

    LayerWindow* FindWindow(std::string_view window) const;
    Control* FindControl(std::string_view window, std::string_view control) const;

    // Shows a message box and returns at once; `done` receives the result when the box is
    // closed, or 0 when it goes away without a button.
    void StartMessageBox(const Text& text, int flags, const std::optional<Text>& caption,
                         std::string_view owner, bool forWindowThread,
                         std::function<void(int)> done);
    // Shows a message box and waits in a local event loop until it is closed.
    int ShowMessageAndWait(const Text& text, int flags, const std::optional<Text>& caption,
                           std::string_view owner);

    void OpenUrl(const Text& url);
    UrlOpener SetUrlOpener(UrlOpener opener);

  private:
    Application();

    void RunPending();
    void CancelCalls();
    void WindowClosed(LayerWindow* window);
    void DestroyClosedWindows();
    void DisposeBox(QMessageBox* box);

    struct Registered {
        WindowDescription description;
        std::vector<EventBinding> events;
    };

    // Shared with other threads.
    std::atomic<bool> initialised_{false};
    std::thread::id windowThread_;  // written once, before any other thread can call in
    std::mutex mutex_;
    std::condition_variable finished_;
    bool shuttingDown_ = false;
    std::deque<std::shared_ptr<PendingCall>> pending_;
    std::set<std::shared_ptr<PendingCall>> running_;
    int wakeFd_ = -1;

    // Window thread only.
    int argc_ = 1;
    char programName_[8] = "smsdock";
    char* defaultArgv_[2] = {programName_, nullptr};
    char** argv_ = defaultArgv_;
    std::unique_ptr<QApplication> qt_;
    std::unique_ptr<QSocketNotifier> wakeNotifier_;
    std::map<std::string, Registered, std::less<>> registry_;
    std::map<std::string, std::unique_ptr<LayerWindow>, std::less<>> windows_;
    std::vector<std::unique_ptr<LayerWindow>> closing_;
    std::vector<std::unique_ptr<QMessageBox>> boxes_;  // boxes without an owner window
    std::vector<void (*)()> exitHandlers_;
    UrlOpener urlOpener_;
    bool mainLoopRunning_ = false;
    int loopDepth_ = 0;
    bool shutdownRunning_ = false;
};

}  // namespace smsdock
