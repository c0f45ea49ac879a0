#pragma once
#include <QObject>

class QWidget;

namespace cad {

/// The form sees every key first: Enter is swallowed and moves the focus to the next control
/// in tab order, in every field of the form (memos included, search box included).
class EnterMovesFocus : public QObject
{
    Q_OBJECT
public:
    explicit EnterMovesFocus(QWidget* form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_form;
};

} // namespace cad
