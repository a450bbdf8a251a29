#pragma once

// The descriptions of the program's two windows: every control with its place, size, text,
// font, colours and initial state.

#include "ui/window_description.h"

namespace smsdock {

const WindowDescription& MainWindowDescription();
const WindowDescription& UpdatePopupDescription();

}  // namespace smsdock
