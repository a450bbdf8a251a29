#pragma once

// One HTTP exchange over libcurl, shared by HttpRequest and FetchPictureBytes. Internal to
// http/: callers describe the request completely and get the final response back.
//
// What the transport does on its own accord is pinned down here: it sends the request line,
// Host, User-Agent (unless the lines carry one), the body's Content-Length, and exactly the
// given lines in their order - no Accept, Accept-Encoding, Content-Type, Expect or
// Proxy-Connection of its own. It keeps no cookies and no cache, never reuses a connection
// from another call, always verifies TLS peers and host names, follows redirects only to http
// and https, and never from https down to plain http.

#include <string>
#include <vector>

#include "http/transfer_limits.h"
#include "text/text.h"

namespace smsdock {

struct TransferRequest {
    std::string url;  // absolute http:// or https:// URL
    std::string verb = "GET";
    // Sent (with its length) for any verb but GET and HEAD.
    Bytes body;
    // Request header lines in order, without line ends. Lines without a colon, and lines holding
    // a CR or LF, are not sent.
    std::vector<std::string> headerLines;
    std::string userAgent;
    bool http10 = false;
    bool followRedirects = true;
    // host:port of an HTTP proxy; empty means a direct connection whatever the environment says.
    std::string proxy;
    TransferLimits limits = ProcessTransferLimits();
};

struct TransferResult {
    enum class Status {
        kNotStarted,  // no handle or an unusable request: nothing went out
        kFailed,      // the exchange went wrong or broke a limit
        kCompleted,   // the final response arrived whole, whatever its status code
    };
    Status status = Status::kNotStarted;
    Bytes body;  // the final response's body
    // The final response's status line and header lines, each ended by CRLF, then the empty
    // line's CRLF; cut after kMaxRawHeaderBytes.
    std::string rawHeaders;
};

TransferResult PerformTransfer(const TransferRequest& request);

}  // namespace smsdock
