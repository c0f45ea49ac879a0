#pragma once
#include "data/RecordSet.h"
#include "maps/MapaPage.h"

#include <QDialog>
#include <QUrl>
#include <QVariant>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWebEngineLoadingInfo;
class QWebEngineView;

namespace cad {

class TDM;
class MapaWebPage;

/// The route screen: the road route from the own company to a supplier, drawn by the map
/// provider's page in an embedded browser, and its length kept on the supplier record.
class TFormMapa : public QDialog
{
    Q_OBJECT
public:
    /// CODIGOFORNECEDOR: the supplier screen's current code, null when it has none.
    TFormMapa(TDM& dm, QVariant codigoFornecedor, QWidget* parent = nullptr);
    ~TFormMapa() override;

    /// Reads the origin, empties the scratch table and reads the destination.
    void FormCreate();

    // --- commands
    void btnTracaRotaClick(); ///< "Traçar Rota": draws the route and stores its distance
    void cbbModoClick();      ///< a travel mode chosen: a route in that mode
    void Button1Click();      ///< "Mostrar Mapa": the origin on the public maps page

    /// Writes the page for a route from START to END in the selected mode.
    void GerarPaginaMapa(const QString& start, const QString& end);
    /// Waits for the page's distance and shows it.
    void PegarDistancia();
    /// The text of ATTRIBUTE of the element of tag TAG with identifier ID in BROWSER's current document.
    [[nodiscard]] static QString LerValorElemento(MapaWebPage& browser, const QString& tag,
                                                  const QString& attribute, const QString& id);

    // --- record sets
    RecordSet myqryConfiguracao; ///< origin: the own company
    RecordSet myqryFornecedor;   ///< destination: the supplier, also where its distance is written
    RecordSet tbVirtualCliente;  ///< scratch table holding the last distance

    /// Where the page is written: Mapa.html beside the executable.
    [[nodiscard]] static QString pagePath();
    [[nodiscard]] QString distancia() const;
    [[nodiscard]] bool pageLoaded() const { return m_pageLoaded; }

    /// Closing; during a route it also ends the route's waits, and nothing is stored for it.
    void reject() override;

private:
    struct AddressFields
    {
        QLineEdit* street;
        QLineEdit* number;
        QLineEdit* district;
        QLineEdit* city;
        QLineEdit* state;
    };
    QWidget* buildAddressGroup(const QString& title, const QString& prefix, AddressFields& fields);
    QWidget* buildBand();
    static void fillAddress(const AddressFields& fields, const RecordSet& rs);
    [[nodiscard]] static mapa::Address addressOf(const AddressFields& fields);
    [[nodiscard]] mapa::MapHosts hosts() const;
    void setCommandsEnabled(bool enabled);
    void navigate(const QUrl& url);
    void waitForPage();
    void storeDistance(const QString& km);
    /// Says why no distance came: the address, or the service (and whether a key is configured).
    void reportRouteFailure(const QString& status);

    // browser events
    void WebBrowser1BeforeNavigate2();
    void WebBrowser1NavigateComplete2(const QUrl& frame);
    void WebBrowser1DocumentComplete(const QUrl& frame);
    void loadingChanged(const QWebEngineLoadingInfo& info);

    TDM& m_dm;
    QVariant m_codigoFornecedor;
    bool m_pageLoaded = false;
    QUrl m_frame;           // top-level document of the navigation under way
    bool m_waiting = false; // a route is being drawn
    bool m_closing = false; // the operator closed the screen during a wait

    AddressFields m_origem{};
    AddressFields m_destino{};
    QLabel* m_distancia = nullptr;
    QComboBox* m_modo = nullptr;
    QPushButton* m_tracaRota = nullptr;
    QPushButton* m_mostrarMapa = nullptr;
    QWebEngineView* m_browser = nullptr;
    MapaWebPage* m_page = nullptr;
};

} // namespace cad
