#include "app/ui/CadApplication.h"

#include "app/ui/ErrorDisplay.h"
#include "http/WaitCursor.h"

#include <QLocale>

namespace cad {

CadApplication::CadApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    errordisplay::install();
    waitcursor::install([](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
}

bool CadApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        errordisplay::show(e);
    }
    return false;
}

} // namespace cad
