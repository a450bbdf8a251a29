#pragma once

// The certificates of the loopback test servers, all issued by one test CA (see
// certs/make_certs.sh).

#include <string>

namespace smsdock::testing {

enum class Scheme { kHttp, kHttps };

enum class ServerCertificate {
    kLocalhost,  // valid for 127.0.0.1 and localhost
    kWrongHost,  // valid only for another host name
};

// "http://127.0.0.1:<port>", or https with TLS: the origin of a loopback test server.
std::string LoopbackOrigin(bool tls, int port);

std::string TestCaFile();
std::string CertificateFile(ServerCertificate certificate);
std::string PrivateKeyFile(ServerCertificate certificate);

// Points SMSDOCK_CA_FILE at the test CA, so that the program's TLS exchanges trust the test
// servers. Call it before any thread starts (the environment is not thread-safe).
void TrustTestCa();

}  // namespace smsdock::testing
