#include "data/widgets/DbLineEdit.h"

#include "data/Values.h"

namespace cad {

DbLineEdit::DbLineEdit(QWidget* parent) : QLineEdit(parent), m_link(this, [this] { show(m_link.value()); })
{
    connect(this, &QLineEdit::textEdited, this, &DbLineEdit::onEdited);
}

void DbLineEdit::bind(RecordSet* set, const QString& field)
{
    m_link.bind(set, field);
}

void DbLineEdit::onEdited(const QString& typed)
{
    QString text = typed;
    if (m_case == CharCase::Upper)
        text = text.toUpper();
    else if (m_case == CharCase::Lower)
        text = text.toLower();
    if (text != typed) {
        const int pos = cursorPosition();
        setText(text);
        setCursorPosition(pos);
    }
    if (!m_link.canChange()) {
        m_link.refresh();
        return;
    }
    m_pending = !m_link.write(m_filter ? m_filter(text) : text, true);
}

void DbLineEdit::show(const QVariant& v)
{
    setReadOnly(!m_link.canChange());
    if (m_format == Format::TwoDecimals && !hasFocus() && !v.isNull())
        setText(values::groupedTwoDecimals(v.toDouble()));
    else if (v.typeId() == QMetaType::Double)
        setText(values::generalNumber(v.toDouble()));
    else
        setText(values::display(v));
    setCursorPosition(0);
}

void DbLineEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    if (m_format != Format::Plain) m_link.refresh();
}

bool DbLineEdit::commitPending()
{
    if (!m_pending || !m_link.canChange() || !m_link.set()->isEditing()) return true;
    m_pending = false;
    return m_link.write(m_filter ? m_filter(text()) : text()); // reports a value that does not convert
}

void DbLineEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    (void)commitPending();
    if (m_format != Format::Plain) m_link.refresh();
}

} // namespace cad
