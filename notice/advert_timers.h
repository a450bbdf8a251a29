#pragma once

// The main window's handlers for what the notice document asked for after the start-up check:
// the advert picture revealed by 时钟1, the status line recoloured by 时钟2 and the link behind
// the notice picture 图片框1. All run on the window thread.

#include "ui/window_description.h"

namespace smsdock {

// Tick of 时钟1: shows the advert picture 图片框2 above the usage notes it covers.
void ShowAdvertPicture();

// Tick of 时钟2: gives the status line 标签2 a text colour from three draws of this thread's
// generator (red, green, blue, in that order).
void RecolourStatusLine();

// Left press on 图片框1: opens JumpLink unless it is "无". The pointer and keys are ignored.
void OpenPictureLink(const EventArgs& args);

}  // namespace smsdock
