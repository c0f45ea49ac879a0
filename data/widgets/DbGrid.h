#pragma once
#include "data/widgets/RecordSetModel.h"

#include <QTableView>

namespace cad {

/// List over a record set: whole-row selection that stays highlighted, a marker for the current
/// row, title-click sorting (Shift adds a column, Ctrl removes one), and Ctrl+Delete discarded so
/// the list never deletes a row by itself. Read-only unless columns are made editable.
class DbGrid : public QTableView
{
    Q_OBJECT
public:
    DbGrid(RecordSet& set, std::vector<ColumnDef> columns, QWidget* parent = nullptr);
    [[nodiscard]] RecordSet& recordSet() { return m_model->recordSet(); }
    [[nodiscard]] RecordSetModel* recordModel() const { return m_model; }
    /// Lets the operator type into COLUMNS in place: a key or a double click opens the cell, and
    /// leaving it writes the text into the current row (which enters editing, as a bound field).
    void setEditableColumns(const QList<int>& columns);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void titleClicked(int column);
    void followRecordSet();

    RecordSetModel* m_model;
    bool m_following = false;
    int m_column = 0; // the cursor's column, kept when the rows are read again
    Subscription m_scrolled;
    Subscription m_reset;
};

} // namespace cad
