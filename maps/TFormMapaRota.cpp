// The route screen: drawing a route, reading its distance back from the page and keeping it.
#include "app/ProgramFolder.h"
#include "app/ui/Dialogs.h"
#include "core/WaitCursor.h"
#include "http/ServiceSettings.h"
#include "maps/MapaWebPage.h"
#include "maps/TFormMapa.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>
#include <functional>

namespace cad {

namespace {

// The page's answer arrives while the screen reads; this many reads, with no pause between them.
constexpr int kDistanceReads = 99999;

// Disables the screen's commands while a route is drawn, so a second one cannot start inside it.
class CommandsOff
{
public:
    CommandsOff(bool& waiting, std::function<void(bool)> enable)
        : m_waiting(waiting), m_enable(std::move(enable))
    {
        m_waiting = true;
        m_enable(false);
    }
    ~CommandsOff()
    {
        m_waiting = false;
        m_enable(true);
    }
    CommandsOff(const CommandsOff&) = delete;
    CommandsOff& operator=(const CommandsOff&) = delete;

private:
    bool& m_waiting;
    std::function<void(bool)> m_enable;
};

} // namespace

QString TFormMapa::pagePath()
{
    return programWrittenFile(QStringLiteral("Mapa.html"));
}

void TFormMapa::btnTracaRotaClick()
{
    if (m_waiting) return;
    QString start = mapa::composeAddress(addressOf(m_origem));
    if (start.isEmpty()) {
        dialogs::show({QStringLiteral("ERRO"), QStringLiteral("Falta informar dados da origem"),
                       dialogs::Icon::Warning, dialogs::Buttons::Ok, dialogs::Answer::Ok});
        return;
    }
    QString end = mapa::composeAddress(addressOf(m_destino));
    start.replace(QLatin1Char(' '), QLatin1Char('+'));
    end.replace(QLatin1Char(' '), QLatin1Char('+'));
    CommandsOff off(m_waiting, [this](bool on) { setCommandsEnabled(on); });
    {
        waitcursor::Guard wait;
        GerarPaginaMapa(start, end);
        navigate(QUrl::fromLocalFile(pagePath()));
        waitForPage();
    }
    if (m_closing) return;
    PegarDistancia();
    if (m_closing) return;
    if (!distancia().isEmpty()) storeDistance(distancia());
}

void TFormMapa::cbbModoClick()
{
    if (m_waiting) return;
    btnTracaRotaClick();
    m_tracaRota->hide();
}

void TFormMapa::GerarPaginaMapa(const QString& start, const QString& end)
{
    const QString mode = m_modo->currentData().toString();
    mapa::writePage(pagePath(), mapa::pageLines(start, end, mode, hosts()));
}

void TFormMapa::PegarDistancia()
{
    QString text;
    QString failure; // the service's own status when the page reports one
    try {
        waitcursor::Guard wait; // ends before the message below
        for (int i = 0; i < kDistanceReads && text.isEmpty() && failure.isEmpty() && !m_closing; ++i) {
            text = LerValorElemento(*m_page, QStringLiteral("input"), QStringLiteral("value"),
                                    QStringLiteral("inputTotal"));
            if (text.isEmpty())
                failure = LerValorElemento(*m_page, QStringLiteral("input"), QStringLiteral("value"),
                                           QStringLiteral("inputStatus"));
            QCoreApplication::processEvents();
        }
    } catch (const std::exception&) {
        return; // a page that cannot be read ends the wait; the distance shown stays
    }
    if (m_closing) return;
    if (!text.isEmpty())
        m_distancia->setText(text);
    else
        reportRouteFailure(failure);
}

void TFormMapa::reportRouteFailure(const QString& status)
{
    // Only an address the service could not place (or route) is the operator's to check.
    if (status.isEmpty() || status == QLatin1String("NOT_FOUND") || status == QLatin1String("ZERO_RESULTS")) {
        dialogs::information(QStringLiteral("Verifique o Endereço se está Correto !!"));
        return;
    }
    QString text;
    if (status == QLatin1String("UNAVAILABLE"))
        text = QStringLiteral("O serviço de mapas não pôde ser carregado.");
    else if (status == QLatin1String("REQUEST_DENIED") && serviceSettings().mapsKey.isEmpty())
        text = QStringLiteral("Nenhuma chave da API de mapas configurada (MAPASCHAVE na seção [SERVICOS] do "
                              "Admin.ini): o serviço de mapas recusou o pedido.");
    else
        text = QStringLiteral("O serviço de mapas recusou o pedido (%1).").arg(status);
    dialogs::show(
        {dialogs::appTitle(), text, dialogs::Icon::Warning, dialogs::Buttons::Ok, dialogs::Answer::Ok});
}

QString TFormMapa::LerValorElemento(MapaWebPage& browser, const QString& tag, const QString& attribute,
                                    const QString& id)
{
    return browser.elementValue(tag, attribute, id);
}

void TFormMapa::storeDistance(const QString& km)
{
    waitcursor::Guard wait;
    if (tbVirtualCliente.isEmpty())
        tbVirtualCliente.append();
    else
        tbVirtualCliente.edit();
    tbVirtualCliente.setValue(QStringLiteral("kilometragem"), km);
    tbVirtualCliente.post();
    tbVirtualCliente.refresh(true);

    if (!myqryFornecedor.isOpen() || myqryFornecedor.isEmpty()) return;
    myqryFornecedor.edit();
    myqryFornecedor.setValue(QStringLiteral("kilometragem"), km);
    myqryFornecedor.post();
    myqryFornecedor.refresh(true);
}

void TFormMapa::setCommandsEnabled(bool enabled)
{
    m_tracaRota->setEnabled(enabled);
    m_modo->setEnabled(enabled);
    m_mostrarMapa->setEnabled(enabled);
}

void TFormMapa::navigate(const QUrl& url)
{
    WebBrowser1BeforeNavigate2();
    m_browser->load(url);
}

void TFormMapa::waitForPage()
{
    if (m_pageLoaded || m_closing) return;
    QEventLoop loop;
    const auto check = connect(m_page, &QWebEnginePage::loadingChanged, &loop, [&] {
        if (m_pageLoaded) loop.quit();
    });
    const auto closing = connect(this, &QDialog::rejected, &loop, &QEventLoop::quit);
    loop.exec();
    disconnect(check);
    disconnect(closing);
}

void TFormMapa::reject()
{
    // Closing during a route ends its waits; nothing is stored for it.
    if (m_waiting) m_closing = true;
    QDialog::reject();
}

void TFormMapa::loadingChanged(const QWebEngineLoadingInfo& info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
        WebBrowser1NavigateComplete2(info.url());
    else
        WebBrowser1DocumentComplete(info.url());
}

void TFormMapa::WebBrowser1BeforeNavigate2()
{
    m_pageLoaded = false;
    m_frame.clear();
}

void TFormMapa::WebBrowser1NavigateComplete2(const QUrl& frame)
{
    if (m_frame.isEmpty()) m_frame = frame;
}

void TFormMapa::WebBrowser1DocumentComplete(const QUrl& frame)
{
    // Only the document of the navigation under way counts; a late end of an earlier one does not.
    if (!m_frame.isEmpty() && frame == m_frame) {
        m_pageLoaded = true;
        m_frame.clear();
    }
}

} // namespace cad
