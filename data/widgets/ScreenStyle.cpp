#include "data/widgets/ScreenStyle.h"

#include <QLabel>
#include <QVBoxLayout>

namespace cad::screenstyle {

void paintBand(QLabel* label, const QColor& background)
{
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(p);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
}

QLabel* titleBand(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    paintBand(l, kTitleBlue);
    QFont f = l->font();
    f.setPointSize(f.pointSize() + 6);
    l->setFont(f);
    l->setContentsMargins(10, 4, 10, 4);
    return l;
}

void paintRed(QWidget* widget)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, Qt::red);
    p.setColor(QPalette::ButtonText, Qt::red);
    widget->setPalette(p);
}

QLabel* caption(const QString& text, bool red, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    if (red) paintRed(l);
    return l;
}

QWidget* labeled(const QString& text, QWidget* control, int width, bool red, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(1);
    QLabel* l = caption(text, red, box);
    l->setBuddy(control);
    l->setObjectName(QStringLiteral("lbl_") + control->objectName());
    v->addWidget(l);
    control->setParent(box);
    v->addWidget(control);
    if (width > 0) {
        // The control keeps its design width; a longer caption widens the box, never clipped.
        control->setFixedWidth(width);
        box->setFixedWidth(std::max(width, l->sizeHint().width()));
    }
    return box;
}

} // namespace cad::screenstyle
