#pragma once
#include "data/widgets/FieldLink.h"

#include <QPlainTextEdit>

namespace cad {

/// Several-line text bound to a field.
class DbMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit DbMemo(QWidget* parent = nullptr);
    void bind(RecordSet* set, const QString& field) { m_link.bind(set, field); }
    void setDisplayOnly(bool on) { m_link.setDisplayOnly(on); }

private:
    FieldLink m_link;
};

} // namespace cad
