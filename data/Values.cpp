#include "data/Values.h"

#include "data/DbError.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>
#include <charconv>
#include <cmath>

namespace cad::values {

QVariant fromServerText(FieldDef::Kind kind, std::string_view b)
{
    switch (kind) {
    case FieldDef::Kind::Integer: {
        qlonglong v = 0;
        std::from_chars(b.data(), b.data() + b.size(), v);
        return v;
    }
    case FieldDef::Kind::Float: {
        double v = 0;
        std::from_chars(b.data(), b.data() + b.size(), v);
        return v;
    }
    case FieldDef::Kind::Date: {
        const QDate d = QDate::fromString(QLatin1String(b.data(), qsizetype(b.size())), Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldDef::Kind::DateTime: {
        const QDateTime d =
            QDateTime::fromString(QLatin1String(b.data(), qsizetype(std::min<size_t>(b.size(), 19))),
                                  QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldDef::Kind::Time:
        return QTime::fromString(QLatin1String(b.data(), qsizetype(std::min<size_t>(b.size(), 8))),
                                 QStringLiteral("HH:mm:ss"));
    case FieldDef::Kind::Bytes:
        return QByteArray(b.data(), qsizetype(b.size()));
    default:
        return QString::fromUtf8(b.data(), qsizetype(b.size()));
    }
}

QByteArray toServerText(FieldDef::Kind kind, const QVariant& v)
{
    if (v.isNull()) return {};
    switch (kind) {
    case FieldDef::Kind::Float:
        return QByteArray::number(v.toDouble(), 'g', 17);
    case FieldDef::Kind::Date:
        return v.toDate().toString(Qt::ISODate).toLatin1();
    case FieldDef::Kind::DateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
    case FieldDef::Kind::Time:
        return v.toTime().toString(QStringLiteral("HH:mm:ss")).toLatin1();
    case FieldDef::Kind::Bytes:
        return v.toByteArray();
    default: {
        QByteArray t = v.toString().toUtf8();
        if (t.isNull()) t = QByteArray("");
        return t;
    }
    }
}

namespace {

double parseNumber(const QString& text, const FieldDef& f)
{
    bool ok = false;
    const QString t = text.trimmed();
    double d = QLocale().toDouble(t, &ok);
    if (!ok) d = t.toDouble(&ok);
    if (!ok) throw DbError(QStringLiteral("'%1' não é um valor válido para o campo %2").arg(text, f.name));
    return d;
}

QDate parseDate(const QString& text, const FieldDef& f)
{
    for (const QString& fmt :
         {QStringLiteral("dd/MM/yyyy"), QStringLiteral("yyyy-MM-dd"), QStringLiteral("d/M/yyyy")}) {
        const QDate d = QDate::fromString(text.trimmed(), fmt);
        if (d.isValid()) return d;
    }
    throw DbError(QStringLiteral("'%1' não é uma data válida para o campo %2").arg(text, f.name));
}

} // namespace

QVariant convertForField(const FieldDef& f, const QVariant& v)
{
    if (v.isNull()) return {};
    const bool isText = v.typeId() == QMetaType::QString;
    if (isText && v.toString().trimmed().isEmpty() && !f.isText()) return {};
    switch (f.kind) {
    case FieldDef::Kind::Integer:
        return isText ? QVariant(qlonglong(std::llround(parseNumber(v.toString(), f))))
                      : QVariant(v.toLongLong());
    case FieldDef::Kind::Float:
        return isText ? parseNumber(v.toString(), f) : v.toDouble();
    case FieldDef::Kind::Date:
        return isText ? QVariant(parseDate(v.toString(), f)) : QVariant(v.toDate());
    case FieldDef::Kind::DateTime:
        return v.toDateTime();
    case FieldDef::Kind::Time:
        return v.toTime();
    case FieldDef::Kind::Bytes:
        return v.toByteArray();
    default: {
        QString t = v.toString();
        if (v.typeId() == QMetaType::Double) t = generalNumber(v.toDouble());
        t = toSingleByteRange(t);
        const int width = f.writeWidth();
        if (width > 0 && t.size() > width) t.truncate(width);
        return t;
    }
    }
}

namespace {

bool isNumeric(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

} // namespace

bool equal(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
    if (isNumeric(a) || isNumeric(b)) {
        bool okA = false, okB = false;
        const double x = a.toDouble(&okA), y = b.toDouble(&okB);
        return okA && okB && x == y;
    }
    return a.toString() == b.toString();
}

int compare(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull()) return a.isNull() ? (b.isNull() ? 0 : -1) : 1;
    if (isNumeric(a) && isNumeric(b)) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.typeId() == QMetaType::QDate && b.typeId() == QMetaType::QDate)
        return a.toDate() < b.toDate() ? -1 : (a.toDate() > b.toDate() ? 1 : 0);
    if (a.typeId() == QMetaType::QDateTime && b.typeId() == QMetaType::QDateTime)
        return a.toDateTime() < b.toDateTime() ? -1 : (a.toDateTime() > b.toDateTime() ? 1 : 0);
    const QString x = a.toString(), y = b.toString();
    const int c = x.compare(y, Qt::CaseInsensitive);
    return c != 0 ? c : x.compare(y);
}

QString toSingleByteRange(const QString& text)
{
    // Windows-1252 holds Latin-1 plus these in 0x80..0x9F; anything else cannot be stored.
    static const QString extra = QStringLiteral("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
    QString out = text;
    for (QChar& c : out)
        if (c.unicode() > 0xff && !extra.contains(c)) c = QLatin1Char('?');
    return out;
}

QString generalNumber(double v)
{
    QString s = QLocale().toString(v, 'g', 15);
    s.remove(QLocale().groupSeparator());
    return s;
}

QString groupedTwoDecimals(double v)
{
    QLocale loc;
    loc.setNumberOptions(QLocale::DefaultNumberOptions);
    return loc.toString(v, 'f', 2);
}

QString display(const QVariant& v)
{
    if (v.isNull()) return {};
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return generalNumber(v.toDouble());
    case QMetaType::QDate:
        return QLocale().toString(v.toDate(), QLocale::ShortFormat);
    case QMetaType::QDateTime:
        return QLocale().toString(v.toDateTime(), QLocale::ShortFormat);
    default:
        return v.toString();
    }
}

} // namespace cad::values
