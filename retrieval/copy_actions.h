#pragma once

// The copy actions of the two lists: a click copies the selected row's cell to the clipboard and
// confirms it in 标签2.

namespace smsdock {

// Click of 超级列表框1: copies the number cell, spaces included, and shows what the clipboard
// reads back.
void CopySelectedNumber();

// Click of 超级列表框2: copies the message content.
void CopySelectedMessage();

}  // namespace smsdock
