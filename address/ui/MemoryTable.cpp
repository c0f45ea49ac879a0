#include "address/ui/MemoryTable.h"

namespace cad {

MemoryTable::MemoryTable(std::vector<Field> fields, QObject* parent)
    : QAbstractTableModel(parent), m_fields(std::move(fields))
{
    for (const Field& f : m_fields)
        m_titles << f.name;
}

void MemoryTable::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
    setCurrentRow(-1);
}

void MemoryTable::append(const QHash<QString, QString>& values)
{
    QStringList row;
    for (const Field& f : m_fields)
        row << values.value(f.name).left(f.width);
    const int at = int(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.push_back(row);
    endInsertRows();
    setCurrentRow(at);
}

void MemoryTable::setCurrentRow(int row)
{
    if (row < -1 || row >= int(m_rows.size()) || row == m_current) return;
    m_current = row;
    Q_EMIT currentRowChanged(row);
}

int MemoryTable::fieldIndex(const QString& name) const
{
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

QString MemoryTable::value(const QString& name) const
{
    const int col = fieldIndex(name);
    if (m_current < 0 || col < 0) return {};
    return m_rows[size_t(m_current)].at(col);
}

int MemoryTable::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int MemoryTable::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant MemoryTable::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_rows[size_t(index.row())].at(index.column());
}

QVariant MemoryTable::headerData(int section, Qt::Orientation o, int role) const
{
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_titles.size())
        return m_titles.at(section);
    return QAbstractTableModel::headerData(section, o, role);
}

bool MemoryTable::setHeaderData(int section, Qt::Orientation o, const QVariant& value, int role)
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_titles.size())
        return false;
    m_titles[section] = value.toString();
    Q_EMIT headerDataChanged(o, section, section);
    return true;
}

} // namespace cad
