#include "http/TlsContext.h"

#include "http/ServiceSettings.h"

#include <openssl/err.h>

#include <mutex>

namespace cad {

namespace {

SslCtxPtr makeContext(const QString& caFile, QString& error)
{
    SslCtxPtr ctx(SSL_CTX_new(TLS_client_method()));
    if (!ctx) {
        error = QStringLiteral("Error loading OpenSSL lib");
        return nullptr;
    }
    // Old servers that only speak TLS 1.0/1.1 are refused: those versions are broken.
    SSL_CTX_set_min_proto_version(ctx.get(), TLS1_2_VERSION);
    SSL_CTX_set_cipher_list(ctx.get(), "DEFAULT");
    SSL_CTX_set_verify(ctx.get(), SSL_VERIFY_PEER, nullptr);
    SSL_CTX_set_default_verify_paths(ctx.get());
    if (!caFile.isEmpty() &&
        SSL_CTX_load_verify_locations(ctx.get(), caFile.toLocal8Bit().constData(), nullptr) != 1) {
        ERR_clear_error();
        error = QStringLiteral("Arquivo de autoridades certificadoras ilegível: %1").arg(caFile);
        return nullptr;
    }
    return ctx;
}

} // namespace

SslCtxPtr sharedTlsContext(QString& error)
{
    static std::mutex lock;
    static SslCtxPtr shared;
    static QString sharedCaFile;

    const std::lock_guard guard(lock);
    const QString caFile = serviceSettings().caFile;
    if (!shared || caFile != sharedCaFile) {
        shared = makeContext(caFile, error);
        sharedCaFile = caFile;
        if (!shared) return nullptr;
    }
    SSL_CTX_up_ref(shared.get());
    return SslCtxPtr(shared.get());
}

} // namespace cad
