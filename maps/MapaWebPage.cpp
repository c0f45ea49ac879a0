#include "maps/MapaWebPage.h"

#include "app/ui/Dialogs.h"
#include "http/CertificateTrust.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QTimer>
#include <QVariantMap>
#include <QWebEngineCertificateError>
#include <QWebEngineSettings>
#include <memory>
#include <stdexcept>

namespace cad {

namespace {

// Reads the element inside the page; the arguments travel as a JSON array, never pasted as text.
const char* const kReadElement = R"((function (tag, attribute, id) {
    if (!(document instanceof HTMLDocument)) return { error: 'html' };
    var body = document.body;
    if (!body) return { error: 'body' };
    var elements = body.getElementsByTagName(tag.toUpperCase());
    var value = '';
    for (var i = 0; i < elements.length; i++) {
        var e = elements[i];
        if (e.id !== id) continue;
        var v = (attribute in e) ? e[attribute] : e.getAttribute(attribute);
        value = (v === null || v === undefined) ? '' : String(v);
    }
    return { value: value };
}).apply(null, %1))";

// A browser that stopped answering must not hold the screen for ever.
constexpr int kAnswerTimeoutMs = 30000;

} // namespace

MapaWebPage::MapaWebPage(QObject* parent) : QWebEnginePage(parent)
{
    // The page is a local file beside Admin.ini: it reaches the map provider, never local files.
    // Without the first setting the browser refuses it every remote resource, the provider's script
    // and its answers included; the script, once there, runs with the page's rights.
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings()->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
    settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    connect(this, &QWebEnginePage::certificateError, this, &MapaWebPage::checkCertificate);
}

void MapaWebPage::checkCertificate(const QWebEngineCertificateError& error)
{
    // The browser knows only the system's authorities; a private one (CAFILE) is trusted as the
    // program's own HTTPS requests trust it. Anything else stays refused.
    QList<QByteArray> chain;
    for (const QSslCertificate& certificate : error.certificateChain())
        chain << certificate.toDer();
    QWebEngineCertificateError answer = error;
    if (answer.isOverridable() && certificateChainTrusted(chain, error.url().host()))
        answer.acceptCertificate();
    else
        answer.rejectCertificate();
}

QString MapaWebPage::elementValue(const QString& tag, const QString& attribute, const QString& id)
{
    const QByteArray args = QJsonDocument(QJsonArray{tag, attribute, id}).toJson(QJsonDocument::Compact);
    const QString script = QString::fromUtf8(kReadElement).arg(QString::fromUtf8(args));

    // The callback may come after this call ended (timeout): it then writes into a dropped state.
    struct Answer
    {
        bool done = false;
        QVariant result;
        QEventLoop loop;
    };
    auto answer = std::make_shared<Answer>();
    std::weak_ptr<Answer> weak = answer;
    runJavaScript(script, [weak](const QVariant& result) {
        if (const auto a = weak.lock()) {
            a->done = true;
            a->result = result;
            a->loop.quit();
        }
    });
    if (!answer->done) {
        QPointer<MapaWebPage> self(this);
        QTimer timeout;
        timeout.setSingleShot(true);
        connect(&timeout, &QTimer::timeout, &answer->loop, &QEventLoop::quit);
        connect(this, &QObject::destroyed, &answer->loop, &QEventLoop::quit);
        timeout.start(kAnswerTimeoutMs);
        answer->loop.exec();
        if (!self) throw std::runtime_error("O navegador foi fechado durante a leitura da página");
    }
    if (!answer->done) throw std::runtime_error("O navegador não respondeu à leitura da página");
    const QVariantMap map = answer->result.toMap();
    const QString error = map.value(QStringLiteral("error")).toString();
    if (error == QLatin1String("html")) throw std::runtime_error("Documento HTML inválido");
    if (error == QLatin1String("body"))
        throw std::runtime_error("Não foi possível encontrar o elemento <body>");
    if (!map.contains(QStringLiteral("value")))
        throw std::runtime_error("Documento HTML inválido"); // no document to run in
    return map.value(QStringLiteral("value")).toString();
}

void MapaWebPage::javaScriptAlert(const QUrl&, const QString& msg)
{
    dialogs::show(
        {dialogs::appTitle(), msg, dialogs::Icon::Warning, dialogs::Buttons::Ok, dialogs::Answer::Ok});
}

} // namespace cad
