#pragma once

// A loopback HTTP or HTTPS server (on cpp-httplib) that serves routes a test sets up and
// records the requests it receives, as the library parsed them. For the exact bytes of a
// request, or for answers no proper server sends, use RawHttpServer.

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/test_certificates.h"

namespace smsdock::testing {

// What a path answers, for every method.
struct Route {
    int status = 200;
    // Extra response headers in order; a name may repeat (several Set-Cookie lines).
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::string contentType = "text/html; charset=utf-8";
    // Waited before answering.
    std::chrono::milliseconds delay{0};
    // When set, the body is this many bytes of 'x', made while it is sent (body is ignored).
    std::optional<std::size_t> generatedSize;
    // Send the body in chunks without announcing its length.
    bool chunked = false;

    static Route Content(std::string body, std::string contentType = "text/html; charset=utf-8");
    static Route Redirect(std::string location, int status = 302);
};

struct RecordedRequest {
    std::string method;
    std::string target;  // path and query as in the request line
    std::string path;    // without the query
    // Headers as parsed; the order of different names is lost (sorted by name).
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // The first value of the header with this name (any letter case), nullopt when absent.
    std::optional<std::string> Header(std::string_view name) const;
};

class TestServer {
  public:
    // Serves on an ephemeral port of 127.0.0.1 at once; unknown paths answer 404.
    explicit TestServer(Scheme scheme = Scheme::kHttp,
                        ServerCertificate certificate = ServerCertificate::kLocalhost);
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    // Sets (or replaces) what path answers; may be called while the server runs.
    void Set(std::string path, Route route);

    int port() const;
    std::string Origin() const;                    // "http://127.0.0.1:<port>" (https with TLS)
    std::string Url(std::string_view path) const;  // Origin() + path

    std::vector<RecordedRequest> Requests() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace smsdock::testing
