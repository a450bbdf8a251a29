// smsdock-bench-site: serves the benchmarks' fixture pages on loopback until SIGINT or SIGTERM,
// over plain HTTP and over HTTPS (the test CA's certificate for 127.0.0.1), for the browser
// baseline to open exactly the pages SmsDock lists in the benchmarks.
//
//   smsdock-bench-site ORIGINS_FILE
//
// Paths: /dl/100.html and /dl/10000.html (listing pages with that many numbers),
// /message/1MiB.html (a message page of 1 MiB). Once both servers listen, ORIGINS_FILE gets two
// lines, "http=ORIGIN" and "https=ORIGIN".

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "bench/fixture_pages.h"
#include "tests/support/test_server.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: smsdock-bench-site ORIGINS_FILE\n");
        return 2;
    }
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    using smsdock::testing::Route;
    using smsdock::testing::Scheme;
    smsdock::testing::TestServer http(Scheme::kHttp);
    smsdock::testing::TestServer https(Scheme::kHttps);
    const std::string small = smsdock::bench::ListingFixture(100);
    const std::string large = smsdock::bench::ListingFixture(10000);
    const std::string messages = smsdock::bench::MessageFixtureOfSize(1024 * 1024);
    for (auto* server : {&http, &https}) {
        server->Set("/dl/100.html", Route::Content(small));
        server->Set("/dl/10000.html", Route::Content(large));
        server->Set("/message/1MiB.html", Route::Content(messages));
    }
    {
        const std::string partial = std::string(argv[1]) + ".partial";
        std::ofstream out(partial);
        out << "http=" << http.Origin() << "\nhttps=" << https.Origin() << "\n";
        out.close();
        std::rename(partial.c_str(), argv[1]);
    }
    int signal = 0;
    sigwait(&stop, &signal);
    std::remove(argv[1]);
    return 0;
}
