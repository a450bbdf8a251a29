#pragma once

// A loopback HTTP server that keeps every request byte for byte and answers with exactly the
// bytes a test chooses. Use it where the wire format itself is under test (which lines, in
// which order), for responses no well-behaved server library would send, for a server that
// never answers, and to play a proxy. For serving ordinary routes, use TestServer.
//
// Each connection carries one request: it is read whole (head and Content-Length body), then
// answered, then closed.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/test_certificates.h"

namespace smsdock::testing {

struct RawRequest {
    std::string requestLine;               // without its CRLF
    std::vector<std::string> headerLines;  // in the order sent, without CRLFs
    std::string body;

    // The value (without surrounding blanks) of the first header with this name, any letter
    // case; nullopt when there is none.
    std::optional<std::string> Header(std::string_view name) const;
};

// "HTTP/1.1 <status> <reason>", the given header lines, Content-Length, the empty line, body.
std::string RawResponse(int status, const std::vector<std::string>& headerLines = {},
                        std::string_view body = {});

class RawHttpServer {
  public:
    using Responder = std::function<std::string(const RawRequest&)>;

    // Listens on an ephemeral port of 127.0.0.1 at once; answers 200 "ok" until told otherwise.
    explicit RawHttpServer(Scheme scheme = Scheme::kHttp,
                           ServerCertificate certificate = ServerCertificate::kLocalhost);
    ~RawHttpServer();
    RawHttpServer(const RawHttpServer&) = delete;
    RawHttpServer& operator=(const RawHttpServer&) = delete;

    int port() const;
    std::string Origin() const;                    // "http://127.0.0.1:<port>" (https with TLS)
    std::string Url(std::string_view path) const;  // Origin() + path

    // Every request is answered with these bytes.
    void Respond(std::string rawResponse);
    // Every request is answered with what responder returns for it (called on a server thread).
    void Respond(Responder responder);
    // Requests are read and recorded but never answered; their connections stay open until the
    // server stops.
    void NeverAnswer();
    // Every request is answered with head (status line, header lines and the empty line), then
    // with chunk over and over until the client hangs up or the server stops. An empty chunk
    // means silence after the head, the connection kept open.
    void Stream(std::string head, std::string chunk);

    std::vector<RawRequest> Requests() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace smsdock::testing
