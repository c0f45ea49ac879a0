// The cost centre screen: its controls, keys, opening and closing.
#include "registry/TFrmGerencial.h"

#include "app/DataModule.h"
#include "app/ui/EnterMovesFocus.h"
#include "core/ErrorSink.h"
#include "core/WaitCursor.h"
#include "data/widgets/DbGrid.h"
#include "data/widgets/DbLineEdit.h"
#include "data/widgets/DbText.h"
#include "data/widgets/RecordNavigator.h"
#include "data/widgets/ScreenStyle.h"
#include "data/widgets/WindowFit.h"
#include "registry/UpperCaseCellDelegate.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace cad {

namespace {

constexpr int kDescriptionWidth = 50;
const QColor kOddRow(220, 230, 220);
const QColor kEvenRow(244, 243, 236);
const QColor kCurrentRow(240, 240, 255);

} // namespace

TFrmGerencial::TFrmGerencial(TDM& dm, QWidget* parent)
    : QDialog(parent), tbGerencial(dm.MyConnection1, QStringLiteral("Select * from contagerencial"))
{
    setObjectName(QStringLiteral("FrmGerencial"));
    setWindowTitle(QStringLiteral("Parvix Sistemas"));
    keepOnScreen(this);
    setAutoFillBackground(true);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_body = new QWidget(this);
    outer->addWidget(m_body);
    auto* v = new QVBoxLayout(m_body);
    v->setContentsMargins(0, 0, 0, 4);
    v->setSpacing(4);
    QLabel* title = screenstyle::titleBand(QStringLiteral("Centro de Custo"), m_body);
    title->setObjectName(QStringLiteral("lblTitulo"));
    v->addWidget(title);
    v->addWidget(buildCommandBars(m_body));
    v->addWidget(buildCurrentRow(m_body));
    buildList(m_body);
    v->addWidget(m_grid, 1);
    resize(560, 460);

    new EnterMovesFocus(this);
    setTabOrder(m_descricao, m_grid);
    setupKeys();
    FormCreate();
}

TFrmGerencial::~TFrmGerencial()
{
    // The controls go before the record set they show.
    m_timer.stop();
    delete m_body;
}

QWidget* TFrmGerencial::buildCommandBars(QWidget* parent)
{
    auto* area = new QWidget(parent);
    auto* h = new QHBoxLayout(area);
    h->setContentsMargins(2, 0, 2, 0);

    auto* browse = new CommandBar(QStringLiteral("tbBrowseCommands"), area);
    browse->add(QStringLiteral("btnIncluir"), QStringLiteral("Incluir"), QStyle::SP_FileIcon,
                [this] { btnIncluirClick(); });
    browse->add(QStringLiteral("btnExcluir"), QStringLiteral("Excluir"), QStyle::SP_TrashIcon,
                [this] { btnExcluirClick(); });
    browse->add(QStringLiteral("btnFechar"), QStringLiteral("   Fechar   "), QStyle::SP_DialogCloseButton,
                [this] { btnFecharClick(); });
    m_browseBar = browse;

    auto* edit = new CommandBar(QStringLiteral("tbEditingCommands"), area);
    edit->add(QStringLiteral("btnSalvar"), QStringLiteral("Salvar"), QStyle::SP_DialogSaveButton,
              [this] { btnSalvarClick(); });
    edit->add(QStringLiteral("btnCancelar"), QStringLiteral("  Cancelar  "), QStyle::SP_DialogCancelButton,
              [this] { btnCancelarClick(); });
    m_editBar = edit;

    auto* nav = new RecordNavigator(tbGerencial,
                                    {{{"btnPrimeiro", "Primeiro"},
                                      {"btnAnterior", "Anterior"},
                                      {"btnProximo", "Próximo"},
                                      {"btnUltimo", "   Último   "}}},
                                    area);
    nav->setMover([this](RecordNavigator::Move move) { navigate(move); });
    m_navBar = nav;
    for (QToolBar* bar : {m_browseBar, m_editBar, m_navBar})
        h->addWidget(bar);
    h->addStretch(1);
    showBars(Bars::Browse);
    return area;
}

