#include "registry/UpperCaseCellDelegate.h"

#include "data/widgets/UpperCaseTyping.h"

#include <QLineEdit>

namespace cad {

UpperCaseCellDelegate::UpperCaseCellDelegate(int maxLength, QObject* parent)
    : QStyledItemDelegate(parent), m_maxLength(maxLength)
{
    connect(this, &QAbstractItemDelegate::closeEditor, this, [this](QWidget* editor) {
        if (editor == m_open) m_open = nullptr;
    });
}

QWidget* UpperCaseCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                             const QModelIndex& index) const
{
    QWidget* w = QStyledItemDelegate::createEditor(parent, option, index);
    auto* edit = qobject_cast<QLineEdit*>(w);
    if (!edit) return w;
    edit->setMaxLength(m_maxLength);
    raiseLettersAsTyped(edit);
    m_open = edit;
    return w;
}

void UpperCaseCellDelegate::finishEditing()
{
    if (QLineEdit* edit = m_open) {
        m_open = nullptr;
        Q_EMIT commitData(edit);
        Q_EMIT closeEditor(edit, NoHint);
    }
}

void UpperCaseCellDelegate::abandonEditing()
{
    if (QLineEdit* edit = m_open) {
        m_open = nullptr;
        Q_EMIT closeEditor(edit, NoHint);
    }
}

} // namespace cad
