#include "retrieval/clipboard.h"

#include <algorithm>

#include "text/code_page.h"
#include "text/text_ops.h"
#include "ui/window_layer.h"

namespace smsdock {

void SetClipboardText(const Text& text) {
    // A block of the text's n bytes and one zero byte, handed over as plain text.
    const int n = TextLength(text);
    Bytes block(static_cast<std::size_t>(n) + 1, 0);
    std::copy_n(text.c_str(), n, block.begin());
    PutClipboardAnsiText(block);
}

Text GetClipboardText() {
    const Bytes unicode = ClipboardUnicodeText();
    if (unicode.empty()) return Text();
    // The whole block, converted up to its first zero unit.
    Bytes block = ZeroedBytes(static_cast<int>(unicode.size()));
    std::copy_n(unicode.begin(), block.size(), block.begin());
    return Utf16ToGbk(block);
}

}  // namespace smsdock
