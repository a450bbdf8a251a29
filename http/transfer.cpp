#include "http/transfer.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string_view>

#include "http/curl_easy.h"

namespace smsdock {

namespace {

// Headers libcurl would add on its own unless the request carries them; an empty "Name:" entry
// in the header list tells it to leave them out.
constexpr std::string_view kSuppressedDefaults[] = {"Accept", "Content-Type", "Expect",
                                                    "Proxy-Connection"};

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return Lower(a) == Lower(b); });
}

std::string_view TrimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

// libcurl's own test for "the request carries this header": the name, any letter case, then
// ":" or ";".
bool CarriesHeader(const std::vector<std::string>& lines, std::string_view name) {
    return std::any_of(lines.begin(), lines.end(), [name](const std::string& line) {
        return StartsWithNoCase(line, name) && line.size() > name.size() &&
               (line[name.size()] == ':' || line[name.size()] == ';');
    });
}

// The lines as libcurl must be given them to send each exactly once and nothing else.
std::vector<std::string> WireHeaderLines(const std::vector<std::string>& lines) {
    std::vector<std::string> wire;
    for (const std::string& line : lines) {
        // A line end inside a line would start a header (or a request) of its own.
        if (line.find_first_of("\r\n") != std::string::npos) continue;
        const auto colon = line.find(':');
        if (colon == std::string::npos || colon == 0) continue;
        // libcurl reads "Name:" with nothing after it as "drop that header"; "Name;" is its
        // spelling for a header sent with an empty value.
        if (TrimBlanks(std::string_view(line).substr(colon + 1)).empty()) {
            wire.push_back(line.substr(0, colon) + ";");
        } else {
            wire.push_back(line);
        }
    }
    for (std::string_view name : kSuppressedDefaults) {
        if (!CarriesHeader(wire, name)) wire.push_back(std::string(name) + ":");
    }
    return wire;
}

// What the callbacks collect while one exchange runs.
struct Exchange {
    CURL* curl = nullptr;
    bool followRedirects = true;
    std::int64_t maxBodyBytes = 0;

    int status = 0;  // of the response whose headers are arriving
    bool headersComplete = false;
    std::string rawHeaders;
    Bytes body;
};

int StatusOf(std::string_view statusLine) {
    const auto space = statusLine.find(' ');
    if (space == std::string_view::npos) return 0;
    int code = 0;
    for (char c : statusLine.substr(space + 1, 3)) {
        if (c < '0' || c > '9') return 0;
        code = code * 10 + (c - '0');
    }
    return code;
}

// A redirect that would take a TLS exchange to plain HTTP.
bool IsDowngradeRedirect(const Exchange& exchange, std::string_view line) {
    if (exchange.status < 300 || exchange.status > 399) return false;
    if (!StartsWithNoCase(line, "location:")) return false;
    const char* current = nullptr;
    curl_easy_getinfo(exchange.curl, CURLINFO_EFFECTIVE_URL, &current);
    if (!current || !StartsWithNoCase(current, "https:")) return false;
    return StartsWithNoCase(TrimBlanks(line.substr(9)), "http:");
}

void AppendCapped(std::string& headers, std::string_view part) {
    if (headers.size() >= kMaxRawHeaderBytes) return;
    headers.append(part.substr(0, kMaxRawHeaderBytes - headers.size()));
}

size_t OnHeaderLine(char* data, size_t size, size_t count, void* user) {
    auto& exchange = *static_cast<Exchange*>(user);
    const size_t total = size * count;
    std::string_view line(data, total);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);

    if (StartsWithNoCase(line, "HTTP/")) {
        // A new response begins (after a 1xx or a followed redirect): only the last one counts.
        exchange.status = StatusOf(line);
        exchange.headersComplete = false;
        exchange.rawHeaders.clear();
        exchange.body.clear();
    } else if (exchange.headersComplete) {
        return total;  // trailer fields after a chunked body are no response headers
    }
    if (exchange.followRedirects && IsDowngradeRedirect(exchange, line)) return 0;  // aborts

    AppendCapped(exchange.rawHeaders, line);
    AppendCapped(exchange.rawHeaders, "\r\n");
    if (line.empty()) exchange.headersComplete = true;
    return total;
}

