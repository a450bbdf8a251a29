#pragma once

// HttpRequest: one complete, synchronous HTTP/1.1 exchange; everything SmsDock reads from the
// network goes through it. Errors are never raised: a failed exchange gives empty Bytes.

#include <optional>

#include "http/transfer_limits.h"
#include "text/text.h"

namespace smsdock {

// Indexes of the method table; any other value is read as kMethodGet.
enum HttpMethod : int {
    kMethodGet = 0,
    kMethodPost = 1,
    kMethodHead = 2,
    kMethodPut = 3,
    kMethodOptions = 4,
    kMethodDelete = 5,
    kMethodTrace = 6,
    kMethodConnect = 7,
};

// The request's options: the caller's values, left at their defaults by every caller of the
// program. The fields marked in-out are rewritten by HttpRequest once the request is sent, so
// one options value passed request after request carries its cookies forward.
struct HttpRequestOptions {
    int method = kMethodGet;
    // Body for any method but GET (and HEAD, which sends none), used when bodyBytes is empty.
    Text bodyText;
    // In-out. Cookie text to send. Whether it is given matters, not only what it holds: a given
    // cookie text (even an empty one) turns on merging the response's cookies into it.
    std::optional<Text> cookies;
    // In-out. Extra request header lines separated by CRLF; receives the block that was sent.
    Text headers;
    bool noRedirect = false;
    // In-out. Body for any method but GET and HEAD, winning over bodyText; receives the body
    // that was sent.
    Bytes bodyBytes;
    // host:port of an HTTP proxy; empty means a direct connection, whatever the environment's
    // proxy variables say. For an http URL the proxy serves plain HTTP only.
    Text proxy;
    bool mergeCookies = true;       // merge the response's cookies into cookies (when given)
    bool completeHeaders = true;    // add the default header lines
    bool capitalizeHeaders = true;  // rewrite header names with NormalizeHeaders
};

// What the response handed back besides its body.
struct HttpResponseInfo {
    // The cookies the response set (merged with the options' cookies when that applies).
    Text cookies;
    // The final response's status line and header lines, each ended by CRLF, then the CRLF of
    // the empty line; at most kMaxRawHeaderBytes. Empty when the exchange failed.
    Text headers;
};

// Fetches url with every option at its default and returns the body.
Bytes HttpRequest(const Text& url);

// Fetches url as options say and returns the body, whatever the status code. Empty Bytes when
// the exchange failed: nothing reachable, a refused certificate or redirect, a limit broken.
// When a URL cannot even be taken apart into host and port, options and response are left
// untouched; otherwise the in-out fields of options are rewritten and response (when given)
// receives the response's cookies and headers.
Bytes HttpRequest(const Text& url, HttpRequestOptions& options,
                  HttpResponseInfo* response = nullptr,
                  const TransferLimits& limits = ProcessTransferLimits());
// The same for options the caller does not keep.
Bytes HttpRequest(const Text& url, HttpRequestOptions&& options,
                  HttpResponseInfo* response = nullptr,
                  const TransferLimits& limits = ProcessTransferLimits());

// The body of a default GET of url as Text (up to its first zero byte); "" on failure.
Text FetchText(const Text& url);

}  // namespace smsdock
