#include "demo/certificates.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

namespace smsdock::demo {
namespace {

using BioPtr = OpenSslPtr<BIO, BIO_free_all>;
using BignumPtr = OpenSslPtr<BIGNUM, BN_free>;
using ExtensionPtr = OpenSslPtr<X509_EXTENSION, X509_EXTENSION_free>;

constexpr long kDay = 24L * 60 * 60;
constexpr long kCaDays = 3650;
constexpr long kServerDays = 397;
// A certificate that runs out within this many days is replaced rather than loaded.
constexpr long kRenewalDays = 30;

[[noreturn]] void Fail(const std::string& what) {
    std::string message = "demo TLS: " + what;
    if (unsigned long code = ERR_get_error(); code != 0) {
        char reason[256];
        ERR_error_string_n(code, reason, sizeof reason);
        message += ": ";
        message += reason;
    }
    ERR_clear_error();
    throw std::runtime_error(message);
}

PrivateKeyPtr NewKey() {
    PrivateKeyPtr key(EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256"));
    if (!key) Fail("cannot generate a key");
    return key;
}

void AddExtension(X509* cert, X509V3_CTX* ctx, int nid, const char* value) {
    ExtensionPtr ext(X509V3_EXT_nconf_nid(nullptr, ctx, nid, value));
    if (!ext || X509_add_ext(cert, ext.get(), -1) != 1) Fail(std::string("extension ") + value);
}

void AddName(X509_NAME* name, const char* field, const char* value) {
    if (X509_NAME_add_entry_by_txt(name, field, MBSTRING_UTF8,
                                   reinterpret_cast<const unsigned char*>(value), -1, -1, 0) != 1) {
        Fail(std::string("name field ") + field);
    }
}

// A certificate for subjectKey, signed by issuerKey; a CA signs itself when issuer is null.
X509Ptr Issue(EVP_PKEY* subjectKey, const char* commonName, X509* issuer, EVP_PKEY* issuerKey,
              bool ca) {
    X509Ptr cert(X509_new());
    if (!cert || X509_set_version(cert.get(), 2) != 1) Fail("cannot create a certificate");

    BignumPtr serial(BN_new());
    if (!serial || BN_rand(serial.get(), 127, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY) != 1 ||
        !BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(cert.get()))) {
        Fail("cannot make a serial number");
    }
    // An hour of slack for clocks that are a little behind.
    if (!X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600) ||
        !X509_gmtime_adj(X509_getm_notAfter(cert.get()), (ca ? kCaDays : kServerDays) * kDay)) {
        Fail("cannot set the validity");
    }
    if (X509_set_pubkey(cert.get(), subjectKey) != 1) Fail("cannot set the public key");

    X509_NAME* subject = X509_get_subject_name(cert.get());
    AddName(subject, "O", "SmsDock demo site");
    AddName(subject, "CN", commonName);
    X509_NAME* issuerName = issuer ? X509_get_subject_name(issuer) : subject;
    if (X509_set_issuer_name(cert.get(), issuerName) != 1) Fail("cannot set the issuer");

    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer ? issuer : cert.get(), cert.get(), nullptr, nullptr, 0);
    if (ca) {
        AddExtension(cert.get(), &ctx, NID_basic_constraints, "critical,CA:TRUE,pathlen:0");
        AddExtension(cert.get(), &ctx, NID_key_usage, "critical,keyCertSign,cRLSign");
        AddExtension(cert.get(), &ctx, NID_subject_key_identifier, "hash");
    } else {
        AddExtension(cert.get(), &ctx, NID_basic_constraints, "critical,CA:FALSE");
        AddExtension(cert.get(), &ctx, NID_key_usage, "critical,digitalSignature");
        AddExtension(cert.get(), &ctx, NID_ext_key_usage, "serverAuth");
        AddExtension(cert.get(), &ctx, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
        AddExtension(cert.get(), &ctx, NID_subject_key_identifier, "hash");
        AddExtension(cert.get(), &ctx, NID_authority_key_identifier, "keyid:always");
    }

    if (X509_sign(cert.get(), issuerKey, EVP_sha256()) <= 0) Fail("cannot sign a certificate");
    return cert;
}

std::optional<X509Ptr> ReadCertificate(const std::filesystem::path& path) {
    BioPtr bio(BIO_new_file(path.c_str(), "r"));
    X509Ptr cert(bio ? PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr) : nullptr);
    ERR_clear_error();
    if (!cert) return std::nullopt;
    return cert;
}

std::optional<PrivateKeyPtr> ReadKey(const std::filesystem::path& path) {
    BioPtr bio(BIO_new_file(path.c_str(), "r"));
    PrivateKeyPtr key(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr)
                          : nullptr);
    ERR_clear_error();
    if (!key) return std::nullopt;
    return key;
}

