#pragma once

// The program's start routine and the handler of the main window's created event.

#include <vector>

#include "ui/window_description.h"

namespace smsdock {

// Initialises the window layer, registers ReleaseGlobals as the exit handler, loads the main
// window (modeless, no owner; a failure ends the process with -1), runs the message loop until
// the last window is gone and returns 0. `mainWindowEvents` is the main window's event table.
int StartRoutine(const std::vector<EventBinding>& mainWindowEvents);
// The same with the program's own event table.
int StartRoutine();

// Starts the start-up worker running RunStartupCheck and returns at once; nothing waits for it.
void StartStartupWorker();

}  // namespace smsdock
