#include "tests/support/raw_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

namespace smsdock::testing {

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

const char* ReasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 204:
            return "No Content";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 303:
            return "See Other";
        case 307:
            return "Temporary Redirect";
        case 400:
            return "Bad Request";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        case 502:
            return "Bad Gateway";
        default:
            return "Status";
    }
}

// One accepted connection, plain or TLS.
class Connection {
  public:
    Connection(int fd, SSL* ssl) : fd_(fd), ssl_(ssl) {}
    ~Connection() {
        if (ssl_) SSL_free(ssl_);
    }

    // Bytes read into buffer, 0 at the end or on any failure.
    size_t Read(char* buffer, size_t size) {
        if (ssl_) {
            const int n = SSL_read(ssl_, buffer, static_cast<int>(size));
            return n > 0 ? static_cast<size_t>(n) : 0;
        }
        const ssize_t n = recv(fd_, buffer, size, 0);
        return n > 0 ? static_cast<size_t>(n) : 0;
    }

    // False once the peer is gone.
    bool Write(std::string_view data) {
        while (!data.empty()) {
            const ssize_t n = ssl_ ? SSL_write(ssl_, data.data(), static_cast<int>(data.size()))
                                   : send(fd_, data.data(), data.size(), MSG_NOSIGNAL);
            if (n <= 0) return false;
            data.remove_prefix(static_cast<size_t>(n));
        }
        return true;
    }

    void Close() {
        if (ssl_) SSL_shutdown(ssl_);
        shutdown(fd_, SHUT_WR);
    }

  private:
    int fd_;
    SSL* ssl_;
};

// Reads one request: the head up to the empty line, then as many body bytes as its
// Content-Length says. Nullopt when the peer closed before the head was complete.
std::optional<RawRequest> ReadRequest(Connection& connection) {
    std::string data;
    char buffer[16 * 1024];
    size_t headEnd;
    while ((headEnd = data.find("\r\n\r\n")) == std::string::npos) {
        const size_t n = connection.Read(buffer, sizeof buffer);
        if (n == 0) return std::nullopt;
        data.append(buffer, n);
    }

    RawRequest request;
    std::string_view head(data.data(), headEnd);
    auto lineEnd = head.find("\r\n");
    request.requestLine = std::string(head.substr(0, lineEnd));
    while (lineEnd != std::string_view::npos) {
        head.remove_prefix(lineEnd + 2);
        lineEnd = head.find("\r\n");
        request.headerLines.emplace_back(head.substr(0, lineEnd));
    }

    size_t bodyLength = 0;
    if (auto length = request.Header("Content-Length")) bodyLength = std::stoul(*length);
    request.body = data.substr(headEnd + 4);
    while (request.body.size() < bodyLength) {
        const size_t n = connection.Read(buffer, sizeof buffer);
        if (n == 0) break;
        request.body.append(buffer, n);
    }
    return request;
}

struct SslContextDeleter {
    void operator()(SSL_CTX* context) const { SSL_CTX_free(context); }
};

}  // namespace

std::optional<std::string> RawRequest::Header(std::string_view name) const {
    for (const std::string& line : headerLines) {
        const auto colon = line.find(':');
        if (colon != std::string::npos &&
            EqualNoCase(Trim(std::string_view(line).substr(0, colon)), name)) {
            return std::string(Trim(std::string_view(line).substr(colon + 1)));
        }
    }
    return std::nullopt;
}

std::string RawResponse(int status, const std::vector<std::string>& headerLines,
                        std::string_view body) {
    std::string response =
        "HTTP/1.1 " + std::to_string(status) + " " + ReasonPhrase(status) + "\r\n";
    for (const std::string& line : headerLines)
        response += line + "\r\n";
    response += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    response += body;
    return response;
}

struct RawHttpServer::State {
    bool tls = false;
    std::unique_ptr<SSL_CTX, SslContextDeleter> sslContext;
    int listenFd = -1;
    int port = 0;
    std::thread acceptThread;

    mutable std::mutex mutex;
    std::condition_variable stopped;
    bool stopping = false;
    Responder responder;
    bool neverAnswer = false;
    bool streaming = false;
    std::string streamHead;
    std::string streamChunk;
    std::vector<RawRequest> requests;
    std::set<int> openFds;
    std::vector<std::thread> connectionThreads;

    void AcceptLoop() {
        for (;;) {
            const int fd = accept(listenFd, nullptr, nullptr);
            std::lock_guard lock(mutex);
            if (stopping) {
                if (fd >= 0) close(fd);
                return;
            }
            if (fd < 0) continue;
            openFds.insert(fd);
            connectionThreads.emplace_back([this, fd] { Serve(fd); });
        }
    }