// Valid now and for the renewal margin to come.
bool InDate(X509* cert) {
    std::time_t later = std::time(nullptr) + kRenewalDays * kDay;
    return X509_cmp_current_time(X509_get0_notBefore(cert)) < 0 &&
           X509_cmp_time(X509_get0_notAfter(cert), &later) > 0;
}

bool UsableCa(X509* cert, EVP_PKEY* key) {
    const bool ok =
        X509_check_private_key(cert, key) == 1 && X509_check_ca(cert) >= 1 && InDate(cert);
    ERR_clear_error();
    return ok;
}

bool UsableServer(X509* cert, EVP_PKEY* key, X509* ca) {
    const bool ok = X509_check_private_key(cert, key) == 1 &&
                    X509_check_issued(ca, cert) == X509_V_OK &&
                    X509_verify(cert, X509_get0_pubkey(ca)) == 1 &&
                    X509_check_ip_asc(cert, "127.0.0.1", 0) == 1 &&
                    X509_check_host(cert, "localhost", 0, 0, nullptr) == 1 && InDate(cert);
    ERR_clear_error();
    return ok;
}

std::string ToPem(int (*write)(BIO*, void*), void* object) {
    BioPtr bio(BIO_new(BIO_s_mem()));
    if (!bio || write(bio.get(), object) != 1) Fail("cannot write PEM");
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return std::string(data, static_cast<std::size_t>(size));
}

std::string CertificatePem(X509* cert) {
    return ToPem([](BIO* b, void* c) { return PEM_write_bio_X509(b, static_cast<X509*>(c)); },
                 cert);
}

std::string KeyPem(EVP_PKEY* key) {
    return ToPem(
        [](BIO* b, void* k) {
            return PEM_write_bio_PrivateKey(b, static_cast<EVP_PKEY*>(k), nullptr, nullptr, 0,
                                            nullptr, nullptr);
        },
        key);
}

// Writes through a temporary file and a rename, so a reader never sees half a file; mode is
// applied at creation, so a key is never readable by others, not even for a moment.
void WriteFileAtomically(const std::filesystem::path& path, const std::string& content,
                         mode_t mode) {
    const std::filesystem::path temporary = path.string() + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) {
        throw std::system_error(errno, std::generic_category(), "cannot write " + path.string());
    }
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = errno;
            ::close(fd);
            throw std::system_error(error, std::generic_category(),
                                    "cannot write " + path.string());
        }
        written += static_cast<std::size_t>(n);
    }
    // A file left from an older run keeps its old mode when opened; set it again.
    if (::fchmod(fd, mode) != 0 || ::close(fd) != 0) {
        throw std::system_error(errno, std::generic_category(), "cannot write " + path.string());
    }
    std::filesystem::rename(temporary, path);
}

}  // namespace

TlsIdentity LoadOrCreateTlsIdentity(const std::filesystem::path& stateDir) {
    std::filesystem::create_directories(stateDir);
    const auto caCertPath = stateDir / kCaCertificateFile;
    const auto caKeyPath = stateDir / kCaKeyFile;
    const auto serverCertPath = stateDir / kServerCertificateFile;
    const auto serverKeyPath = stateDir / kServerKeyFile;

    TlsIdentity identity;
    identity.caFile = std::filesystem::absolute(caCertPath).lexically_normal();

    auto caCert = ReadCertificate(caCertPath);
    auto caKey = ReadKey(caKeyPath);
    if (caCert && caKey && UsableCa(caCert->get(), caKey->get())) {
        identity.caCertificate = std::move(*caCert);
        identity.caKey = std::move(*caKey);
    } else {
        identity.caKey = NewKey();
        identity.caCertificate =
            Issue(identity.caKey.get(), "SmsDock demo CA", nullptr, identity.caKey.get(), true);
        WriteFileAtomically(caKeyPath, KeyPem(identity.caKey.get()), 0600);
        WriteFileAtomically(caCertPath, CertificatePem(identity.caCertificate.get()), 0644);
        identity.createdCa = true;
    }

    auto serverCert = identity.createdCa ? std::nullopt : ReadCertificate(serverCertPath);
    auto serverKey = identity.createdCa ? std::nullopt : ReadKey(serverKeyPath);
    if (serverCert && serverKey &&
        UsableServer(serverCert->get(), serverKey->get(), identity.caCertificate.get())) {
        identity.serverCertificate = std::move(*serverCert);
        identity.serverKey = std::move(*serverKey);
    } else {
        identity.serverKey = NewKey();
        identity.serverCertificate =
            Issue(identity.serverKey.get(), "127.0.0.1", identity.caCertificate.get(),
                  identity.caKey.get(), false);
        WriteFileAtomically(serverKeyPath, KeyPem(identity.serverKey.get()), 0600);
        WriteFileAtomically(serverCertPath, CertificatePem(identity.serverCertificate.get()), 0644);
        identity.createdServer = true;
    }
    return identity;
}

}  // namespace smsdock::demo
