#pragma once
#include "address/CadCEP.h"
#include "data/RecordSet.h"

#include <QMainWindow>
#include <memory>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolBar;
class QToolButton;
class QVBoxLayout;
class QWidget;

namespace cad {

class TDM;
class DbGrid;
class DbLineEdit;
class DbLookupCombo;
class DbMemo;
class DbRadioGroup;
class DbText;
class CentralSync;
class CentralRetry;
class PendingCopies;
class PendingCopiesBar;

/// The supplier screen: the program's main window, where suppliers are found, browsed,
/// edited, created, saved and deleted.
class TfrmFornecedor : public QMainWindow
{
    Q_OBJECT
public:
    TfrmFornecedor(TDM& dm, QString operatorName, QWidget* parent = nullptr);
    ~TfrmFornecedor() override;

    /// Prepares the screen: first tab, browse layout, own company, state and municipality lists,
    /// caption. A failure ends the step and is shown; the screen is still shown.
    void FormCreate();
    /// Shows the screen maximised and not resizable: its frame fills the screen's available area
    /// (also where no window manager maximises), so nothing is cut by the title bar.
    void showAsMainWindow();

    // --- record sets of the screen
    RecordSet tbFornecedor;
    RecordSet tbFornec; ///< duplicate check before a new supplier is saved
    RecordSet tbTipo;
    RecordSet tbGerencial;
    RecordSet myqryMyUf;
    RecordSet myqryMyMunicipios;
    RecordSet myqryNota;
    RecordSet tbEntrada;

    TCadCEP CadCEP1; ///< postal-code look-up of the CEP picture

    // --- commands (also reached by buttons and keys)
    void ToolButton1Click(); ///< "Incluir"
    void ToolButton7Click(); ///< "Salvar"
    void ToolButton8Click(); ///< " Cancelar  "
    void btn1Click();        ///< "Excluir"
    void AtualizarClick();
    void Fechar1Click();
    void SpeedButton4Click();   ///< search by code
    void SpeedButton1Click();   ///< search by company name
    void TSpeedButtonClick();   ///< search by trade name
    void TSpeedButton11Click(); ///< search by CPF/CNPJ
    void searchByLetter(QChar letter);
    void dblkcbbufsClick(); ///< a state was chosen: the municipality list narrows to it
    /// An address look-up's state and municipality, chosen in the lists and written to the record.
    void chooseStateAndMunicipality(const QString& uf, const QVariant& codigoCidade);
    void openPurchaseHistory();
    void img2Click();               ///< CPF look-up picture: non-contributor, then the CPF dialog
    void img3Click();               ///< CNPJ look-up picture
    void img1Click();               ///< postal-code look-up picture
    void CadCEP1BuscaEfetuada();    ///< the postal-code look-up answered: fill the address
    void SpeedButton2Click();       ///< "&Incluir" beside the cost centre
    void PorOrdemAlfabeticaClick(); ///< "Relatório" / "Por Ordem Alfabética": the supplier sheet
    void ConsultaMapaClick();       ///< the hidden "Consulta Mapa" picture: the route screen

    enum class Bars
    {
        Browse,
        Editing
    };
    [[nodiscard]] Bars bars() const { return m_bars; }
    [[nodiscard]] QString currentTab() const;
    [[nodiscard]] QLineEdit* searchBox() const { return m_search; }
    [[nodiscard]] DbLookupCombo* stateList() const { return m_ufs; }
    [[nodiscard]] DbLookupCombo* municipalityList() const { return m_cidades; }
    [[nodiscard]] DbLineEdit* cgccpfEdit() const { return m_cgccpf; }
    /// The municipality name the municipality list holds for CODE (empty when it holds none).
    [[nodiscard]] QString cityNameFor(const QVariant& code) const;
    /// The central copies still owed, and their retries in the background.
    [[nodiscard]] PendingCopies& pendingCopies() { return *m_pending; }
    [[nodiscard]] CentralRetry& centralRetry() { return *m_retry; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildCommandBars(QWidget* area);
    QWidget* buildHeader();
    QWidget* buildDadosTab();
    void addDocumentsRow(QWidget* tab, QHBoxLayout* r);
    void addStreetRow(QWidget* tab, QHBoxLayout* r);
    void addLocalityRow(QWidget* tab, QHBoxLayout* r);
    void addContactsRow(QWidget* tab, QHBoxLayout* r);
    void addCostsRow(QWidget* tab, QHBoxLayout* r);
    void addCompanyRows(QWidget* tab, QVBoxLayout* v);
    QWidget* buildEntradaTab();
    QWidget* buildSearchArea();
    void setupRecordSets();
    void setupPendingCopies();
    void placePendingCopiesBar();
    void setupCadCEP1();
    void setupShortcuts();
    void setupTabOrder();
    void showBars(Bars b);
    void setTab(const QString& caption);
    void FormClose();
    void FormShow();

    // search and save steps
    void searchButton(const QString& head, const QString& tail, const QString& notFound,
                      const QString& empty);
    void openSupplierSet(const QString& sql, const QString& pattern);
    void tbFornecedorBeforePost(RecordSet& rs);
    void tbFornecedorAfterEdit(RecordSet& rs);
    void tbFornecedorAfterPost(RecordSet& rs);
    void dbedtCgccpfExit();
    void chooseNonContributor();
    [[nodiscard]] RecordSet& focusedRecordSet();

    TDM& m_dm;
    QString m_operator;
    Bars m_bars = Bars::Browse;
    std::unique_ptr<CentralSync> m_central;
    std::unique_ptr<PendingCopies> m_pending;
    std::unique_ptr<CentralRetry> m_retry; // uses m_pending: destroyed first
    PendingCopiesBar* m_pendingBar = nullptr;

    QWidget* m_commandArea = nullptr;
    QToolBar* m_recordBar = nullptr;
    QToolBar* m_editBar = nullptr;
    QToolBar* m_navBar = nullptr;
    QTabWidget* m_tabs = nullptr;
    QLineEdit* m_search = nullptr;
    DbGrid* m_grid = nullptr;
    DbGrid* m_notaGrid = nullptr;
    DbGrid* m_itemGrid = nullptr;
    DbLineEdit* m_nome = nullptr;
    DbLineEdit* m_nomefan = nullptr;
    DbLineEdit* m_cgccpf = nullptr;
    DbLineEdit* m_complemento = nullptr;
    DbRadioGroup* m_tipoContribuinte = nullptr;
    DbLookupCombo* m_ufs = nullptr;
    DbLookupCombo* m_cidades = nullptr;
    DbLookupCombo* m_tipos = nullptr;
    DbLookupCombo* m_gerencial = nullptr;
    QPushButton* m_incluirGerencial = nullptr;
    QWidget* m_firstDadosField = nullptr;
    QList<QWidget*> m_dadosOrder;
};

} // namespace cad
