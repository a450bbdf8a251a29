#include "demo/demo_site.h"

#include <sys/socket.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include <httplib.h>

#include "demo/certificates.h"
#include "demo/pictures.h"

namespace smsdock::demo {
namespace {

constexpr const char* kLoopback = "127.0.0.1";
constexpr const char* kHtml = "text/html; charset=utf-8";
constexpr int kWorkersPerRole = 4;

void SendHtml(httplib::Response& res, const std::string& html, int status = 200) {
    res.status = status;
    res.set_content(html, kHtml);
}

void SendNotFound(httplib::Response& res) {
    SendHtml(res, NotFoundPage(), 404);
}

std::optional<int> PageNumber(const std::string& text) {
    int value = 0;
    auto [at, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || at != text.data() + text.size()) return std::nullopt;
    return value;
}

// One listening role.
struct Role {
    const char* name = "";
    const char* scheme = "";
    int wantedPort = 0;
    std::unique_ptr<httplib::Server> server;
    int port = 0;
    std::string origin;
    // Set by the role's thread once its accept loop has ended.
    std::shared_ptr<std::atomic<bool>> finished = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace

struct DemoSite::Impl {
    DemoOptions options;
    SiteOrigins origins;
    std::filesystem::path caFile;
    std::vector<std::uint8_t> noticePicture;
    std::vector<std::uint8_t> advertPicture;
    // primary, secondary, notice, article
    std::vector<Role> roles;
    std::vector<std::thread> threads;
    bool envFileWritten = false;
    std::mutex logMutex;

    void Log(const char* role, const httplib::Request& req, const httplib::Response& res) {
        std::string target = req.path;
        if (!req.params.empty()) {
            char separator = '?';
            for (const auto& [key, value] : req.params) {
                target += separator + key + "=" + value;
                separator = '&';
            }
        }
        std::lock_guard lock(logMutex);
        std::fprintf(stderr, "[%s] %s %s %d\n", role, req.method.c_str(), target.c_str(),
                     res.status);
    }

