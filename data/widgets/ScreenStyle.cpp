#include "data/widgets/ScreenStyle.h"

#include <QLabel>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace cad::screenstyle {

QLabel* titleBand(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, kTitleBlue);
    p.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(p);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 6);
    l->setFont(f);
    l->setContentsMargins(10, 4, 10, 4);
    return l;
}

QLabel* caption(const QString& text, bool red, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    if (red) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Qt::red);
        l->setPalette(p);
    }
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

QToolButton* commandButton(QToolBar* bar, const QString& name, const QString& text,
                           QStyle::StandardPixmap icon)
{
    auto* b = new QToolButton(bar);
    b->setObjectName(name);
    b->setText(text);
    b->setIcon(bar->style()->standardIcon(icon));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setFocusPolicy(Qt::NoFocus);
    b->setMinimumWidth(56);
    bar->addWidget(b);
    return b;
}

} // namespace cad::screenstyle
