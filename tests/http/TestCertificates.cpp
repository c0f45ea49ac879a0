#include "TestCertificates.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>

namespace {

using KeyPtr = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using CertPtr = std::unique_ptr<X509, decltype(&X509_free)>;

bool addExtension(X509* cert, X509* issuer, int nid, const char* value)
{
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    const bool ok = ext && X509_add_ext(cert, ext, -1) == 1;
    X509_EXTENSION_free(ext);
    return ok;
}

// A certificate for key, signed by issuerKey (self-signed when issuer is null).
CertPtr makeCertificate(EVP_PKEY* key, const char* commonName, X509* issuer, EVP_PKEY* issuerKey,
                        const char* subjectAltName, long serial)
{
    CertPtr cert(X509_new(), X509_free);
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 86400);
    X509_set_pubkey(cert.get(), key);
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(commonName),
                               -1, -1, 0);
    X509_set_issuer_name(cert.get(), issuer ? X509_get_subject_name(issuer) : name);
    X509* signer = issuer ? issuer : cert.get();
    bool ok = true;
    if (subjectAltName) {
        ok = addExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:FALSE") &&
             addExtension(cert.get(), signer, NID_subject_alt_name, subjectAltName) &&
             addExtension(cert.get(), signer, NID_ext_key_usage, "serverAuth");
    } else {
        ok = addExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:TRUE") &&
             addExtension(cert.get(), signer, NID_key_usage, "critical,keyCertSign,cRLSign") &&
             addExtension(cert.get(), signer, NID_subject_key_identifier, "hash");
    }
    if (!ok || X509_sign(cert.get(), issuerKey ? issuerKey : key, EVP_sha256()) <= 0)
        return CertPtr(nullptr, X509_free);
    return cert;
}

bool writeCert(const QString& file, X509* cert)
{
    FILE* f = std::fopen(file.toLocal8Bit().constData(), "w");
    const bool ok = f && PEM_write_X509(f, cert) == 1;
    if (f) std::fclose(f);
    return ok;
}

bool writeKey(const QString& file, EVP_PKEY* key)
{
    FILE* f = std::fopen(file.toLocal8Bit().constData(), "w");
    const bool ok = f && PEM_write_PrivateKey(f, key, nullptr, nullptr, 0, nullptr, nullptr) == 1;
    if (f) std::fclose(f);
    return ok;
}

} // namespace

TestCertificates::TestCertificates()
{
    if (!m_dir.isValid()) return;
    KeyPtr caKey(EVP_EC_gen("P-256"), EVP_PKEY_free);
    KeyPtr rogueKey(EVP_EC_gen("P-256"), EVP_PKEY_free);
    KeyPtr serverKey(EVP_EC_gen("P-256"), EVP_PKEY_free);
    if (!caKey || !rogueKey || !serverKey) return;
    const CertPtr ca = makeCertificate(caKey.get(), "Cadastro Test CA", nullptr, nullptr, nullptr, 1);
    const CertPtr rogueCa = makeCertificate(rogueKey.get(), "Cadastro Test CA", nullptr, nullptr, nullptr, 1);
    if (!ca || !rogueCa) return;
    const CertPtr server =
        makeCertificate(serverKey.get(), "127.0.0.1", ca.get(), caKey.get(), "IP:127.0.0.1", 2);
    const CertPtr other =
        makeCertificate(serverKey.get(), "127.0.0.2", ca.get(), caKey.get(), "IP:127.0.0.2", 3);
    const CertPtr rogue =
        makeCertificate(serverKey.get(), "127.0.0.1", rogueCa.get(), rogueKey.get(), "IP:127.0.0.1", 2);
    m_valid = server && other && rogue && writeCert(caFile(), ca.get()) &&
              writeCert(certFile(QStringLiteral("server")), server.get()) &&
              writeCert(certFile(QStringLiteral("othername")), other.get()) &&
              writeCert(certFile(QStringLiteral("rogue")), rogue.get());
    for (const char* name : {"server", "othername", "rogue"})
        m_valid = m_valid && writeKey(keyFile(QString::fromLatin1(name)), serverKey.get());
}
