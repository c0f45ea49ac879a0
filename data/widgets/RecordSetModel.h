#pragma once
#include "data/RecordSet.h"

#include <QAbstractTableModel>
#include <QColor>
#include <functional>

namespace cad {

/// A column a list shows: the field, its title, design width and display format.
struct ColumnDef
{
    QString field;
    QString title;
    int width = 64;
    enum class Format
    {
        Plain,
        TwoDecimals
    } format = Format::Plain;
};

/// Table model over a record set: rows are decoded only when a view asks for them.
class RecordSetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    RecordSetModel(RecordSet& set, std::vector<ColumnDef> columns, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation o, int role) const override;

    [[nodiscard]] RecordSet& recordSet() { return m_set; }
    [[nodiscard]] const std::vector<ColumnDef>& columns() const { return m_columns; }
    /// Background of a row that is not selected (row colouring rules); invalid for normal colours.
    std::function<QColor(const RecordSet&, int row)> rowBackground;

private:
    [[nodiscard]] int setRows() const;
    void reset();

    RecordSet& m_set;
    int m_rows = 0; // the row count the views were last told
    std::vector<ColumnDef> m_columns;
    std::vector<Subscription> m_subscriptions; // the set may outlive the model
};

} // namespace cad
