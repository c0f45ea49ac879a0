#pragma once
#include "data/widgets/FieldLink.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QVariant>

namespace cad {

/// A group of choices, each storing its own value; a stored value of no choice selects none.
class DbRadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    DbRadioGroup(const QString& title, const QStringList& captions, const QVariantList& values,
                 QWidget* parent = nullptr);
    void bind(RecordSet* set, const QString& field) { m_link.bind(set, field); }
    [[nodiscard]] int checkedIndex() const { return m_group->checkedId(); }
    [[nodiscard]] QButtonGroup* buttons() const { return m_group; }

private:
    void show(const QVariant& v);

    FieldLink m_link;
    QButtonGroup* m_group;
    QVariantList m_values;
};

} // namespace cad
