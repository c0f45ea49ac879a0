#include "address/ui/TfrmPadrao1.h"

#include "data/widgets/ScreenStyle.h"
#include "data/widgets/WindowFit.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

namespace cad {

namespace {

constexpr int kFrameWidth = 3;
constexpr int kCaptionHeight = 50;

// The caption bar: a left-button drag moves the whole window, as a system title bar does.
class CaptionBar : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() != Qt::LeftButton) return;
        // The window system moves the window when it can; otherwise follow the mouse here.
        QWindow* handle = window()->windowHandle();
        if (handle && handle->startSystemMove()) return;
        m_dragging = true;
        m_grab = e->globalPosition().toPoint() - window()->frameGeometry().topLeft();
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (m_dragging && (e->buttons() & Qt::LeftButton))
            window()->move(e->globalPosition().toPoint() - m_grab);
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton) m_dragging = false;
    }

private:
    bool m_dragging = false;
    QPoint m_grab;
};

} // namespace

TfrmPadrao1::TfrmPadrao1(const QString& title, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setWindowTitle(title);
    keepOnScreen(this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(kFrameWidth, kFrameWidth, kFrameWidth, kFrameWidth);
    outer->setSpacing(0);

    m_caption = new CaptionBar(title, this);
    m_caption->setObjectName(QStringLiteral("pnlTitulo"));
    m_caption->setFixedHeight(kCaptionHeight);
    m_caption->setAlignment(Qt::AlignCenter);
    screenstyle::paintBand(m_caption, QColor(0, 99, 147));
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(32);
    f.setBold(true);
    m_caption->setFont(f);
    outer->addWidget(m_caption);

    m_body = new QVBoxLayout;
    m_body->setContentsMargins(0, 0, 0, 0);
    m_body->setSpacing(0);
    outer->addLayout(m_body, 1);
}

void TfrmPadrao1::paintEvent(QPaintEvent* e)
{
    QDialog::paintEvent(e);
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 128)); // navy; the inner area is painted over it
    painter.fillRect(rect().adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth),
                     palette().color(QPalette::Window));
}

void TfrmPadrao1::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (m_centred) return;
    m_centred = true;
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

} // namespace cad
