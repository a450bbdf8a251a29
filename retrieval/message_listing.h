#pragma once

// Listing the recent messages of the number double-clicked in 超级列表框1 into 超级列表框2.

#include "ui/window_description.h"

namespace smsdock {

// Double-click of 超级列表框1: fetches the message page of the selected row's number from the
// primary number site, synchronously on the window thread. The pointer position and keys are
// ignored.
void ListMessages(const EventArgs& args);

}  // namespace smsdock
