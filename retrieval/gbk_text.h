#pragma once

// The fixed texts of the retrieval routines are written in UTF-8 source; the window layer and
// every Text hold GBK.

#include <string_view>

#include "text/code_page.h"
#include "text/text.h"

namespace smsdock {

inline Text GbkText(std::string_view utf8) {
    return Utf8ToAnsi(Text(utf8));
}

}  // namespace smsdock
