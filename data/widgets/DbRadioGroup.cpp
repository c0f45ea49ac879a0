#include "data/widgets/DbRadioGroup.h"

#include "data/Values.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace cad {

DbRadioGroup::DbRadioGroup(const QString& title, const QStringList& captions, const QVariantList& values,
                           QWidget* parent)
    : QGroupBox(title, parent), m_link(this, [this] { show(m_link.value()); }),
      m_group(new QButtonGroup(this)), m_values(values)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(0);
    for (int i = 0; i < captions.size(); ++i) {
        auto* b = new QRadioButton(captions[i], this);
        m_group->addButton(b, i);
        layout->addWidget(b);
    }
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        if (!m_link.write(m_values.value(id))) show(m_link.value());
    });
}

void DbRadioGroup::show(const QVariant& v)
{
    int found = -1;
    for (int i = 0; i < m_values.size(); ++i)
        if (values::equal(m_values[i], v)) found = i;
    // An exclusive group cannot show "none": lift it while clearing.
    m_group->setExclusive(false);
    for (auto* b : m_group->buttons())
        b->setChecked(m_group->id(b) == found);
    m_group->setExclusive(true);
}

} // namespace cad
