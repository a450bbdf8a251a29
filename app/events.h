#pragma once

// The table that binds the main window's events to their handlers. The update pop-up window
// has no events.

#include <vector>

#include "ui/window_description.h"

namespace smsdock {

std::vector<EventBinding> MainWindowEvents();

}  // namespace smsdock
