#include "tests/support/test_server.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
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

constexpr std::size_t kGeneratedChunk = 64 * 1024;

}  // namespace

Route Route::Content(std::string body, std::string contentType) {
    Route route;
    route.body = std::move(body);
    route.contentType = std::move(contentType);
    return route;
}

Route Route::Redirect(std::string location, int status) {
    Route route;
    route.status = status;
    route.headers.emplace_back("Location", std::move(location));
    route.body = "moved";
    return route;
}

std::optional<std::string> RecordedRequest::Header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
        if (EqualNoCase(key, name)) return value;
    }
    return std::nullopt;
}

struct TestServer::State {
    bool tls = false;
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    int port = 0;

    mutable std::mutex mutex;
    std::map<std::string, Route> routes;
    std::vector<RecordedRequest> requests;

    httplib::Server::HandlerResponse Handle(const httplib::Request& request,
                                            httplib::Response& response) {
        RecordedRequest record{request.method, request.target, request.path, {}, request.body};
        for (const auto& header : request.headers)
            record.headers.push_back(header);

        std::optional<Route> route;
        {
            std::lock_guard lock(mutex);
            requests.push_back(std::move(record));
            if (auto found = routes.find(request.path); found != routes.end())
                route = found->second;
        }
        if (!route) {
            response.status = 404;
            response.set_content("not found", "text/plain");
            return httplib::Server::HandlerResponse::Handled;
        }

        if (route->delay.count() > 0) std::this_thread::sleep_for(route->delay);
        response.status = route->status;
        for (const auto& [name, value] : route->headers)
            response.headers.emplace(name, value);

        if (route->generatedSize) {
            const std::size_t size = *route->generatedSize;
            auto provide = [size](std::size_t offset, httplib::DataSink& sink) {
                static const std::string chunk(kGeneratedChunk, 'x');
                if (offset >= size) {
                    sink.done();
                    return true;
                }
                return sink.write(chunk.data(), std::min(kGeneratedChunk, size - offset));
            };
            if (route->chunked) {
                response.set_chunked_content_provider(route->contentType, provide);
            } else {
                response.set_content_provider(
                    size, route->contentType,
                    [provide](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                        return provide(offset, sink);
                    });
            }
        } else if (route->chunked) {
            response.set_chunked_content_provider(
                route->contentType,
                [body = route->body](std::size_t offset, httplib::DataSink& sink) {
                    if (offset < body.size())
                        return sink.write(body.data() + offset, body.size() - offset);
                    sink.done();
                    return true;
                });
        } else {
            response.set_content(route->body, route->contentType);
        }
        return httplib::Server::HandlerResponse::Handled;
    }
};

TestServer::TestServer(Scheme scheme, ServerCertificate certificate)
    : state_(std::make_unique<State>()) {
    state_->tls = scheme == Scheme::kHttps;
    if (state_->tls) {
        state_->server = std::make_unique<httplib::SSLServer>(CertificateFile(certificate).c_str(),
                                                              PrivateKeyFile(certificate).c_str());
    } else {
        state_->server = std::make_unique<httplib::Server>();
    }
    if (!state_->server->is_valid())
        throw std::runtime_error("TestServer: cannot set up the server");

    state_->server->set_keep_alive_timeout(1);
    // Each answer goes out at once, as from a web server, instead of waiting out the client's
    // delayed acknowledgement of the TLS record before it (tens of milliseconds on loopback).
    state_->server->set_tcp_nodelay(true);
    state_->server->set_pre_routing_handler(
        [state = state_.get()](const httplib::Request& request, httplib::Response& response) {
            return state->Handle(request, response);
        });
    state_->port = state_->server->bind_to_any_port("127.0.0.1");
    if (state_->port <= 0) throw std::runtime_error("TestServer: cannot listen on 127.0.0.1");
    state_->thread = std::thread([server = state_->server.get()] { server->listen_after_bind(); });
    while (!state_->server->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TestServer::~TestServer() {
    state_->server->stop();
    state_->thread.join();
}

void TestServer::Set(std::string path, Route route) {
    std::lock_guard lock(state_->mutex);
    state_->routes[std::move(path)] = std::move(route);
}

int TestServer::port() const {
    return state_->port;
}

std::string TestServer::Origin() const {
    return LoopbackOrigin(state_->tls, state_->port);
}

std::string TestServer::Url(std::string_view path) const {
    return Origin() + std::string(path);
}

std::vector<RecordedRequest> TestServer::Requests() const {
    std::lock_guard lock(state_->mutex);
    return state_->requests;
}

}  // namespace smsdock::testing
