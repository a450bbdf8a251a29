#pragma once

// Taking a URL apart for the request routine. These are plain text manipulations, not a URL
// grammar: unusual URLs give whatever the steps make of them, and a host that makes no sense
// simply fails to connect later.

#include <optional>

#include "text/text.h"

namespace smsdock {

// The host of url, lower-cased.
//  - labelCount absent (the scheme mode): the text between "https://" (when the URL starts with
//    it) or the first "http://" (put in front when there is none) and the next "/". mainDomain
//    keeps the last two dot-separated pieces.
//  - labelCount given (n, below 0 counts as 0): the schemes are removed, the host ends at the
//    first "/", and the last n + 2 labels are kept (n + 1 with mainDomain) when it has them.
// The port part (from the first ":") is cut off unless keepPort.
Text UrlHost(const Text& url, bool mainDomain = false, bool keepPort = false,
             std::optional<int> labelCount = std::nullopt);

// The port after the host's last ":" (0 when it is no number), else 443 for https and 80.
int UrlPort(const Text& url);

// The path and query from the first "/" after the host, in the caller's letter case; "/" when
// there is none.
Text UrlPath(const Text& url);

}  // namespace smsdock