    // True when the number sites are told to fail; res then holds the failing answer.
    bool FailNumberPage(httplib::Response& res) const {
        switch (options.failNumbers) {
            case FailMode::None:
                return false;
            case FailMode::ServerError:
                SendHtml(res, ServerErrorPage(), 500);
                return true;
            case FailMode::CloseConnection:
                // The headers promise a body; the provider gives up before its first byte, so
                // the server closes the connection and the client sees a cut-off answer.
                res.set_content_provider(
                    4096, kHtml,
                    [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
                return true;
        }
        return false;
    }

    void RouteNumberSite(httplib::Server& s, NumberSite site) {
        s.Get("/", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/dl/1.html");
        });
        s.Get(R"(/(dl|gw)/([^/]*)\.html)", [this, site](const httplib::Request& req,
                                                        httplib::Response& res) {
            if (FailNumberPage(res)) return;
            const Platform platform =
                req.matches[1] == "dl" ? Platform::Domestic : Platform::Foreign;
            const auto page = PageNumber(req.matches[2]);
            auto html = page ? ListingPage(options.content, platform, *page, site) : std::nullopt;
            html ? SendHtml(res, *html) : SendNotFound(res);
        });
        s.Get(R"(/message/([^/]*)\.html)",
              [this, site](const httplib::Request& req, httplib::Response& res) {
                  if (FailNumberPage(res)) return;
                  auto html = MessagePage(options.content, req.matches[1].str(), site);
                  html ? SendHtml(res, *html) : SendNotFound(res);
              });
    }

    void RouteNoticeBlog(httplib::Server& s) {
        s.Get("/",
              [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/blogs/"); });
        s.Get("/blogs",
              [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/blogs/"); });
        s.Get(std::string(kNoticePostPath),
              [this](const httplib::Request& req, httplib::Response& res) {
                  if (!req.has_param("id")) return SendHtml(res, BlogIndexPage(origins));
                  if (req.get_param_value("id") != kNoticePostId) return SendNotFound(res);
                  if (options.failNotice) return SendHtml(res, ServerErrorPage(), 500);
                  SendHtml(res, NoticePost(options.content, origins));
              });
        s.Get(std::string(kNoticeMarkerPath), [](const httplib::Request&, httplib::Response& res) {
            res.set_content(NoticeMarkerScript(), "application/javascript; charset=utf-8");
        });
        auto picture = [this](const std::vector<std::uint8_t>& bytes, const char* type) {
            return [this, &bytes, type](const httplib::Request&, httplib::Response& res) {
                if (options.failPictures) return SendNotFound(res);
                res.set_content(reinterpret_cast<const char*>(bytes.data()), bytes.size(), type);
            };
        };
        s.Get(std::string(kNoticePicturePath), picture(noticePicture, "image/png"));
        s.Get(std::string(kAdvertPicturePath), picture(advertPicture, "image/jpeg"));
    }

    void RouteArticleSite(httplib::Server& s) {
        s.Get("/", [](const httplib::Request&, httplib::Response& res) {
            SendHtml(res, ArticleIndexPage());
        });
        s.Get(R"(/(p|d)/.*)", [this](const httplib::Request& req, httplib::Response& res) {
            auto html = ArticlePage(req.path, origins);
            html ? SendHtml(res, *html) : SendNotFound(res);
        });
    }

    void Configure(Role& role) {
        httplib::Server& s = *role.server;
        s.new_task_queue = [] { return new httplib::ThreadPool(kWorkersPerRole); };
        // Answers go out at once, as from a web server, instead of waiting out the client's
        // delayed acknowledgement (tens of milliseconds per HTTPS answer on loopback).
        s.set_tcp_nodelay(true);
        // The library's default adds SO_REUSEPORT, which would let a second demo site share
        // the ports of one still running and split the requests between the two.
        s.set_socket_options([](socket_t sock) {
            int yes = 1;
            setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        });
        if (options.slowMs > 0) {
            s.set_pre_routing_handler([this](const httplib::Request&, httplib::Response&) {
                std::this_thread::sleep_for(std::chrono::milliseconds(options.slowMs));
                return httplib::Server::HandlerResponse::Unhandled;
            });
        }
        if (!options.quiet) {
            const char* name = role.name;
            s.set_logger([this, name](const httplib::Request& req, const httplib::Response& res) {
                Log(name, req, res);
            });
        }
    }

    void WriteEnvFile(const std::string& lines) {
        const std::filesystem::path& path = *options.envFile;
        if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
        const std::filesystem::path temporary = path.string() + ".tmp";
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out << lines;
            if (!out.flush()) throw std::runtime_error("cannot write " + temporary.string());
        }
        // The rename makes the file appear complete, so a script may wait for it to exist.
        std::filesystem::rename(temporary, path);
        envFileWritten = true;
    }
};

DemoSite::DemoSite(DemoOptions options) : impl_(std::make_unique<Impl>()) {
    impl_->options = std::move(options);
}

DemoSite::~DemoSite() {
    Stop();
}

void DemoSite::Start() {
    Impl& d = *impl_;
    if (!d.roles.empty()) throw std::logic_error("the demo site is already started");

    const TlsIdentity tls = LoadOrCreateTlsIdentity(d.options.stateDir);
    d.caFile = tls.caFile;
    d.noticePicture = NoticePicturePng(d.options.content.seed);
    d.advertPicture = AdvertPictureJpeg(d.options.content.seed);

    auto https = [&tls]() -> std::unique_ptr<httplib::Server> {
        // The server's context takes its own references to the certificate and the key.
        auto server =
            std::make_unique<httplib::SSLServer>(tls.serverCertificate.get(), tls.serverKey.get());
        if (!server->is_valid()) throw std::runtime_error("cannot set up TLS for the demo site");
        return server;
    };
    auto role = [](const char* name, const char* scheme, int port,
                   std::unique_ptr<httplib::Server> server) {
        Role r;
        r.name = name;
        r.scheme = scheme;
        r.wantedPort = port;
        r.server = std::move(server);
        return r;
    };
    d.roles.push_back(role("primary", "https", d.options.primaryPort, https()));
    d.roles.push_back(role("secondary", "https", d.options.secondaryPort, https()));
    d.roles.push_back(
        role("notice", "http", d.options.noticePort, std::make_unique<httplib::Server>()));
    d.roles.push_back(role("article", "https", d.options.articlePort, https()));

    for (Role& role : d.roles) {
        d.Configure(role);
        if (role.wantedPort == 0) {
            role.port = role.server->bind_to_any_port(kLoopback);
        } else {
            role.port =
                role.server->bind_to_port(kLoopback, role.wantedPort) ? role.wantedPort : -1;
        }
        if (role.port <= 0) {
            const std::string message = "cannot listen on " + std::string(kLoopback) + ":" +
                                        std::to_string(role.wantedPort) + " for the " + role.name +
                                        " site (is another demo site running?)";
            d.roles.clear();
            throw std::runtime_error(message);
        }
        role.origin =
            std::string(role.scheme) + "://" + kLoopback + ":" + std::to_string(role.port);
    }
    d.origins = {d.roles[0].origin, d.roles[1].origin, d.roles[2].origin, d.roles[3].origin};
    d.RouteNumberSite(*d.roles[0].server, NumberSite::Primary);
    d.RouteNumberSite(*d.roles[1].server, NumberSite::Secondary);
    d.RouteNoticeBlog(*d.roles[2].server);
    d.RouteArticleSite(*d.roles[3].server);
    for (Role& role : d.roles) {
        role.server->Get(
            ".*", [](const httplib::Request&, httplib::Response& res) { SendNotFound(res); });
    }

    for (Role& role : d.roles) {
        httplib::Server* server = role.server.get();
        d.threads.emplace_back([server, finished = role.finished] {
            server->listen_after_bind();
            *finished = true;
        });
    }
    // The sockets already listen; this waits for the accept loops, which a stop before their
    // start would miss.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (Role& role : d.roles) {
        while (!role.server->is_running()) {
            if (std::chrono::steady_clock::now() > deadline) {
                throw std::runtime_error("the demo site did not start serving");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    if (d.options.envFile) d.WriteEnvFile(EnvLines());
}

void DemoSite::Stop() {
    Impl& d = *impl_;
    // A stop before a thread has entered its accept loop would be missed, so each role is
    // stopped until its thread says it is done.
    for (std::size_t i = 0; i < d.threads.size(); ++i) {
        Role& role = d.roles[i];
        bool stopped = false;
        while (!*role.finished) {
            if (!stopped && role.server->is_running()) {
                role.server->stop();
                stopped = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    for (std::thread& thread : d.threads)
        thread.join();
    d.threads.clear();
    d.roles.clear();
    if (d.envFileWritten) {
        std::error_code ignored;
        std::filesystem::remove(*d.options.envFile, ignored);
        d.envFileWritten = false;
    }
}

const SiteOrigins& DemoSite::Origins() const {
    return impl_->origins;
}

const std::filesystem::path& DemoSite::CaFile() const {
    return impl_->caFile;
}

std::string DemoSite::EnvLines() const {
    std::string lines;
    lines += "SMSDOCK_PRIMARY_SITE=" + impl_->origins.primary + "\n";
    lines += "SMSDOCK_SECONDARY_SITE=" + impl_->origins.secondary + "\n";
    lines += "SMSDOCK_NOTICE_SITE=" + impl_->origins.notice + "\n";
    lines += "SMSDOCK_ARTICLE_SITE=" + impl_->origins.article + "\n";
    lines += "SMSDOCK_CA_FILE=" + ShellQuoted(impl_->caFile.string()) + "\n";
    return lines;
}

std::string ShellQuoted(const std::string& value) {
    const bool plain = !value.empty() && value.find_first_not_of(
                                             "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                             "0123456789/._-+:@%,") == std::string::npos;
    if (plain) return value;
    std::string quoted = "'";
    for (char c : value) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

}  // namespace smsdock::demo
