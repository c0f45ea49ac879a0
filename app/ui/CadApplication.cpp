#include "app/ui/CadApplication.h"

#include "app/ui/ErrorDisplay.h"
#include "core/WaitCursor.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace cad {

CadApplication::CadApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    QLocale::setDefault(brazil);
    // Qt's own dialogs and messages (the print dialog, the image decoder) in Portuguese too.
    auto* qtTexts = new QTranslator(this);
    if (qtTexts->load(brazil, QStringLiteral("qt"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(qtTexts);
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
