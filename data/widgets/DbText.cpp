#include "data/widgets/DbText.h"

#include "data/Values.h"

namespace cad {

DbText::DbText(QWidget* parent)
    : QLabel(parent), m_link(this, [this] { setText(values::display(m_link.value())); })
{
}

} // namespace cad
