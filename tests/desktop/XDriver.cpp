#include "tests/desktop/XDriver.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>

namespace xdriver {

namespace {

QString run(const QString& program, const QStringList& args, bool* ok = nullptr)
{
    QProcess p;
    p.start(program, args);
    const bool done = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!done)
        qWarning("%s %s failed: %s", qPrintable(program), qPrintable(args.join(u' ')),
                 p.readAllStandardError().constData());
    if (ok) *ok = done;
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

int number(const QString& text, const QString& label)
{
    const QRegularExpression re(QRegularExpression::escape(label) + QStringLiteral(":\\s*(-?\\d+)"));
    const auto m = re.match(text);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace

bool xdotool(const QStringList& args)
{
    bool ok = false;
    (void)run(QStringLiteral("xdotool"), args, &ok);
    return ok;
}

bool click(QWidget* widget, QPoint at, int count)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest); // where it will be drawn
    if (at == QPoint(-1, -1)) at = widget->rect().center();
    // Device pixels: the pointer moves on the server's screen.
    const QPoint g = widget->mapToGlobal(at) * widget->devicePixelRatio();
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(g.x()),
                    QString::number(g.y()), QStringLiteral("click"), QStringLiteral("--repeat"),
                    QString::number(count), QStringLiteral("--delay"), QStringLiteral("60"),
                    QStringLiteral("1")});
}

bool type(const QString& text)
{
    return xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("25"), text});
}

bool key(const QString& combination)
{
    return xdotool({QStringLiteral("key"), combination});
}

QRect clientOnServer(QWidget* window)
{
    bool ok = false;
    const QString geometry =
        run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window->winId())}, &ok);
    if (!ok) return {};
    return {number(geometry, QStringLiteral("Absolute upper-left X")),
            number(geometry, QStringLiteral("Absolute upper-left Y")),
            number(geometry, QStringLiteral("Width")), number(geometry, QStringLiteral("Height"))};
}

QRect frameOnServer(QWidget* window)
{
    const QString id = QString::number(window->winId());
    QRect r = clientOnServer(window);
    if (r.isNull()) return r;
    // left, right, top, bottom: what the window manager adds around the window.
    const QString extents =
        run(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS")});
    const auto m =
        QRegularExpression(QStringLiteral("=\\s*(\\d+),\\s*(\\d+),\\s*(\\d+),\\s*(\\d+)")).match(extents);
    if (m.hasMatch())
        r.adjust(-m.captured(1).toInt(), -m.captured(3).toInt(), m.captured(2).toInt(),
                 m.captured(4).toInt());
    return r;
}

void screenshot(const QString& file)
{
    if (QScreen* s = QGuiApplication::primaryScreen()) s->grabWindow(0).save(file);
}

} // namespace xdriver
