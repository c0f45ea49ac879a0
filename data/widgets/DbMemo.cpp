#include "data/widgets/DbMemo.h"

namespace cad {

DbMemo::DbMemo(QWidget* parent)
    : QPlainTextEdit(parent), m_link(this, [this] {
          setReadOnly(!m_link.canChange());
          setPlainText(m_link.value().toString());
      })
{
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_link.updating() && !isReadOnly()) m_link.write(toPlainText());
    });
}

} // namespace cad
