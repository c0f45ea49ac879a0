// The route screen: layout, opening and the origin on the public maps page.
#include "maps/TFormMapa.h"

#include "app/DataModule.h"
#include "core/ErrorSink.h"
#include "core/WaitCursor.h"
#include "http/ServiceSettings.h"
#include "maps/MapaWebPage.h"
#include "schema/RecordSetWidths.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

namespace cad {

TFormMapa::TFormMapa(TDM& dm, QVariant codigoFornecedor, QWidget* parent)
    : QDialog(parent),
      myqryConfiguracao(
          dm.MyConnection1,
          QStringLiteral("Select Controle,nome,endereco,bairro,cidade,estado,cep,numero From Configuracao")),
      // The code travels as a parameter; LIKE on a code of digits only matches that one code.
      myqryFornecedor(dm.MyConnection1,
                      QStringLiteral("SELECT * FROM Fornecedor Where CodigoFornecedor LIKE(:codigo)")),
      tbVirtualCliente(dm.MyConnection1, QStringLiteral("Select * From virtualcliente")), m_dm(dm),
      m_codigoFornecedor(std::move(codigoFornecedor))
{
    setObjectName(QStringLiteral("FormMapa"));
    setWindowTitle(QStringLiteral("Gerando Mapas Ponto a Ponto"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    myqryConfiguracao.setReadOnly(true);
    myqryFornecedor.setDeclaredWidths(schema::widths(schema::SupplierSet::Route));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildBand());

    m_page = new MapaWebPage(this);
    m_browser = new QWebEngineView(this);
    m_browser->setObjectName(QStringLiteral("WebBrowser1"));
    m_browser->setPage(m_page);
    layout->addWidget(m_browser, 1);
    connect(m_page, &QWebEnginePage::loadingChanged, this, &TFormMapa::loadingChanged);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    layout->addWidget(status);
}

TFormMapa::~TFormMapa()
{
    // The view goes before its page, which it does not own.
    delete m_browser;
    m_browser = nullptr;
}

QWidget* TFormMapa::buildAddressGroup(const QString& title, const QString& prefix, AddressFields& fields)
{
    auto* group = new QGroupBox(title);
    group->setObjectName(QStringLiteral("grp") + prefix);
    auto* form = new QFormLayout(group);
    auto field = [&](const QString& label, const QString& name, int width) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("edt") + prefix + name);
        edit->setReadOnly(true);
        edit->setMinimumWidth(width);
        form->addRow(label, edit);
        return edit;
    };
    fields.street = field(QStringLiteral("Logradouro"), QStringLiteral("Logradouro"), 260);
    fields.number = field(QStringLiteral("Num."), QStringLiteral("Numero"), 60);
    fields.district = field(QStringLiteral("Bairro"), QStringLiteral("Bairro"), 160);
    fields.city = field(QStringLiteral("Cidade"), QStringLiteral("Cidade"), 160);
    fields.state = field(QStringLiteral("UF"), QStringLiteral("UF"), 30);
    return group;
}

QWidget* TFormMapa::buildBand()
{
    auto* band = new QWidget;
    auto* row = new QHBoxLayout(band);

    auto* origem = buildAddressGroup(QStringLiteral("Origem"), QStringLiteral("Origem"), m_origem);
    m_mostrarMapa = new QPushButton(QStringLiteral("Mostrar Mapa"));
    m_mostrarMapa->setAutoDefault(false); // Enter in the screen presses no button
    m_mostrarMapa->setObjectName(QStringLiteral("Button1"));
    static_cast<QFormLayout*>(origem->layout())->addRow(m_mostrarMapa);
    connect(m_mostrarMapa, &QPushButton::clicked, this, [this] { guarded([this] { Button1Click(); }); });
    row->addWidget(origem);

    auto* destino = buildAddressGroup(QStringLiteral("Destino"), QStringLiteral("Destino"), m_destino);
    m_distancia = new QLabel;
    m_distancia->setObjectName(QStringLiteral("lblDistancia"));
    QFont bold = m_distancia->font();
    bold.setBold(true);
    m_distancia->setFont(bold);
    static_cast<QFormLayout*>(destino->layout())->addRow(QStringLiteral("Distância: "), m_distancia);
    row->addWidget(destino);

    auto* modeColumn = new QVBoxLayout;
    modeColumn->addWidget(new QLabel(QStringLiteral("Modo")));
    m_modo = new QComboBox;
    m_modo->setObjectName(QStringLiteral("cbbModo"));
    for (const mapa::TravelMode& mode : mapa::travelModes())
        m_modo->addItem(mode.caption, mode.name);
    m_modo->setCurrentIndex(0);
    connect(m_modo, &QComboBox::activated, this, [this] { guarded([this] { cbbModoClick(); }); });
    modeColumn->addWidget(m_modo);
    modeColumn->addStretch();
    row->addLayout(modeColumn);

    m_tracaRota = new QPushButton(QStringLiteral("Traçar Rota"));
    m_tracaRota->setAutoDefault(false);
    m_tracaRota->setObjectName(QStringLiteral("btnTracaRota"));
    connect(m_tracaRota, &QPushButton::clicked, this, [this] { guarded([this] { btnTracaRotaClick(); }); });
    row->addWidget(m_tracaRota, 0, Qt::AlignTop);
    row->addStretch();
    return band;
}

void TFormMapa::FormCreate()
{
    waitcursor::Guard wait;
    myqryConfiguracao.open();
    m_dm.MyConnection1.execute(QStringLiteral("TRUNCATE TABLE virtualcliente"));
    tbVirtualCliente.open();
    fillAddress(m_origem, myqryConfiguracao);
    // The code as digits; a screen with no current supplier matches no row.
    myqryFornecedor.setParam(QStringLiteral("codigo"), m_codigoFornecedor.isNull()
                                                           ? QString()
                                                           : m_codigoFornecedor.toString().trimmed());
    myqryFornecedor.open();
    fillAddress(m_destino, myqryFornecedor);
}

void TFormMapa::fillAddress(const AddressFields& fields, const RecordSet& rs)
{
    const bool row = rs.isOpen() && !rs.isEmpty();
    auto text = [&](const char* column) { return row ? rs.text(QString::fromLatin1(column)) : QString(); };
    fields.street->setText(text("endereco").toUpper());
    fields.number->setText(text("numero"));
    fields.district->setText(text("bairro").toUpper());
    fields.city->setText(text("cidade").toUpper());
    fields.state->setText(text("estado").toUpper());
}

mapa::Address TFormMapa::addressOf(const AddressFields& fields)
{
    return {fields.street->text(), fields.number->text(), fields.district->text(), fields.city->text(),
            fields.state->text()};
}

mapa::MapHosts TFormMapa::hosts() const
{
    return mapa::MapHosts::fromApiHost(serviceSettings().mapsHost);
}

QString TFormMapa::distancia() const
{
    return m_distancia->text();
}

void TFormMapa::Button1Click()
{
    QString place = mapa::composeAddress(addressOf(m_origem));
    place.replace(QLatin1Char(' '), QLatin1Char('+'));
    const QString address = mapa::publicMapsAddress(hosts(), place);
    setWindowTitle(address);
    // The caption shows the address as built; the request carries the place percent-encoded, so a
    // "#" or "&" in a street name stays part of it.
    QUrl url(address.left(address.indexOf(QLatin1Char('?'))));
    url.setQuery(QStringLiteral("q=") + QString::fromLatin1(QUrl::toPercentEncoding(place, ",+")),
                 QUrl::StrictMode);
    navigate(url);
}

} // namespace cad
