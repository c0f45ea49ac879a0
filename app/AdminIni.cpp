#include "app/AdminIni.h"

#include <QFile>
#include <QHash>
#include <QTextStream>

namespace cad {

int wholeNumberOrZero(const QString& text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : 0;
}

namespace {

// section -> key -> value, names in upper case (they are matched without regard to case).
using Sections = QHash<QString, QHash<QString, QString>>;

Sections parse(QFile& f)
{
    Sections out;
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return out;
    const QByteArray bytes = f.readAll();
    // The file is written by hand on Windows workstations: accept UTF-8, else Windows-1252/Latin-1.
    QString text = QString::fromUtf8(bytes);
    if (text.contains(QChar::ReplacementCharacter)) text = QString::fromLatin1(bytes);
    QString section;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed().toUpper();
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || section.isEmpty()) continue;
        const QString key = line.left(eq).trimmed().toUpper();
        if (!out[section].contains(key)) // the first of two equal keys wins
            out[section].insert(key, line.mid(eq + 1).trimmed());
    }
    return out;
}

ServerSection server(const Sections& s, const QString& name)
{
    const auto keys = s.value(name);
    ServerSection out;
    out.porta = wholeNumberOrZero(keys.value(QStringLiteral("PORTA")));
    out.servidor = keys.value(QStringLiteral("SERVIDOR"));
    out.banco = keys.value(QStringLiteral("BANCO"));
    out.senha = keys.value(QStringLiteral("SENHA"));
    bool ok = false;
    const int espera = keys.value(QStringLiteral("TEMPOESPERA")).trimmed().toInt(&ok);
    if (ok) out.tempoEspera = espera;
    out.hasSenha = keys.contains(QStringLiteral("SENHA"));
    return out;
}

} // namespace

AdminIni AdminIni::read(const QString& path)
{
    QFile file(path);
    const Sections s = parse(file);
    AdminIni ini;
    ini.found = file.isOpen();
    ini.local = server(s, QStringLiteral("LOCAL"));
    ini.loja = server(s, QStringLiteral("LOJA"));
    ini.gerencia = server(s, QStringLiteral("GERENCIA"));
    bool whole = false;
    const int minutes =
        s.value(QStringLiteral("GERENCIA")).value(QStringLiteral("REENVIOMINUTOS")).trimmed().toInt(&whole);
    if (whole && minutes >= 0) ini.retryMinutes = minutes;
    const auto services = s.value(QStringLiteral("SERVICOS"));
    ini.cnpjHost = services.value(QStringLiteral("CNPJ"));
    ini.cpfHost = services.value(QStringLiteral("CPF"));
    ini.viaCepHost = services.value(QStringLiteral("VIACEP"));
    ini.mapsHost = services.value(QStringLiteral("MAPAS"));
    ini.mapsKey = services.value(QStringLiteral("MAPASCHAVE"));
    ini.caFile = services.value(QStringLiteral("CAFILE"));
    return ini;
}

} // namespace cad
