#include "app/ui/ErrorDisplay.h"

#include "app/ui/Dialogs.h"
#include "core/ErrorSink.h"

#include <QApplication>

namespace cad::errordisplay {

QString withFullStop(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
    return message;
}

void show(const std::exception& e)
{
    if (dynamic_cast<const SilentAbort*>(&e)) return;
    // A command may fail while the wait pointer is up; the operator must see a normal pointer.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    dialogs::show({dialogs::appTitle(), withFullStop(QString::fromUtf8(e.what())), dialogs::Icon::Error,
                   dialogs::Buttons::Ok, dialogs::Answer::Ok});
}

void install()
{
    setErrorSink([](const std::exception& e) { show(e); });
}

} // namespace cad::errordisplay
