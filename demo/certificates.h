#pragma once

// The demo site's own certificate authority and the server certificate it issues for
// 127.0.0.1 and localhost. Both live in a state directory, so the CA that a user has handed to
// SmsDock stays valid from one run to the next.

#include <filesystem>
#include <memory>

#include <openssl/evp.h>
#include <openssl/x509.h>

namespace smsdock::demo {

// Owners for OpenSSL handles, each freed with its own free routine.
template <typename T, void (*Free)(T*)>
struct OpenSslFree {
    void operator()(T* p) const { Free(p); }
};
template <typename T, void (*Free)(T*)>
using OpenSslPtr = std::unique_ptr<T, OpenSslFree<T, Free>>;

using X509Ptr = OpenSslPtr<X509, X509_free>;
using PrivateKeyPtr = OpenSslPtr<EVP_PKEY, EVP_PKEY_free>;

struct TlsIdentity {
    X509Ptr caCertificate;
    PrivateKeyPtr caKey;
    X509Ptr serverCertificate;
    PrivateKeyPtr serverKey;
    std::filesystem::path caFile;  // PEM of the CA certificate, for SMSDOCK_CA_FILE
    bool createdCa = false;        // false when the CA was loaded from the state directory
    bool createdServer = false;
};

// Names of the files kept in the state directory.
inline constexpr const char* kCaCertificateFile = "ca.pem";
inline constexpr const char* kCaKeyFile = "ca-key.pem";
inline constexpr const char* kServerCertificateFile = "server.pem";
inline constexpr const char* kServerKeyFile = "server-key.pem";

// Loads the CA and the server certificate from stateDir, creating the directory and whatever is
// missing, unreadable, expiring or not issued by the CA. A CA that is still good is kept; a new
// CA always brings a new server certificate. Throws std::runtime_error when a file cannot be
// written or OpenSSL fails.
TlsIdentity LoadOrCreateTlsIdentity(const std::filesystem::path& stateDir);

}  // namespace smsdock::demo
