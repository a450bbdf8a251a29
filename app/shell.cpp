#include "app/shell.h"

#include "app/events.h"
#include "app/state/globals.h"
#include "app/state/window_names.h"
#include "app/windows.h"
#include "notice/startup_check.h"
#include "ui/window_layer.h"

namespace smsdock {

int StartRoutine(const std::vector<EventBinding>& mainWindowEvents) {
    InitialiseWindowLayer();
    RegisterExitHandler(&ReleaseGlobals);
    RegisterWindow(MainWindowDescription(), mainWindowEvents);
    RegisterWindow(UpdatePopupDescription(), {});
    LoadStartWindow(kMainWindow);
    RunMessageLoop();
    return 0;
}

int StartRoutine() {
    return StartRoutine(MainWindowEvents());
}

void StartStartupWorker() {
    StartThread(&RunStartupCheck);
}

}  // namespace smsdock
