#include "http/CertificateTrust.h"

#include "http/TlsContext.h"

#include <openssl/err.h>
#include <openssl/x509v3.h>

#include <memory>

namespace cad {

namespace {

struct X509Free
{
    void operator()(X509* x) const { X509_free(x); }
};
using X509Ptr = std::unique_ptr<X509, X509Free>;
struct X509StackFree
{
    void operator()(STACK_OF(X509) * s) const { sk_X509_free(s); } // the certificates stay
};

X509Ptr fromDer(const QByteArray& der)
{
    const auto* p = reinterpret_cast<const unsigned char*>(der.constData());
    return X509Ptr(d2i_X509(nullptr, &p, long(der.size())));
}

} // namespace

bool certificateChainTrusted(const QList<QByteArray>& derChain, const QString& host)
{
    if (derChain.isEmpty() || host.isEmpty()) return false;
    QString error;
    const SslCtxPtr ctx = sharedTlsContext(error);
    if (!ctx) return false;

    std::vector<X509Ptr> certificates;
    for (const QByteArray& der : derChain) {
        certificates.push_back(fromDer(der));
        if (!certificates.back()) {
            ERR_clear_error();
            return false;
        }
    }
    const std::unique_ptr<STACK_OF(X509), X509StackFree> intermediates(sk_X509_new_null());
    for (size_t i = 1; i < certificates.size(); ++i)
        sk_X509_push(intermediates.get(), certificates[i].get());
    const std::unique_ptr<X509_STORE_CTX, decltype(&X509_STORE_CTX_free)> check(X509_STORE_CTX_new(),
                                                                                X509_STORE_CTX_free);
    if (!intermediates || !check ||
        X509_STORE_CTX_init(check.get(), SSL_CTX_get_cert_store(ctx.get()), certificates.front().get(),
                            intermediates.get()) != 1) {
        ERR_clear_error();
        return false;
    }
    X509_VERIFY_PARAM* param = X509_STORE_CTX_get0_param(check.get());
    X509_VERIFY_PARAM_set_purpose(param, X509_PURPOSE_SSL_SERVER);
    const QByteArray name = host.toUtf8();
    // An address must match an IP entry of the certificate, a name a DNS entry.
    if (ASN1_OCTET_STRING* address = a2i_IPADDRESS(name.constData())) {
        ASN1_OCTET_STRING_free(address);
        X509_VERIFY_PARAM_set1_ip_asc(param, name.constData());
    } else {
        X509_VERIFY_PARAM_set1_host(param, name.constData(), size_t(name.size()));
    }
    const bool trusted = X509_verify_cert(check.get()) == 1;
    ERR_clear_error();
    return trusted;
}

} // namespace cad
