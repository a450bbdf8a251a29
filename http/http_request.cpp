#include "http/http_request.h"

#include <cstdio>
#include <string>
#include <vector>

#include "http/cookies.h"
#include "http/headers.h"
#include "http/transfer.h"
#include "http/url.h"
#include "text/extract.h"
#include "text/text_ops.h"

namespace smsdock {

namespace {

constexpr const char* kDefaultUserAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
constexpr const char* kVerbs[] = {"GET",     "POST",   "HEAD",  "PUT",
                                  "OPTIONS", "DELETE", "TRACE", "CONNECT"};

int MethodIndex(int method) {
    return method < kMethodGet || method > kMethodConnect ? kMethodGet : method;
}

// Only the first eight characters decide whether the exchange runs over TLS.
bool IsSecure(const Text& url) {
    return ToLowerCase(TextLeft(url, 8)) == "https://";
}

// The agent named in the caller's block, else the default one. The block's User-Agent line is
// sent as it stands; the agent only matters when the block names one without such a line.
Text AgentFor(const Text& headers) {
    if (PositionOf(headers, "User-Agent:", 1, true) == -1) return kDefaultUserAgent;
    const Text agent = TrimSpaces(TextBetween(headers + "\r\n", "User-Agent:", "\r\n"));
    return agent.empty() ? Text(kDefaultUserAgent) : agent;
}

// The host and port a connection can be opened to: a host name or IPv4 address (UrlHost has
// lower-cased it) and a port in range, 0 standing for the scheme's usual port.
bool IsConnectableHost(const Text& host) {
    if (host.empty()) return false;
    for (char c : host.view()) {
        const bool allowed =
            (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        if (!allowed) return false;
    }
    return true;
}

int ConnectPort(int port, bool secure) {
    if (port == 0) return secure ? 443 : 80;
    return port >= 1 && port <= 65535 ? port : -1;
}

// The path as UrlPath gives it, with blanks and control bytes percent-encoded: they cannot
// stand in a request line.
std::string RequestTarget(const Text& path) {
    std::string target;
    for (char c : path.view()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            target += escaped;
        } else {
            target += c;
        }
    }
    return target;
}

// The default lines a block lacks. Each probe looks through the whole block, letter case
// ignored, so a probe text anywhere in it counts as present.
Text CompleteHeaders(Text block, const Text& url, int method) {
    if (block.empty()) block = "Accept: */*";
    auto lacks = [&block](const char* probe) { return PositionOf(block, probe, 1, true) == -1; };
    if (lacks("Accept:")) block += "\r\nAccept: */*";
    if (lacks("Referer:")) block += "\r\nReferer: " + url;
    if (lacks("Accept-Language:")) block += "\r\nAccept-Language: zh-cn";
    if (method == kMethodPost && lacks("Content-Type:")) {
        block += "\r\nContent-Type: application/x-www-form-urlencoded";
    }
    return block;
}

Text AppendCookieLine(const Text& block, const Text& cookies) {
    if (cookies.empty()) return block;
    if (PositionOf(cookies, "Cookie:") != -1) return block + "\r\n" + cookies;
    return block + "\r\nCookie: " + cookies;
}

std::vector<std::string> LinesOf(const Text& block) {
    std::vector<std::string> lines;
    for (const Text& line : SplitText(block, "\r\n"))
        lines.push_back(line.str());
    return lines;
}

}  // namespace

Bytes HttpRequest(const Text& url) {
    HttpRequestOptions options;
    return HttpRequest(url, options);
}

Bytes HttpRequest(const Text& url, HttpRequestOptions&& options, HttpResponseInfo* response,
                  const TransferLimits& limits) {
    HttpRequestOptions kept = std::move(options);
    return HttpRequest(url, kept, response, limits);
}

Bytes HttpRequest(const Text& url, HttpRequestOptions& options, HttpResponseInfo* response,
                  const TransferLimits& limits) {
    const int method = MethodIndex(options.method);
    const bool secure = IsSecure(url);

    TransferRequest transfer;
    transfer.verb = kVerbs[method];
    transfer.userAgent = AgentFor(options.headers).str();
    // For an http URL the proxy serves plain HTTP; libcurl also takes it for a redirect to
    // https, which it tunnels through the proxy.
    transfer.proxy = options.proxy.str();
    transfer.followRedirects = !options.noRedirect;
    transfer.limits = limits;

    const Text host = UrlHost(url);
    const int port = ConnectPort(UrlPort(url), secure);
    if (!IsConnectableHost(host) || port == -1) return {};
    transfer.url = (secure ? "https://" : "http://") + host.str() + ":" + std::to_string(port) +
                   RequestTarget(UrlPath(url));

    Text block = options.headers;
    if (options.completeHeaders) block = CompleteHeaders(block, url, method);
    if (options.capitalizeHeaders) block = NormalizeHeaders(block);
    block = AppendCookieLine(block, options.cookies.value_or(Text()));
    transfer.headerLines = LinesOf(block);

    // HEAD asks for no body, so it sends none either.
    const bool sendsBody = method != kMethodGet && method != kMethodHead;
    if (sendsBody) {
        transfer.body =
            options.bodyBytes.empty() ? TextToBytes(options.bodyText) : options.bodyBytes;
    }

    TransferResult result = PerformTransfer(transfer);
    if (result.status == TransferResult::Status::kNotStarted) return {};

    options.headers = block;
    if (sendsBody) options.bodyBytes = transfer.body;

    const Text rawHeaders(std::move(result.rawHeaders));
    Text returnedCookies = CollectResponseCookies(rawHeaders);
    if (options.mergeCookies && options.cookies) {
        returnedCookies = MergeCookies(*options.cookies, returnedCookies);
    }
    if (response) {
        response->cookies = returnedCookies;
        response->headers = rawHeaders;
    }
    if (result.status != TransferResult::Status::kCompleted) return {};
    return std::move(result.body);
}

Text FetchText(const Text& url) {
    return BytesToText(HttpRequest(url));
}

}  // namespace smsdock
