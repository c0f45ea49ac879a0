#include "address/ui/TfrmEnderecosEncontrados.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace cad {

namespace {

constexpr int kButtonStripHeight = 41;

struct Column
{
    const char* field;
    const char* title;
    int width;
};

// Grid columns left to right; CodigoCidade travels with the row but is not shown.
constexpr Column kColumns[] = {{"Logradouro", "Logradouro", 177},
                               {"Complemento", "Complem.", 111},
                               {"Bairro", "Bairro", 160},
                               {"Cidade", "Cidade", 160},
                               {"UF", "UF", 40}};

} // namespace

TfrmEnderecosEncontrados::TfrmEnderecosEncontrados(QWidget* parent)
    : TfrmPadrao1(QStringLiteral("Endereços Encontrados"), parent),
      VirtualTable1({{QStringLiteral("Logradouro"), 150},
                     {QStringLiteral("Complemento"), 100},
                     {QStringLiteral("Bairro"), 100},
                     {QStringLiteral("Cidade"), 100},
                     {QStringLiteral("CodigoCidade"), 20},
                     {QStringLiteral("UF"), 2}})
{
    setObjectName(QStringLiteral("frmEnderecosEncontrados"));
    setFixedSize(697, 322);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("dbgrdCEPs"));
    m_grid->setModel(&VirtualTable1);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->setColumnHidden(VirtualTable1.fieldIndex(QStringLiteral("CodigoCidade")), true);
    for (const Column& c : kColumns) {
        const int col = VirtualTable1.fieldIndex(QString::fromLatin1(c.field));
        VirtualTable1.setHeaderData(col, Qt::Horizontal, QString::fromLatin1(c.title), Qt::DisplayRole);
        m_grid->setColumnWidth(col, c.width);
    }
    body()->addWidget(m_grid, 1);

    auto* strip = new QWidget(this);
    strip->setFixedHeight(kButtonStripHeight);
    auto* h = new QHBoxLayout(strip);
    h->setContentsMargins(8, 6, 8, 6);
    h->addStretch(1);
    m_ok = new QPushButton(QStringLiteral("OK"), strip);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), strip);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    h->addWidget(m_ok);
    h->addWidget(m_cancel);
    body()->addWidget(strip);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, &QDialog::accept);
    // The grid and the table share one current row.
    connect(&VirtualTable1, &MemoryTable::currentRowChanged, this,
            &TfrmEnderecosEncontrados::followCurrentRow);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { VirtualTable1.setCurrentRow(current.row()); });
}

void TfrmEnderecosEncontrados::followCurrentRow(int row)
{
    const QModelIndex current = m_grid->currentIndex();
    if (current.row() == row) return;
    if (row < 0) {
        m_grid->selectionModel()->clearCurrentIndex();
        return;
    }
    const int shownColumn = VirtualTable1.fieldIndex(QStringLiteral("Logradouro"));
    m_grid->selectionModel()->setCurrentIndex(VirtualTable1.index(row, shownColumn),
                                              QItemSelectionModel::ClearAndSelect |
                                                  QItemSelectionModel::Rows);
}

} // namespace cad
