#include "registry/TfrmFornecedor.h"

#include "app/DataModule.h"
#include "app/ui/EnterMovesFocus.h"
#include "core/ErrorSink.h"
#include "data/widgets/CommandBar.h"
#include "data/widgets/DbGrid.h"
#include "data/widgets/DbLineEdit.h"
#include "data/widgets/DbLookupCombo.h"
#include "data/widgets/FocusLeaving.h"
#include "data/widgets/RecordNavigator.h"
#include "data/widgets/ScreenStyle.h"
#include "data/widgets/WindowFit.h"
#include "registry/CentralRetry.h"
#include "registry/CentralSync.h"
#include "registry/PendingCopies.h"
#include "registry/PendingCopiesBar.h"
#include "schema/RecordSetWidths.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <map>

namespace cad {

namespace {

constexpr int kNavigationX = 296;
constexpr int kEditingX = 2;

// The screen's Ctrl+key commands: the one table both claims the keys and runs them.
class ScreenKeys : public QObject
{
public:
    using Commands = std::map<int, std::function<void()>>;

    ScreenKeys(TfrmFornecedor* form, Commands commands)
        : QObject(form), m_form(form), m_commands(std::move(commands))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || w->window() != m_form) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const auto command = m_commands.find(key->key());
        if (key->modifiers() != Qt::ControlModifier || command == m_commands.end()) return false;
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept(); // keep the focused field from taking the key
            return true;
        }
        guarded(command->second);
        return true;
    }

private:
    TfrmFornecedor* m_form;
    Commands m_commands;
};

} // namespace

TfrmFornecedor::TfrmFornecedor(TDM& dm, QString operatorName, QWidget* parent)
    : QMainWindow(parent), tbFornecedor(dm.MyConnection1, QStringLiteral("Select * From Fornecedor")),
      tbFornec(dm.MyConnection1, QStringLiteral("Select * from Fornecedor")),
      tbTipo(dm.MyConnection1, QStringLiteral("Select * from Tipos")),
      tbGerencial(dm.MyConnection1, QStringLiteral("Select * from ContaGerencial")),
      myqryMyUf(dm.MyConnection1,
                QStringLiteral("Select Ucase(Nomest),NomEst,sigla From Uf\nOrder By Sigla")),
      myqryMyMunicipios(
          dm.MyConnection1,
          QStringLiteral("Select uf,codigo,Ucase(nome) nome From Municipios_Ibge\nOrder By Uf,Nome")),
      myqryNota(dm.MyConnection1,
                QStringLiteral(
                    "Select * from Nota\nwhere Codigofornecedor = :codigoFornecedor\nOrder by Codigonota")),
      tbEntrada(dm.MyConnection1,
                QStringLiteral(
                    "select * from itensNota\nwhere Codigonota = :Codigonota and notafiscal = :Notafiscal")),
      m_dm(dm), m_operator(std::move(operatorName)), m_central(std::make_unique<CentralSync>(dm))
{
    setObjectName(QStringLiteral("frmFornecedor"));
    setWindowTitle(QStringLiteral("Cadastro de Fornecedor"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setupRecordSets();
    setupCadCEP1();
    m_central->setCityName([this](const QVariant& code) { return cityNameFor(code); });

    auto* central = new QWidget(this);
    central->setAutoFillBackground(true);
    QPalette p = central->palette();
    p.setColor(QPalette::Window, Qt::white);
    central->setPalette(p);
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    v->addWidget(screenstyle::titleBand(QStringLiteral("Cadastro de Fornecedor"), central));
    m_commandArea = new QWidget(central);
    m_commandArea->setFixedHeight(58);
    buildCommandBars(m_commandArea);
    setupPendingCopies();
    v->addWidget(m_commandArea);
    v->addWidget(buildHeader());
    m_tabs = new QTabWidget(central);
    m_tabs->setObjectName(QStringLiteral("pgcFornecedor"));
    m_grid = new DbGrid(tbFornecedor,
                        {{QStringLiteral("CodigoFornecedor"), QStringLiteral("Codigo"), 49},
                         {QStringLiteral("Nome"), QStringLiteral("Razão Social do Fornecedor"), 339},
                         {QStringLiteral("nomefan"), QStringLiteral("Nome Fantasia"), 270},
                         {QStringLiteral("Cgccpf"), QStringLiteral("Cnpj"), 109},
                         {QStringLiteral("ie"), QStringLiteral("Insc.Estadual"), 109},
                         {QStringLiteral("Telefone1"), QStringLiteral("Telefone"), 109}},
                        m_tabs);
    m_grid->setObjectName(QStringLiteral("grdFornecedor"));
    m_grid->viewport()->installEventFilter(this); // a double click anywhere in it opens "Dados"
    m_tabs->addTab(m_grid, QStringLiteral("Listagem"));
    m_tabs->addTab(buildDadosTab(), QStringLiteral("Dados"));
    m_tabs->addTab(buildEntradaTab(), QStringLiteral("Entrada"));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
        if (currentTab() == QStringLiteral("Entrada")) m_notaGrid->setFocus();
    });
    v->addWidget(m_tabs, 1);
    v->addWidget(buildSearchArea());
    setCentralWidget(central);

    new EnterMovesFocus(this);
    setupShortcuts();
    setupTabOrder();
}

