// smsdock-demo-site: serves the sites SmsDock reads on loopback ports until SIGINT or SIGTERM.

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "demo/demo_site.h"
#include "demo/options.h"

int main(int argc, char** argv) {
    using namespace smsdock::demo;
    const std::string program =
        argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "smsdock-demo-site";
    const ParsedCommandLine parsed =
        ParseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (parsed.help) {
        std::cout << HelpText(program);
        return 0;
    }
    if (!parsed.error.empty()) {
        std::cerr << program << ": " << parsed.error << "\nTry '" << program << " --help'.\n";
        return 2;
    }

    // Blocked before any server thread exists, so every thread inherits the mask and the
    // signals reach only the sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    DemoSite site(parsed.options);
    try {
        site.Start();
    } catch (const std::exception& e) {
        std::cerr << program << ": " << e.what() << "\n";
        return 1;
    }
    std::cout << site.EnvLines() << std::flush;
    std::cerr << program << ": serving; stop with Ctrl+C\n";

    int received = 0;
    sigwait(&stopSignals, &received);
    site.Stop();
    return 0;
}