size_t OnBodyChunk(char* data, size_t size, size_t count, void* user) {
    auto& exchange = *static_cast<Exchange*>(user);
    const size_t total = size * count;
    if (static_cast<std::int64_t>(exchange.body.size() + total) > exchange.maxBodyBytes) {
        return 0;  // aborts the exchange
    }
    exchange.body.insert(exchange.body.end(), data, data + total);
    return total;
}

// Adds the CA bundle named by SMSDOCK_CA_FILE to the system's trust store of this connection.
CURLcode AddExtraCaBundle(CURL*, void* sslContext, void* path) {
    X509_STORE* store = SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(sslContext));
    if (store) X509_STORE_load_file(store, static_cast<const char*>(path));
    ERR_clear_error();  // an unreadable bundle leaves the system store alone
    return CURLE_OK;
}

struct UrlHandleCleanup {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

// Only absolute http and https URLs that libcurl can take apart are fetched.
bool IsFetchableUrl(const std::string& url) {
    if (!StartsWithNoCase(url, "http://") && !StartsWithNoCase(url, "https://")) return false;
    std::unique_ptr<CURLU, UrlHandleCleanup> parsed(curl_url());
    return parsed &&
           curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), CURLU_PATH_AS_IS) == CURLUE_OK;
}

std::mutex processLimitsMutex;
TransferLimits processLimits = kDefaultTransferLimits;

}  // namespace

TransferLimits ProcessTransferLimits() {
    std::lock_guard lock(processLimitsMutex);
    return processLimits;
}

void ReplaceProcessTransferLimitsInTests(const TransferLimits& limits) {
    std::lock_guard lock(processLimitsMutex);
    processLimits = limits;
}

TransferResult PerformTransfer(const TransferRequest& request) {
    TransferResult result;
    CurlEasy easy;
    if (!easy || !IsFetchableUrl(request.url)) return result;
    CURL* curl = easy.get();

    Exchange exchange;
    exchange.curl = curl;
    exchange.followRedirects = request.followRedirects;
    exchange.maxBodyBytes = request.limits.maxBodyBytes;

    CurlSlist headerList;
    for (const std::string& line : WireHeaderLines(request.headerLines)) {
        if (!headerList.Append(line.c_str())) return result;
    }

    curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION,
                     request.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, request.userAgent.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headerList.get());

    if (request.verb == "GET") {
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    } else if (request.verb == "HEAD") {
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    } else {
        curl_easy_setopt(curl, CURLOPT_POST, 1L);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(
            curl, CURLOPT_POSTFIELDS,
            request.body.empty() ? "" : reinterpret_cast<const char*>(request.body.data()));
        if (request.verb != "POST")
            curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
    }

    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);

    // An empty proxy string turns off the proxy variables of the environment as well.
    curl_easy_setopt(curl, CURLOPT_PROXY, request.proxy.c_str());
    if (!request.proxy.empty()) curl_easy_setopt(curl, CURLOPT_NOPROXY, "");
    curl_easy_setopt(curl, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);

    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    const char* caVariable = std::getenv("SMSDOCK_CA_FILE");
    const std::string extraCa = caVariable ? caVariable : "";
    if (!extraCa.empty()) {
        curl_easy_setopt(curl, CURLOPT_SSL_CTX_FUNCTION, AddExtraCaBundle);
        curl_easy_setopt(curl, CURLOPT_SSL_CTX_DATA, extraCa.c_str());
    }

    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(request.limits.connectTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS,
                     static_cast<long>(request.limits.exchangeTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE,
                     static_cast<curl_off_t>(request.limits.maxBodyBytes));

    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeaderLine);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &exchange);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBodyChunk);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &exchange);

    if (curl_easy_perform(curl) != CURLE_OK) {
        result.status = TransferResult::Status::kFailed;
        return result;
    }
    result.status = TransferResult::Status::kCompleted;
    result.body = std::move(exchange.body);
    result.rawHeaders = std::move(exchange.rawHeaders);
    return result;
}

}  // namespace smsdock
