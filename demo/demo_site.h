#pragma once

// The demo site: four small servers on 127.0.0.1, one per role, each on its own port and its
// own thread. The two number sites and the article site speak HTTPS with a certificate from the
// demo's CA; the notice blog speaks plain HTTP.

#include <filesystem>
#include <memory>
#include <string>

#include "demo/options.h"
#include "demo/pages.h"

namespace smsdock::demo {

class DemoSite {
  public:
    explicit DemoSite(DemoOptions options);
    ~DemoSite();
    DemoSite(const DemoSite&) = delete;
    DemoSite& operator=(const DemoSite&) = delete;

    // Loads or creates the certificates, binds every port and returns once every role accepts
    // connections; then writes the env file, if one was asked for. Throws std::runtime_error
    // when a port cannot be bound or the certificates cannot be had.
    void Start();
    // Stops every role, waits for their threads and removes the env file. Safe to call twice.
    void Stop();

    // Valid after Start: the origins with the ports actually bound.
    const SiteOrigins& Origins() const;
    const std::filesystem::path& CaFile() const;
    // The lines for SmsDock's environment, each ending with a newline.
    std::string EnvLines() const;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

// value quoted for a POSIX shell when it holds anything but plain path characters.
std::string ShellQuoted(const std::string& value);

}  // namespace smsdock::demo
