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
    void setDisplayOnly(bool on)
    {
        m_displayOnly = on;
        m_link.refresh();
    }

private:
    FieldLink m_link;
    bool m_displayOnly = false;
};

} // namespace cad
