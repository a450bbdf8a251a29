#pragma once

// The picture fetch of the window layer: one plain GET in the manner of an old browser.

#include "http/transfer_limits.h"
#include "text/text.h"

namespace smsdock {

// One HTTP/1.0 GET of url (http or https, redirects followed as HttpRequest follows them,
// always direct) that returns the body whatever the status code. An empty, malformed or
// unreachable URL, and a failed exchange, give empty Bytes.
Bytes FetchPictureBytes(const Text& url);
Bytes FetchPictureBytes(const Text& url, const TransferLimits& limits);

}  // namespace smsdock
