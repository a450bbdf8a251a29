#pragma once

// Handlers that the retrieval and notice folders will provide. Until they do, each is a routine
// that does nothing, so the windows are wired to their final names already. A folder that
// implements one removes it here and the event table includes the folder's header instead.

#include "ui/window_description.h"

namespace smsdock {

// Number listing.
void SwitchToDomestic();
void SwitchToForeign();
void FetchSelectedPage();
// Message retrieval; the pointer position and keys are ignored.
void ListMessages(const EventArgs& args);
// Copy actions.
void CopySelectedNumber();
void CopySelectedMessage();
// Start-up check, run by the start-up worker.
void RunStartupCheck();
// Advert pictures and timers.
void ShowAdvertPicture();
void RecolourStatusLine();
// The pointer position and keys are ignored.
void OpenPictureLink(const EventArgs& args);

}  // namespace smsdock