TfrmFornecedor::~TfrmFornecedor() = default;

void TfrmFornecedor::setupRecordSets()
{
    tbFornecedor.setDeclaredWidths(schema::widths(schema::SupplierSet::Screen));
    tbFornec.setDeclaredWidths(schema::widths(schema::SupplierSet::DuplicateCheck));
    tbFornecedor.addLookup({QStringLiteral("Tiposdespesas"), QStringLiteral("CodigoTipo"), &tbTipo,
                            QStringLiteral("CODIGOTIPO"), QStringLiteral("DESCTIPO"), 50});
    tbFornecedor.addLookup({QStringLiteral("Gerenciais"), QStringLiteral("CodigoGerencial"), &tbGerencial,
                            QStringLiteral("codigogerencial"), QStringLiteral("Gerencial"), 50});
    // The expense types and cost centres are read once, when the supplier list first opens.
    tbFornecedor.afterOpen.add([this](RecordSet&) {
        for (RecordSet* list : {&tbTipo, &tbGerencial}) {
            if (list->isOpen()) continue;
            list->open();
            list->setSortKeys({{list->fieldIndex(list == &tbTipo ? QStringLiteral("DESCTIPO")
                                                                 : QStringLiteral("Gerencial")),
                                true}});
        }
    });
    tbFornecedor.beforePost.add([this](RecordSet& rs) { tbFornecedorBeforePost(rs); });
    tbFornecedor.afterEdit.add([this](RecordSet& rs) { tbFornecedorAfterEdit(rs); });
    tbFornecedor.afterPost.add([this](RecordSet& rs) { tbFornecedorAfterPost(rs); });
    for (RecordSet* list : {&tbTipo, &tbGerencial, &myqryMyUf, &myqryMyMunicipios})
        list->setReadOnly(true);
    myqryNota.setMaster(&tbFornecedor);
    tbEntrada.setMaster(&myqryNota);
}

void TfrmFornecedor::buildCommandBars(QWidget* area)
{
    auto* record = new CommandBar(QStringLiteral("tbRecordCommands"), area);
    record->add(QStringLiteral("ToolButton1"), QStringLiteral("Incluir"), QStyle::SP_FileIcon,
                [this] { ToolButton1Click(); });
    record->add(QStringLiteral("btnAtualizar"), QStringLiteral("Atualizar"), QStyle::SP_BrowserReload,
                [this] { AtualizarClick(); });
    record->add(QStringLiteral("btn1"), QStringLiteral("Excluir"), QStyle::SP_TrashIcon,
                [this] { btn1Click(); });
    QToolButton* report = record->add(QStringLiteral("btnRelatorio"), QStringLiteral("Relatório"),
                                      QStyle::SP_FileDialogDetailedView, {});
    auto* menu = new QMenu(report);
    menu->setObjectName(QStringLiteral("mnuRelatorio"));
    connect(menu->addAction(QStringLiteral("Por Ordem Alfabética")), &QAction::triggered, this,
            [this] { guarded([this] { PorOrdemAlfabeticaClick(); }); });
    report->setMenu(menu);
    report->setPopupMode(QToolButton::InstantPopup);
    record->add(QStringLiteral("btnFechar"), QStringLiteral("   Fechar   "), QStyle::SP_DialogCloseButton,
                [this] { Fechar1Click(); });
    m_recordBar = record;

    auto* edit = new CommandBar(QStringLiteral("tbEditingCommands"), area);
    edit->add(QStringLiteral("ToolButton7"), QStringLiteral("Salvar"), QStyle::SP_DialogSaveButton,
              [this] { ToolButton7Click(); });
    edit->add(QStringLiteral("ToolButton8"), QStringLiteral(" Cancelar  "), QStyle::SP_DialogCancelButton,
              [this] { ToolButton8Click(); });
    m_editBar = edit;

    m_navBar = new RecordNavigator(tbFornecedor,
                                   {{{"btnNav0", "Primeiro "},
                                     {"btnNav1", "Anterior"},
                                     {"btnNav2", "Próximo "},
                                     {"btnNav3", "   Último    "}}},
                                   area);
    for (QToolBar* bar : {m_recordBar, m_editBar, m_navBar})
        bar->adjustSize();
    showBars(Bars::Browse);
}

void TfrmFornecedor::showBars(Bars b)
{
    m_bars = b;
    if (b == Bars::Browse) {
        // Navigation starts at its design position, or after the record commands when these
        // are wider in the running font.
        const int navX = std::max(kNavigationX, m_recordBar->sizeHint().width());
        m_recordBar->move(0, 0);
        m_navBar->move(navX, 0);
        m_editBar->move(navX, 0);
    } else {
        m_editBar->move(kEditingX, 0);
    }
    m_recordBar->setVisible(b == Bars::Browse);
    m_navBar->setVisible(b == Bars::Browse);
    m_editBar->setVisible(b == Bars::Editing);
}

