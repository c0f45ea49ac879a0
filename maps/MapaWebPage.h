#pragma once
#include <QWebEnginePage>

class QWebEngineCertificateError;

namespace cad {

/// The route screen's browser page: a local page that may reach the map provider over HTTPS but
/// not read local files; its alert boxes go through the program's message seam, and the current
/// document's elements can be read while the caller waits.
class MapaWebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    explicit MapaWebPage(QObject* parent = nullptr);

    /// The text of ATTRIBUTE of the last element of tag TAG whose identifier is exactly ID, among the
    /// body's elements; empty when none matches. Waits for the browser, processing events.
    /// Throws std::runtime_error when the document is not HTML or has no body.
    [[nodiscard]] QString elementValue(const QString& tag, const QString& attribute, const QString& id);

protected:
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;

private:
    void checkCertificate(const QWebEngineCertificateError& error);
};

} // namespace cad
