#pragma once
#include <QPointer>
#include <QStyledItemDelegate>

class QLineEdit;

namespace cad {

/// List cells typed as an upper-case field is: letters converted as typed, a maximum length;
/// knows its open cell, so a command can take the typed text before it runs.
class UpperCaseCellDelegate : public QStyledItemDelegate
{
public:
    UpperCaseCellDelegate(int maxLength, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

    [[nodiscard]] bool isEditing() const { return !m_open.isNull(); }
    /// Writes the open cell's text into the model and closes the cell, as leaving it does.
    void finishEditing();
    /// Closes the open cell without writing its text.
    void abandonEditing();

private:
    int m_maxLength;
    mutable QPointer<QLineEdit> m_open;
};

} // namespace cad
