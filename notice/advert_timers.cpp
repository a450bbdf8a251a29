#include "notice/advert_timers.h"

#include "app/state/globals.h"
#include "app/state/window_names.h"
#include "text/code_page.h"
#include "ui/window_layer.h"

namespace smsdock {

void ShowAdvertPicture() {
    // Every tick raises it again, in case another control has been brought above it since.
    SetVisible(kMainWindow, "图片框2", true);
    BringToTop(kMainWindow, "图片框2");
}

void RecolourStatusLine() {
    const int red = RandomInt(0);
    const int green = RandomInt(0);
    const int blue = RandomInt(0);
    SetTextColour(kMainWindow, "标签2", Rgb(red, green, blue));
}

void OpenPictureLink(const EventArgs&) {
    // Before the start-up check has stored a link it reads as "", which is not "无"; the window
    // layer opens nothing for it.
    const Text link = JumpLink.Get();
    if (link != Utf8ToAnsi(Text("无"))) OpenUrl(link);
}

}  // namespace smsdock
