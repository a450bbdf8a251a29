#include "ui/application.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFontDatabase>
#include <QIcon>
#include <QMessageBox>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "ui/qt_text.h"

// The icon resource (icon.qrc) is compiled into this static library; initialising it by name
// keeps the linker from dropping it. Q_INIT_RESOURCE has to be used outside any namespace.
static void InitialiseIconResource() {
    Q_INIT_RESOURCE(icon);
}

namespace smsdock {

namespace {

// The window's default font: the character height of the classic 9-point dialog font, in a
// face that has the Chinese characters. When none of the preferred faces is installed, the
// first face the font database knows to cover simplified Chinese stands in for them; when there
// is no such face at all, the program carries on with what it has and says so once.
QFont DefaultFont() {
    QStringList families = {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei"),
                            QStringLiteral("WenQuanYi Micro Hei"),
                            QStringLiteral("Droid Sans Fallback")};
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    const bool preferredInstalled = std::any_of(
        families.begin(), families.end(),
        [&](const QString& family) { return chinese.contains(family, Qt::CaseInsensitive); });
    if (!preferredInstalled) {
        if (chinese.isEmpty()) {
            std::fprintf(stderr,
                         "smsdock: no font with Chinese characters is installed, Chinese text may "
                         "show as boxes (Debian: apt-get install fonts-noto-cjk)\n");
        } else {
            families.append(chinese.front());
        }
    }
    families.append(QStringLiteral("sans-serif"));
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(12);
    return font;
}

// The program's icon in every size the desktop asks for; the window manager picks the one that
// fits its title bar or task switcher, at any device pixel ratio.
QIcon ProgramIcon() {
    InitialiseIconResource();
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/smsdock-%1.png").arg(size), QSize(size, size));
    return icon;
}

Text Utf8Text(const char* utf8) {
    return ToText(QString::fromUtf8(utf8));
}

void ConfigureButtons(QMessageBox& box, int flags) {
    using B = QMessageBox::StandardButton;
    struct Choice {
        B button;
        const char* caption;
    };
    std::vector<Choice> choices;
    switch (flags & 0xF) {
        case kMbOkCancel:
            choices = {{B::Ok, "确定"}, {B::Cancel, "取消"}};
            break;
        case kMbAbortRetryIgnore:
            choices = {{B::Abort, "中止"}, {B::Retry, "重试"}, {B::Ignore, "忽略"}};
            break;
        case kMbYesNoCancel:
            choices = {{B::Yes, "是"}, {B::No, "否"}, {B::Cancel, "取消"}};
            break;
        case kMbYesNo:
            choices = {{B::Yes, "是"}, {B::No, "否"}};
            break;
        case kMbRetryCancel:
            choices = {{B::Retry, "重试"}, {B::Cancel, "取消"}};
            break;
        default:
            choices = {{B::Ok, "确定"}};
            break;
    }
    QMessageBox::StandardButtons buttons;
    for (const Choice& choice : choices)
        buttons |= choice.button;
    box.setStandardButtons(buttons);
    for (const Choice& choice : choices)
        box.button(choice.button)->setText(QString::fromUtf8(choice.caption));
    box.setDefaultButton(choices.front().button);
}

QMessageBox::Icon IconOf(int flags) {
    switch (flags & 0xF0) {
        case kMbIconError:
            return QMessageBox::Critical;
        case kMbIconQuestion:
            return QMessageBox::Question;
        case kMbIconWarning:
            return QMessageBox::Warning;
        case kMbIconInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

int ResultOf(const QMessageBox& box) {
    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Ok:
            return kIdOk;
        case QMessageBox::Cancel:
            return kIdCancel;
        case QMessageBox::Abort:
            return kIdAbort;
        case QMessageBox::Retry:
            return kIdRetry;
        case QMessageBox::Ignore:
            return kIdIgnore;
        case QMessageBox::Yes:
            return kIdYes;
        case QMessageBox::No:
            return kIdNo;
        default:
            return 0;
    }
}

[[noreturn]] void EndProcess(int exitCode) {
    std::fflush(nullptr);
    // Static objects are left alone: a worker thread that is still running may be using them.
    std::_Exit(exitCode);
}

}  // namespace

Application& Application::Instance() {
    static Application application;
    return application;
}

Application::Application()
    : urlOpener_([](const Text& url) { QDesktopServices::openUrl(QUrl(ToQString(url))); }) {}

// The program itself ends through ShutDown and never gets here. A process that returns from
// main with the window layer still up (a test, say) reaches this after main: Qt can no longer be
// torn down then, so whatever Qt objects are left go with the process.
Application::~Application() {
    for (auto& box : boxes_)
        (void)box.release();
    for (auto& window : closing_)
        (void)window.release();
    for (auto& [name, window] : windows_)
        (void)window.release();
    (void)wakeNotifier_.release();
    (void)qt_.release();
}

void Application::SetArguments(int argc, char** argv) {
    if (Initialised() || argc < 1 || !argv) return;
    argc_ = argc;
    argv_ = argv;
}

void Application::Initialise() {
    if (Initialised()) return;
    windowThread_ = std::this_thread::get_id();
    qt_ = std::make_unique<QApplication>(argc_, argv_);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    // Ties the windows to the installed desktop entry, smsdock.desktop, and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("smsdock"));
    QApplication::setWindowIcon(ProgramIcon());
    QApplication::setFont(DefaultFont());

    wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    wakeNotifier_ = std::make_unique<QSocketNotifier>(wakeFd_, QSocketNotifier::Read);
    QObject::connect(wakeNotifier_.get(), &QSocketNotifier::activated, qt_.get(), [this] {
        eventfd_t drained = 0;
        (void)::eventfd_read(wakeFd_, &drained);
        RunPending();
    });
    initialised_.store(true, std::memory_order_release);
}

bool Application::OnWindowThread() const {
    return std::this_thread::get_id() == windowThread_;
}

// ---- Calls from other threads ---------------------------------------------------------------

bool Application::Dispatch(std::function<void(const std::shared_ptr<PendingCall>&)> start) {
    auto call = std::make_shared<PendingCall>();
    call->start = std::move(start);
    std::unique_lock lock(mutex_);
    if (shuttingDown_) return false;
    pending_.push_back(call);
    (void)::eventfd_write(wakeFd_, 1);
    finished_.wait(lock, [&] { return call->finished; });
    return !call->cancelled;
}

void Application::Finish(const std::shared_ptr<PendingCall>& call) {
    {
        std::lock_guard lock(mutex_);
        if (call->finished) return;
        call->finished = true;
        running_.erase(call);
    }
    finished_.notify_all();
}

void Application::RunPending() {
    for (;;) {
        std::shared_ptr<PendingCall> call;
        {
            std::lock_guard lock(mutex_);
            if (shuttingDown_ || pending_.empty()) return;
            call = std::move(pending_.front());
            pending_.pop_front();
            running_.insert(call);
        }
        call->start(call);
    }
}

void Application::CancelCalls() {
    std::deque<std::shared_ptr<PendingCall>> dropped;
    {
        std::lock_guard lock(mutex_);
        shuttingDown_ = true;
        for (const auto& call : pending_)
            call->finished = call->cancelled = true;
        for (const auto& call : running_)
            call->finished = call->cancelled = true;
        dropped.swap(pending_);
        running_.clear();
    }
    finished_.notify_all();
}

// ---- Windows --------------------------------------------------------------------------------

void Application::Register(WindowDescription description, std::vector<EventBinding> events) {
    std::string name = description.name;
    registry_.insert_or_assign(std::move(name),
                               Registered{std::move(description), std::move(events)});
}

void Application::AddExitHandler(void (*handler)()) {
    if (!handler) return;
    for (auto registered : exitHandlers_)
        if (registered == handler) return;
    exitHandlers_.push_back(handler);
}

LayerWindow* Application::FindWindow(std::string_view window) const {
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second.get();
}

Control* Application::FindControl(std::string_view window, std::string_view control) const {
    LayerWindow* found = FindWindow(window);
    return found ? found->Find(control) : nullptr;
}

bool Application::Load(std::string_view window, std::string_view owner, bool modal) {
    if (!qt_) return false;
    if (LayerWindow* open = FindWindow(window)) {
        if (open->isMinimized()) {
            open->showNormal();
        } else {
            open->raise();
            open->activateWindow();
        }
        return true;
    }
    const auto registered = registry_.find(window);
    if (registered == registry_.end()) return false;
    std::string error;
    std::unique_ptr<LayerWindow> built =
        LayerWindow::Build(registered->second.description, registered->second.events, error);
    if (!built) return false;

    LayerWindow* loaded = built.get();
    LayerWindow* ownerWindow = owner.empty() ? nullptr : FindWindow(owner);
    windows_.emplace(std::string(window), std::move(built));
    QObject::connect(loaded, &LayerWindow::Closed, loaded,
                     [this, loaded] { WindowClosed(loaded); });
    if (ownerWindow) {
        loaded->SetOwner(ownerWindow->Name());
        loaded->winId();
        loaded->windowHandle()->setTransientParent(ownerWindow->windowHandle());
    }
    if (modal) loaded->setWindowModality(Qt::ApplicationModal);
    loaded->show();

    const QPointer<LayerWindow> alive(loaded);
    loaded->RaiseCreated();
    if (modal && alive && FindWindow(window) == loaded) {
        QEventLoop loop;
        QObject::connect(loaded, &LayerWindow::Closed, &loop, &QEventLoop::quit);
        ++loopDepth_;
        loop.exec();
        --loopDepth_;
    }
    return true;
}

void Application::LoadStart(std::string_view window) {
    if (Load(window, {}, false)) return;
    exitHandlers_.clear();
    ShowMessageAndWait(Utf8Text("载入启动窗口失败"), kMbIconError, Utf8Text("运行时出错!"), {});
    ShutDown(-1, false);
}

void Application::WindowClosed(LayerWindow* window) {
    std::vector<LayerWindow*> owned;
    for (auto it = windows_.begin(); it != windows_.end();) {
        if (it->second.get() == window) {
            closing_.push_back(std::move(it->second));
            it = windows_.erase(it);
        } else {
            if (it->second->Owner() == window->Name()) owned.push_back(it->second.get());
            ++it;
        }
    }
    // Windows it owns close with it.
    for (LayerWindow* child : owned)
        child->close();
    QTimer::singleShot(0, qt_.get(), [this] { DestroyClosedWindows(); });
}

void Application::DestroyClosedWindows() {
    if (closing_.empty()) return;
    closing_.clear();
    if (windows_.empty() && mainLoopRunning_) QCoreApplication::exit(0);
}

int Application::RunLoop() {
    if (!qt_ || windows_.empty()) return 0;
    mainLoopRunning_ = true;
    ++loopDepth_;
    const int result = QApplication::exec();
    --loopDepth_;
    mainLoopRunning_ = false;
    return result;
}

void Application::ShutDown(int exitCode, bool runExitHandlers) {
    // An exit handler that ends the program itself ends it at once.
    if (shutdownRunning_) EndProcess(exitCode);
    shutdownRunning_ = true;
    CancelCalls();
    if (runExitHandlers) {
        const std::vector<void (*)()> handlers = std::move(exitHandlers_);
        exitHandlers_.clear();
        for (auto handler : handlers)
            handler();
    }
    boxes_.clear();
    closing_.clear();
    windows_.clear();
    // The Qt application goes only when no event loop of it is still on the stack.
    if (loopDepth_ == 0) {
        wakeNotifier_.reset();
        qt_.reset();
    }
    EndProcess(exitCode);
}

// ---- Message boxes --------------------------------------------------------------------------

void Application::StartMessageBox(const Text& text, int flags, const std::optional<Text>& caption,
                                  std::string_view owner, bool forWindowThread,
                                  std::function<void(int)> done) {
    // Whatever ends the box, `done` runs once.
    auto pending = std::make_shared<std::function<void(int)>>(std::move(done));
    auto finish = [pending](int result) {
        if (!*pending) return;
        const std::function<void(int)> once = std::move(*pending);
        *pending = nullptr;
        once(result);
    };
    if (!qt_) {
        finish(0);
        return;
    }
    if (!(flags & kMbSystemModal)) flags |= kMbTaskModal;

    LayerWindow* ownerWindow = owner.empty() ? nullptr : FindWindow(owner);
    QMessageBox* box = nullptr;
    if (ownerWindow) {
        box = new QMessageBox(ownerWindow);  // owned by its owner window
    } else {
        boxes_.push_back(std::make_unique<QMessageBox>());
        box = boxes_.back().get();
    }
    box->setTextFormat(Qt::PlainText);
    box->setText(ToQString(text));
    box->setWindowTitle(ToQString(caption.value_or(Utf8Text("信息："))));
    box->setIcon(IconOf(flags));
    ConfigureButtons(*box, flags);
    // An owner is disabled while its box is open. Without one, a task-modal box shown for the
    // window thread disables the program's windows; one shown for another thread disables none,
    // since that thread has no windows.
    if (ownerWindow) {
        box->setWindowModality(Qt::WindowModal);
    } else if (forWindowThread && (flags & kMbTaskModal)) {
        box->setWindowModality(Qt::ApplicationModal);
    } else {
        box->setWindowModality(Qt::NonModal);
    }
    if (flags & kMbSystemModal) box->setWindowFlag(Qt::WindowStaysOnTopHint);

    QObject::connect(box, &QMessageBox::finished, box, [this, box, finish] {
        finish(ResultOf(*box));
        DisposeBox(box);
    });
    QObject::connect(box, &QObject::destroyed, [finish] { finish(0); });
    box->show();
}

int Application::ShowMessageAndWait(const Text& text, int flags, const std::optional<Text>& caption,
                                    std::string_view owner) {
    struct Waiting {
        int result = 0;
        bool over = false;
        QEventLoop* loop = nullptr;
    };
    auto waiting = std::make_shared<Waiting>();
    QEventLoop loop;
    waiting->loop = &loop;
    StartMessageBox(text, flags, caption, owner, true, [waiting](int result) {
        waiting->result = result;
        waiting->over = true;
        if (waiting->loop) waiting->loop->quit();
    });
    if (!waiting->over) {
        ++loopDepth_;
        loop.exec();
        --loopDepth_;
    }
    waiting->loop = nullptr;
    return waiting->result;
}

void Application::DisposeBox(QMessageBox* box) {
    for (auto it = boxes_.begin(); it != boxes_.end(); ++it) {
        if (it->get() == box) {
            it->release();
            boxes_.erase(it);
            break;
        }
    }
    box->deleteLater();  // not inside its own signal
}

// ---- URL opener -----------------------------------------------------------------------------

void Application::OpenUrl(const Text& url) {
    if (urlOpener_) urlOpener_(url);
}

UrlOpener Application::SetUrlOpener(UrlOpener opener) {
    std::swap(urlOpener_, opener);
    return opener;
}

}  // namespace smsdock