    void Stream(Connection& connection, const std::string& head, const std::string& chunk);

    void Serve(int fd) {
        SSL* ssl = nullptr;
        if (sslContext) {
            ssl = SSL_new(sslContext.get());
            SSL_set_fd(ssl, fd);
            if (SSL_accept(ssl) != 1) ERR_clear_error();
        }
        {
            Connection connection(fd, ssl);
            if (auto request = ReadRequest(connection)) {
                Responder answer;
                bool stream = false;
                std::string head;
                std::string chunk;
                {
                    std::unique_lock lock(mutex);
                    requests.push_back(*request);
                    if (neverAnswer) stopped.wait(lock, [this] { return stopping; });
                    if (!stopping) answer = responder;
                    stream = streaming;
                    head = streamHead;
                    chunk = streamChunk;
                }
                if (stream) {
                    Stream(connection, head, chunk);
                } else if (answer) {
                    connection.Write(answer(*request));
                }
            }
            connection.Close();
            ERR_clear_error();
        }
        std::lock_guard lock(mutex);
        openFds.erase(fd);
        close(fd);
    }
};

void RawHttpServer::State::Stream(Connection& connection, const std::string& head,
                                  const std::string& chunk) {
    if (!connection.Write(head)) return;
    if (chunk.empty()) {
        std::unique_lock lock(mutex);
        stopped.wait(lock, [this] { return stopping; });
        return;
    }
    for (;;) {
        {
            std::lock_guard lock(mutex);
            if (stopping) return;
        }
        if (!connection.Write(chunk)) return;
    }
}

RawHttpServer::RawHttpServer(Scheme scheme, ServerCertificate certificate)
    : state_(std::make_unique<State>()) {
    std::signal(SIGPIPE, SIG_IGN);
    state_->tls = scheme == Scheme::kHttps;
    state_->responder = [](const RawRequest&) { return RawResponse(200, {}, "ok"); };
    if (state_->tls) {
        state_->sslContext.reset(SSL_CTX_new(TLS_server_method()));
        if (!state_->sslContext ||
            SSL_CTX_use_certificate_chain_file(state_->sslContext.get(),
                                               CertificateFile(certificate).c_str()) != 1 ||
            SSL_CTX_use_PrivateKey_file(state_->sslContext.get(),
                                        PrivateKeyFile(certificate).c_str(),
                                        SSL_FILETYPE_PEM) != 1) {
            throw std::runtime_error("RawHttpServer: cannot load the test certificate");
        }
    }

    state_->listenFd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (state_->listenFd < 0 ||
        bind(state_->listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(state_->listenFd, 16) != 0 ||
        getsockname(state_->listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("RawHttpServer: cannot listen on 127.0.0.1");
    }
    state_->port = ntohs(address.sin_port);
    state_->acceptThread = std::thread([state = state_.get()] { state->AcceptLoop(); });
}

RawHttpServer::~RawHttpServer() {
    {
        std::lock_guard lock(state_->mutex);
        state_->stopping = true;
        shutdown(state_->listenFd, SHUT_RDWR);
        for (int fd : state_->openFds)
            shutdown(fd, SHUT_RDWR);
    }
    state_->stopped.notify_all();
    state_->acceptThread.join();
    close(state_->listenFd);
    // No new connection threads start once stopping is set.
    for (std::thread& thread : state_->connectionThreads)
        thread.join();
}

int RawHttpServer::port() const {
    return state_->port;
}

std::string RawHttpServer::Origin() const {
    return LoopbackOrigin(state_->tls, state_->port);
}

std::string RawHttpServer::Url(std::string_view path) const {
    return Origin() + std::string(path);
}

void RawHttpServer::Respond(std::string rawResponse) {
    Respond([rawResponse = std::move(rawResponse)](const RawRequest&) { return rawResponse; });
}

void RawHttpServer::Respond(Responder responder) {
    std::lock_guard lock(state_->mutex);
    state_->responder = std::move(responder);
    state_->neverAnswer = false;
    state_->streaming = false;
}

void RawHttpServer::NeverAnswer() {
    std::lock_guard lock(state_->mutex);
    state_->neverAnswer = true;
    state_->streaming = false;
}

void RawHttpServer::Stream(std::string head, std::string chunk) {
    std::lock_guard lock(state_->mutex);
    state_->neverAnswer = false;
    state_->streaming = true;
    state_->streamHead = std::move(head);
    state_->streamChunk = std::move(chunk);
}

std::vector<RawRequest> RawHttpServer::Requests() const {
    std::lock_guard lock(state_->mutex);
    return state_->requests;
}

}  // namespace smsdock::testing
