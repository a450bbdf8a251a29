#pragma once

// Small helpers shared by the exchange tests.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "http/transfer_limits.h"
#include "text/text.h"

namespace smsdock {

inline std::string AsString(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// A loopback port nothing listens on: bound once to learn a free number, then closed.
inline int ClosedLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

// Limits short enough that a test of a stalled exchange costs about a second.
inline TransferLimits QuickLimits() {
    TransferLimits limits;
    limits.connectTimeout = std::chrono::seconds(1);
    limits.exchangeTimeout = std::chrono::seconds(1);
    return limits;
}

// Sets environment variables for one test and puts the old values back afterwards.
class ScopedEnvironment {
  public:
    ScopedEnvironment(std::initializer_list<std::pair<const char*, std::string>> variables) {
        for (const auto& [name, value] : variables) {
            const char* old = std::getenv(name);
            saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
            setenv(name, value.c_str(), 1);
        }
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name, value->c_str(), 1);
            } else {
                unsetenv(name);
            }
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

// Every proxy variable libcurl reads, pointed at proxyOrigin.
inline ScopedEnvironment ProxyEnvironment(const std::string& proxyOrigin) {
    return ScopedEnvironment{{"http_proxy", proxyOrigin},
                             {"HTTP_PROXY", proxyOrigin},
                             {"https_proxy", proxyOrigin},
                             {"HTTPS_PROXY", proxyOrigin},
                             {"ALL_PROXY", proxyOrigin},
                             {"all_proxy", proxyOrigin},
                             {"NO_PROXY", ""},
                             {"no_proxy", ""}};
}

}  // namespace smsdock
