#pragma once
// The route screen over fresh test databases, with the map stand-in as the map provider.
#include "http/ServiceSettings.h"
#include "maps/TFormMapa.h"
#include "standins/StandInProcess.h"
#include "tests/http/TestCertificates.h"
#include "tests/registry/ScreenFixture.h"

#include <QJsonObject>
#include <QUrlQuery>
#include <memory>

namespace testsupport {

/// The map stand-in over HTTPS with a certificate of an authority made for the run, which the
/// program trusts through its CA-file setting.
inline standins::StandInProcess startMapsOverTls(const TestCertificates& certs)
{
    if (!certs.isValid()) throw std::runtime_error("test certificates could not be made");
    cad::serviceSettings().caFile = certs.caFile();
    return standins::StandInProcess(QStringLiteral("maps_api.py"),
                                    {QStringLiteral("--tls-cert"), certs.certFile(QStringLiteral("server")),
                                     QStringLiteral("--tls-key"), certs.keyFile(QStringLiteral("server"))});
}

/// The company's address as the reference data holds it, composed for the page.
inline const QString kOrigin = QStringLiteral("AVENIDA+PAULISTA,1000,BELA+VISTA,SAO+PAULO,SP");

class MapaFixture
{
public:
    explicit MapaFixture(const QString& prefix) : m_maps(startMapsOverTls(m_certs)), m_screen(prefix)
    {
        cad::serviceSettings().mapsHost = m_maps.hostPort();
        m_screen.openScreen(); // the data module and its connections
    }

    ScreenFixture& screen() { return m_screen; }
    const TestCertificates& certs() const { return m_certs; }
    standins::StandInProcess& maps() { return m_maps; }

    /// A supplier with this address (and stored distance); its code.
    int addSupplier(const QStringList& address, const QString& km = {})
    {
        m_screen.local(
            QStringLiteral("INSERT INTO fornecedor (Nome, Endereco, Numero, Bairro, Cidade, Estado, "
                           "kilometragem) VALUES ('FORNECEDOR', %1, %2, %3, %4, %5, %6)")
                .arg(quoted(address.value(0)), quoted(address.value(1)), quoted(address.value(2)),
                     quoted(address.value(3)), quoted(address.value(4)), quoted(km)));
        return m_screen.local(QStringLiteral("SELECT MAX(CodigoFornecedor) FROM fornecedor"))
            .value(0)
            .toInt();
    }

    /// The route screen for supplier CODE, opened and shown.
    std::unique_ptr<cad::TFormMapa> open(const QVariant& code)
    {
        (void)m_maps.takeRequests(); // what earlier screens asked is not this one's
        auto form = std::make_unique<cad::TFormMapa>(m_screen.dm(), code);
        form->FormCreate();
        form->resize(1200, 800);
        form->show();
        return form;
    }

    QString storedKm(int code)
    {
        return m_screen
            .local(QStringLiteral("SELECT kilometragem FROM fornecedor WHERE CodigoFornecedor=%1").arg(code))
            .value(0);
    }
    QStringList scratchKm()
    {
        return m_screen.local(QStringLiteral("SELECT IFNULL(kilometragem,'') FROM virtualcliente"));
    }

    /// The directions requests the page sent since the last call: origin, destination, mode.
    QList<QStringList> takeDirections()
    {
        QList<QStringList> out;
        for (const QJsonValue& r : m_maps.takeRequests()) {
            const QUrl url(QStringLiteral("http://x") +
                           r.toObject().value(QStringLiteral("path")).toString());
            if (url.path() != QStringLiteral("/maps/api/directions/jsonp")) continue;
            const QUrlQuery q(url);
            out << QStringList{q.queryItemValue(QStringLiteral("origin"), QUrl::FullyDecoded),
                               q.queryItemValue(QStringLiteral("destination"), QUrl::FullyDecoded),
                               q.queryItemValue(QStringLiteral("mode"), QUrl::FullyDecoded)};
        }
        return out;
    }

    /// The own company's address back to the reference data's.
    void resetOrigin()
    {
        m_screen.local(QStringLiteral("UPDATE configuracao SET Endereco='AVENIDA PAULISTA', numero='1000', "
                                      "Bairro='BELA VISTA', Cidade='SAO PAULO', Estado='SP'"));
    }

private:
    static QString quoted(const QString& s)
    {
        return s.isNull() ? QStringLiteral("NULL")
                          : QLatin1Char('\'') + QString(s).replace(QLatin1Char('\''), QLatin1String("''")) +
                                QLatin1Char('\'');
    }

    TestCertificates m_certs;
    standins::StandInProcess m_maps;
    ScreenFixture m_screen;
};

} // namespace testsupport
