#include "tests/support/test_certificates.h"

#include <cstdlib>

namespace smsdock::testing {

namespace {

std::string CertFolder() {
    return SMSDOCK_TEST_CERT_DIR;
}

std::string BaseName(ServerCertificate certificate) {
    return certificate == ServerCertificate::kLocalhost ? "localhost" : "wrong_host";
}

}  // namespace

std::string LoopbackOrigin(bool tls, int port) {
    return std::string(tls ? "https" : "http") + "://127.0.0.1:" + std::to_string(port);
}

std::string TestCaFile() {
    return CertFolder() + "/ca.pem";
}

std::string CertificateFile(ServerCertificate certificate) {
    return CertFolder() + "/" + BaseName(certificate) + ".pem";
}

std::string PrivateKeyFile(ServerCertificate certificate) {
    return CertFolder() + "/" + BaseName(certificate) + ".key";
}

void TrustTestCa() {
    setenv("SMSDOCK_CA_FILE", TestCaFile().c_str(), 1);
}

}  // namespace smsdock::testing
