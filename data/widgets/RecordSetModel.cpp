#include "data/widgets/RecordSetModel.h"

#include "data/Values.h"

namespace cad {

RecordSetModel::RecordSetModel(RecordSet& set, std::vector<ColumnDef> columns, QObject* parent)
    : QAbstractTableModel(parent), m_set(set), m_columns(std::move(columns))
{
    // The set announces a row after its count has changed, so the model keeps the count the
    // views were last told and moves it on only between the begin and end of each change.
    m_rows = setRows();
    m_subscriptions.push_back(m_set.rowsReset.subscribe([this](RecordSet&) { reset(); }));
    m_subscriptions.push_back(m_set.rowInserted.subscribe([this](RecordSet&, int row) {
        if (row < 0 || row > m_rows || setRows() != m_rows + 1) return reset();
        beginInsertRows({}, row, row);
        m_rows = setRows();
        endInsertRows();
    }));
    m_subscriptions.push_back(m_set.rowRemoved.subscribe([this](RecordSet&, int row) {
        if (row < 0 || row >= m_rows || setRows() != m_rows - 1) return reset();
        beginRemoveRows({}, row, row);
        m_rows = setRows();
        endRemoveRows();
    }));
    m_subscriptions.push_back(m_set.rowChanged.subscribe([this](RecordSet&, int row) {
        if (row >= 0 && row < m_rows) Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
    }));
    m_subscriptions.push_back(m_set.afterScroll.subscribe([this](RecordSet&) {
        if (m_rows > 0) Q_EMIT headerDataChanged(Qt::Vertical, 0, m_rows - 1);
    }));
}

int RecordSetModel::setRows() const
{
    return m_set.isOpen() ? m_set.rowCount() : 0;
}

void RecordSetModel::reset()
{
    beginResetModel();
    m_rows = setRows();
    endResetModel();
}

int RecordSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int RecordSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant RecordSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.row() >= setRows()) return {};
    const ColumnDef& col = m_columns[size_t(index.column())];
    switch (role) {
    case Qt::DisplayRole: {
        const QVariant v = m_set.valueAt(index.row(), col.field);
        if (col.format == ColumnDef::Format::TwoDecimals && !v.isNull())
            return values::groupedTwoDecimals(v.toDouble());
        return values::display(v);
    }
    case Qt::BackgroundRole:
        if (rowBackground) {
            const QColor c = rowBackground(m_set, index.row());
            if (c.isValid()) return c;
        }
        return {};
    case Qt::ForegroundRole:
        if (rowBackground && rowBackground(m_set, index.row()).isValid()) return QColor(Qt::black);
        return {};
    case Qt::TextAlignmentRole: {
        const QVariant v = m_set.valueAt(index.row(), col.field);
        const bool number = v.typeId() == QMetaType::Double || v.typeId() == QMetaType::LongLong;
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o == Qt::Horizontal) {
        if (role == Qt::DisplayRole && section < columnCount()) return m_columns[size_t(section)].title;
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
        return {};
    }
    // The row header marks the current row.
    if (role == Qt::DisplayRole) return section == m_set.currentRow() ? QStringLiteral("\u25B6") : QString();
    return {};
}

} // namespace cad
