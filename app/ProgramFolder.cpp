#include "app/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace cad {

QString programWrittenFile(const QString& name, const QString& folder)
{
    const QString preferred = folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
    const QFileInfo info(preferred);
    if (info.isDir() && info.isWritable()) return QDir(preferred).filePath(name);
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(own); // a failure shows when the file itself cannot be written
    return QDir(own).filePath(name);
}

} // namespace cad