QString TfrmFornecedor::currentTab() const
{
    return m_tabs->tabText(m_tabs->currentIndex());
}

void TfrmFornecedor::setTab(const QString& caption)
{
    for (int i = 0; i < m_tabs->count(); ++i)
        if (m_tabs->tabText(i) == caption) m_tabs->setCurrentIndex(i);
}

void TfrmFornecedor::FormCreate()
{
    setTab(QStringLiteral("Listagem"));
    showBars(Bars::Browse);
    guarded([this] {
        m_dm.tbConfiguracao.open();
        myqryMyUf.open();
        myqryMyMunicipios.open();
        setWindowTitle(QStringLiteral("Atualizado 24-08-2023 / 19:30 - Nome do Usuário : ") + m_operator +
                       QStringLiteral(" - ") + m_dm.tbConfiguracao.text(QStringLiteral("Nome")));
    });
    m_retry->startUp();
}

void TfrmFornecedor::showAsMainWindow()
{
    keepMaximised(this);
    show();
}

bool TfrmFornecedor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_commandArea && event->type() == QEvent::Resize) placePendingCopiesBar();
    // Also below the last row and in an empty list, not only on a row.
    if (watched == m_grid->viewport() && event->type() == QEvent::MouseButtonDblClick)
        setTab(QStringLiteral("Dados"));
    // Not when the field merely disappears (the screen turning to "Listagem" after a save).
    if (watched == m_cgccpf && leavesForAnotherControl(m_cgccpf, event))
        guarded([this] { dbedtCgccpfExit(); });
    return QMainWindow::eventFilter(watched, event);
}

void TfrmFornecedor::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    FormShow();
}

void TfrmFornecedor::FormShow()
{
    m_search->setFocus();
}

void TfrmFornecedor::FormClose()
{
    tbFornecedor.close();
    tbEntrada.close();
}

void TfrmFornecedor::closeEvent(QCloseEvent* e)
{
    FormClose();
    QMainWindow::closeEvent(e);
}

void TfrmFornecedor::Fechar1Click()
{
    close();
}

void TfrmFornecedor::AtualizarClick()
{
    if (tbFornecedor.isOpen()) tbFornecedor.refresh();
}

RecordSet& TfrmFornecedor::focusedRecordSet()
{
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (auto* grid = qobject_cast<DbGrid*>(w)) return grid->recordSet();
    return tbFornecedor;
}

void TfrmFornecedor::setupShortcuts()
{
    // Record commands run on the record set of the focused list; Ctrl+F closes the screen.
    const auto changing = [this](void (*step)(RecordSet&)) {
        return [this, step] {
            RecordSet& rs = focusedRecordSet();
            if (rs.isOpen() && !rs.isReadOnly()) step(rs);
        };
    };
    const auto moving = [this](void (RecordSet::*move)(), bool forward) {
        return [this, move, forward] {
            RecordSet& rs = focusedRecordSet();
            if (rs.isOpen() && !(forward ? rs.atLast() : rs.atFirst())) (rs.*move)();
        };
    };
    ScreenKeys::Commands keys;
    keys[Qt::Key_I] = changing([](RecordSet& rs) { rs.append(); });
    keys[Qt::Key_A] = changing([](RecordSet& rs) {
        if (!rs.isEditing() && !rs.isEmpty()) rs.edit();
    });
    keys[Qt::Key_S] = changing([](RecordSet& rs) {
        // The text being typed goes with the save; one that does not convert stops it.
        auto* typing = qobject_cast<DbLineEdit*>(QApplication::focusWidget());
        if (rs.isEditing() && (!typing || typing->commitPending())) rs.post();
    });
    keys[Qt::Key_N] = changing([](RecordSet& rs) {
        if (rs.isEditing()) rs.cancel();
    });
    keys[Qt::Key_E] = changing([](RecordSet& rs) {
        if (!rs.isEmpty()) rs.remove();
    });
    keys[Qt::Key_F1] = moving(&RecordSet::first, false);
    keys[Qt::Key_F2] = moving(&RecordSet::prior, false);
    keys[Qt::Key_F3] = moving(&RecordSet::next, true);
    keys[Qt::Key_F4] = moving(&RecordSet::last, true);
    keys[Qt::Key_F] = [this] { Fechar1Click(); };
    new ScreenKeys(this, std::move(keys));
}

void TfrmFornecedor::setupTabOrder()
{
    // Header fields, search box, tab strip, then the fields of the active tab. The chain runs
    // through the strip itself (the tab widget would place a field after all its pages) and
    // through the buttons of a group that takes no focus itself (Qt skips such a widget).
    QWidget* prev = m_nome;
    auto chain = [&prev](QWidget* w) {
        setTabOrder(prev, w);
        prev = w;
    };
    chain(m_nomefan);
    chain(m_search);
    chain(m_tabs->findChild<QTabBar*>());
    for (QWidget* w : m_dadosOrder) {
        if (w->focusPolicy() != Qt::NoFocus) {
            chain(w);
            continue;
        }
        for (QWidget* part : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (part->focusPolicy() & Qt::TabFocus) chain(part);
    }
}

} // namespace cad
