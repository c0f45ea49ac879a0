#pragma once
#include "data/widgets/FieldLink.h"

#include <QLabel>

namespace cad {

/// A field's value shown read-only (the supplier code in the header, for one).
class DbText : public QLabel
{
    Q_OBJECT
public:
    explicit DbText(QWidget* parent = nullptr);
    void bind(RecordSet* set, const QString& field) { m_link.bind(set, field); }

private:
    FieldLink m_link;
};

} // namespace cad
