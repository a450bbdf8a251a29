#include "app/handlers_pending.h"

namespace smsdock {

void SwitchToDomestic() {}
void SwitchToForeign() {}
void FetchSelectedPage() {}
void ListMessages(const EventArgs&) {}
void CopySelectedNumber() {}
void CopySelectedMessage() {}
void RunStartupCheck() {}
void ShowAdvertPicture() {}
void RecolourStatusLine() {}
void OpenPictureLink(const EventArgs&) {}

}  // namespace smsdock
