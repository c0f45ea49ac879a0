#pragma once
// The HTTP client's trust decision, for certificates that reach the program some other way.
#include <QByteArray>
#include <QList>
#include <QString>

namespace cad {

/// True when DERCHAIN (the server's certificate first, then the intermediates it sent) leads to an
/// authority the HTTP client trusts (the system's store plus serviceSettings().caFile) and the server's
/// certificate names HOST (a name or a literal address), for use by a TLS server.
[[nodiscard]] bool certificateChainTrusted(const QList<QByteArray>& derChain, const QString& host);

} // namespace cad
