#pragma once

// The start-up check: reads the notice document from the notice blog and either forces the
// update to a newer version, which ends the program, or lists the first domestic page and
// applies the notice, the advert timer, the notice picture and the update pop-up window.

namespace smsdock {

// Run once by the start-up worker; talks to the main window through the window layer.
void RunStartupCheck();

}  // namespace smsdock