QWidget* TFrmGerencial::buildCurrentRow(QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(8, 0, 8, 0);
    auto* codigo = new DbText(row);
    codigo->setObjectName(QStringLiteral("dbtxtCodigo"));
    codigo->bind(&tbGerencial, QStringLiteral("codigogerencial"));
    h->addWidget(screenstyle::labeled(QStringLiteral("Código"), codigo, 70, false, row));
    m_descricao = new DbLineEdit(row);
    m_descricao->setObjectName(QStringLiteral("dbedtGerencial"));
    m_descricao->setCharCase(DbLineEdit::CharCase::Upper);
    m_descricao->setMaxLength(kDescriptionWidth);
    m_descricao->bind(&tbGerencial, QStringLiteral("Gerencial"));
    h->addWidget(screenstyle::labeled(QStringLiteral("Descrição"), m_descricao, 380, false, row));
    h->addStretch(1);
    return row;
}

void TFrmGerencial::buildList(QWidget* parent)
{
    m_grid = new DbGrid(tbGerencial,
                        {{QStringLiteral("codigogerencial"), QStringLiteral("Código"), 70},
                         {QStringLiteral("Gerencial"), QStringLiteral("Descrição do Centro de Custo"), 400}},
                        parent);
    m_grid->setObjectName(QStringLiteral("grdGerencial"));
    m_grid->setEditableColumns({1});
    m_cell = new UpperCaseCellDelegate(kDescriptionWidth, m_grid);
    m_grid->setItemDelegateForColumn(1, m_cell);
    // The current row has a colour of its own; only its focused cell shows the selection colours.
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->recordModel()->rowBackground = [](const RecordSet& rs, int row) {
        if (row == rs.currentRow()) return kCurrentRow;
        return (row + 1) % 2 == 1 ? kOddRow : kEvenRow; // by record number, counted from 1
    };
    QPointer<QWidget> viewport = m_grid->viewport();
    tbGerencial.afterScroll.add([viewport](RecordSet&) {
        if (viewport) viewport->update(); // the old current row loses its colour
    });
}

void TFrmGerencial::setupKeys()
{
    auto* close = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(close, &QShortcut::activated, this, [this] { btnFecharClick(); });
    auto* remove = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete), m_grid);
    remove->setContext(Qt::WidgetWithChildrenShortcut);
    connect(remove, &QShortcut::activated, this, [this] { guarded([this] { grdGerencialDeleteKey(); }); });
    m_timer.setInterval(kRereadIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &TFrmGerencial::tmrAtualizarTimer);
}

void TFrmGerencial::showBars(Bars b)
{
    m_bars = b;
    m_browseBar->setVisible(b == Bars::Browse);
    m_navBar->setVisible(b == Bars::Browse);
    m_editBar->setVisible(b == Bars::Editing);
}

void TFrmGerencial::FormCreate()
{
    const bool opened = guarded([this] {
        waitcursor::Guard wait;
        tbGerencial.open();
        tbGerencial.setSortKeys({{tbGerencial.fieldIndex(QStringLiteral("Gerencial")), true}});
        tbGerencial.first(); // sorting kept the row read first; the list starts at its top
    });
    if (!opened) return; // nothing to read again: the error was shown
    // Typing goes to the description column.
    if (tbGerencial.currentRow() >= 0)
        m_grid->setCurrentIndex(m_grid->model()->index(tbGerencial.currentRow(), 1));
    m_timer.start();
}

void TFrmGerencial::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (m_centred) return;
    m_centred = true;
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    m_descricao->setFocus();
}

void TFrmGerencial::keyPressEvent(QKeyEvent* e)
{
    // Only "Fechar" and Ctrl+F close the screen; Escape would throw a pending change away.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TFrmGerencial::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TFrmGerencial::FormClose()
{
    m_timer.stop();
    m_cell->abandonEditing();
    tbGerencial.cancel();
    tbGerencial.close();
}

} // namespace cad
