#include "data/widgets/DbGrid.h"

#include "core/ErrorSink.h"
#include "data/Values.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>

namespace cad {

namespace {

// The grid's model: the record set's, with cells of the chosen columns editable in the current row.
class GridModel : public RecordSetModel
{
public:
    GridModel(RecordSet& set, std::vector<ColumnDef> columns, QObject* parent)
        : RecordSetModel(set, std::move(columns), parent), m_rs(set)
    {
    }
    QList<int> editable;

    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = RecordSetModel::flags(index);
        if (index.isValid() && editable.contains(index.column()) && m_rs.isOpen() && !m_rs.isReadOnly())
            f |= Qt::ItemIsEditable;
        return f;
    }

    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::EditRole) return RecordSetModel::data(index, role);
        return RecordSetModel::data(index, Qt::DisplayRole);
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        RecordSet& s = m_rs;
        if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || index.row() != s.currentRow())
            return false;
        const QString& field = columns()[size_t(index.column())].field;
        // Leaving a cell unchanged must not start editing (nor a needless save).
        if (values::display(s.value(field)) == value.toString()) return true;
        return guarded([&] {
            if (s.state() == RecordSet::State::Browse) s.edit();
            s.setValue(field, value);
        });
    }

private:
    RecordSet& m_rs;
};

} // namespace

DbGrid::DbGrid(RecordSet& set, std::vector<ColumnDef> columns, QWidget* parent)
    : QTableView(parent), m_model(new GridModel(set, std::move(columns), this))
{
    setModel(m_model);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setAlternatingRowColors(false);
    // The selected row keeps its colours when the list loses the focus.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(16);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    for (int c = 0; c < int(m_model->columns().size()); ++c)
        setColumnWidth(c, m_model->columns()[size_t(c)].width);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &DbGrid::titleClicked);

    m_scrolled = set.afterScroll.subscribe([this](RecordSet&) { followRecordSet(); });
    m_reset = set.rowsReset.subscribe([this](RecordSet&) { followRecordSet(); });
}

void DbGrid::setEditableColumns(const QList<int>& columns)
{
    static_cast<GridModel*>(m_model)->editable = columns;
    setEditTriggers(columns.isEmpty() ? NoEditTriggers : DoubleClicked | EditKeyPressed | AnyKeyPressed);
}

void DbGrid::followRecordSet()
{
    RecordSet& s = recordSet();
    m_following = true;
    if (s.currentRow() >= 0 && s.currentRow() < m_model->rowCount()) {
        const QModelIndex idx = m_model->index(s.currentRow(), m_column);
        setCurrentIndex(idx);
        scrollTo(idx);
    } else {
        clearSelection();
    }
    m_following = false;
}

void DbGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid()) m_column = current.column();
    if (m_following || !current.isValid() || current.row() == recordSet().currentRow()) return;
    // Moving the row may save a pending change; when that fails the list goes back.
    if (!guarded([&] { recordSet().moveTo(current.row()); })) followRecordSet();
}

void DbGrid::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Delete && e->modifiers() == Qt::ControlModifier) {
        e->accept();
        return;
    }
    QTableView::keyPressEvent(e);
}

void DbGrid::titleClicked(int column)
{
    RecordSet& s = recordSet();
    const int field = s.fieldIndex(m_model->columns()[size_t(column)].field);
    if (field < 0 || !s.isOpen()) return;
    std::vector<SortKey> keys = s.sortKeys();
    const auto it =
        std::find_if(keys.begin(), keys.end(), [&](const SortKey& k) { return k.column == field; });
    const Qt::KeyboardModifiers mods = QApplication::keyboardModifiers();
    if (mods & Qt::ControlModifier) {
        if (it != keys.end()) keys.erase(it);
    } else if (mods & Qt::ShiftModifier) {
        if (it != keys.end())
            it->ascending = !it->ascending;
        else
            keys.push_back({field, true});
    } else {
        const bool ascending = !(it != keys.end() && keys.size() == 1 && it->ascending);
        keys = {{field, ascending}};
    }
    guarded([&] { s.setSortKeys(keys); });
}

} // namespace cad
