#include "taxpayer/CadServicos.h"

#include "core/TextRoutines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace cad {

void TCadServicos::Carregar(const QString& iniPath, const QString& embedded)
{
    QString text = embedded;
    QFile file(iniPath);
    if (!iniPath.isEmpty() && file.exists() && file.open(QIODevice::ReadOnly))
        text = FromSingleByte(file.readAll());
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    m_linhas = text.split(lineBreak);
}

QString TCadServicos::Valor(const QString& key) const
{
    for (const QString& line : m_linhas) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && line.left(eq).compare(key, Qt::CaseInsensitive) == 0) return line.mid(eq + 1);
    }
    return {};
}

QString TCadServicos::CaminhoPadrao(const QString& name)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(name + QStringLiteral(".ini"));
}

} // namespace cad
