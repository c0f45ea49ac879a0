#pragma once
// Process-wide TLS client context shared by every HTTPS exchange.
#include <QString>

#include <openssl/ssl.h>

#include <memory>

namespace cad {

struct SslCtxFree
{
    void operator()(SSL_CTX* ctx) const { SSL_CTX_free(ctx); }
};
using SslCtxPtr = std::unique_ptr<SSL_CTX, SslCtxFree>;

/// A reference to the shared client context: TLS 1.2 or later, peer verification against the
/// system's trust store plus serviceSettings().caFile. Rebuilt when the CA file setting changes;
/// when it cannot be built, returns null and describes why in error, and the next call tries again.
[[nodiscard]] SslCtxPtr sharedTlsContext(QString& error);

} // namespace cad
