#include "app/events.h"

#include "app/shell.h"
#include "notice/advert_timers.h"
#include "retrieval/copy_actions.h"
#include "retrieval/message_listing.h"
#include "retrieval/number_listing.h"

namespace smsdock {

std::vector<EventBinding> MainWindowEvents() {
    return {
        Bind("", Event::Created, &StartStartupWorker),
        Bind("单选框1", Event::Clicked, &SwitchToDomestic),
        Bind("单选框2", Event::Clicked, &SwitchToForeign),
        Bind("按钮1", Event::Clicked, &FetchSelectedPage),
        Bind("超级列表框1", Event::Clicked, &CopySelectedNumber),
        Bind("超级列表框1", Event::DoubleClicked, &ListMessages),
        Bind("超级列表框2", Event::Clicked, &CopySelectedMessage),
        Bind("时钟1", Event::Tick, &ShowAdvertPicture),
        Bind("时钟2", Event::Tick, &RecolourStatusLine),
        Bind("图片框1", Event::LeftButtonDown, &OpenPictureLink),
    };
}

}  // namespace smsdock
