#pragma once

// The two clipboard routines of the copy actions. Text goes out as GBK plain text and is read
// back as Unicode, so a read right after a write shows what the clipboard made of the text.

#include "text/text.h"

namespace smsdock {

// Replaces the clipboard's contents with the text. Nothing is reported.
void SetClipboardText(const Text& text);

// The clipboard's text as GBK, read as Unicode; the empty text when it holds no text.
Text GetClipboardText();

}  // namespace smsdock
