#pragma once
// Certificate authorities and server certificates made for one test run.
#include <QString>
#include <QTemporaryDir>

/// A trusted CA with a server certificate for 127.0.0.1, a certificate of the same CA for another
/// address, and an untrusted CA with its own certificate for 127.0.0.1; all PEM files in a temporary folder.
class TestCertificates
{
public:
    TestCertificates();
    [[nodiscard]] bool isValid() const { return m_valid; }
    [[nodiscard]] QString caFile() const { return path("ca.pem"); }
    /// Certificate and key files of a server: "server" (trusted, 127.0.0.1), "othername"
    /// (trusted, 127.0.0.2), "rogue" (unknown CA, 127.0.0.1).
    [[nodiscard]] QString certFile(const QString& name) const { return path(name + QLatin1String(".pem")); }
    [[nodiscard]] QString keyFile(const QString& name) const { return path(name + QLatin1String(".key")); }

private:
    [[nodiscard]] QString path(const QString& file) const { return m_dir.filePath(file); }
    QTemporaryDir m_dir;
    bool m_valid = false;
};
