#include "core/TextRoutines.h"

#include <QList>

#include <array>
#include <optional>
#include <utility>

namespace cad {

namespace {

// Windows-1252 bytes 0x80..0x9F; the five bytes the code page leaves undefined keep their C1 value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The code-page character for a Unicode code point, or "?" when the code page lacks it.
QChar toCodePage(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return QChar(char16_t(cp));
    for (char16_t c : kHighControls)
        if (c == cp) return QChar(c);
    return QLatin1Char('?');
}

// Strict UTF-8 decoding straight into code-page characters; nullopt when malformed.
std::optional<QString> decodeUtf8(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b < 0x80) {
            out.append(QChar(char16_t(b)));
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, cp = b & 0x1F, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, cp = b & 0x0F, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, cp = b & 0x07, min = 0x10000;
        } else {
            return std::nullopt;
        }
        if (i + extra >= n) return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return std::nullopt;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
        out.append(toCodePage(cp));
        i += extra + 1;
    }
    return out;
}

} // namespace

QString FromSingleByte(const QByteArray& bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *d++ = (b >= 0x80 && b < 0xA0) ? QChar(kHighControls[b - 0x80]) : QChar(char16_t(b));
    }
    return out;
}

QByteArray ToSingleByte(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.append(char(c));
            continue;
        }
        char b = '?';
        for (std::size_t k = 0; k < kHighControls.size(); ++k)
            if (kHighControls[k] == c) b = char(0x80 + k);
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i; // one "?" per character, not per UTF-16 unit
        out.append(b);
    }
    return out;
}

QString Utf8ToSingleByte(const QString& text)
{
    const std::optional<QString> converted = decodeUtf8(ToSingleByte(text));
    return converted && !converted->isEmpty() ? *converted : text;
}

QString Utf8BytesToSingleByte(const QByteArray& bytes)
{
    const std::optional<QString> converted = decodeUtf8(bytes);
    return converted && !converted->isEmpty() ? *converted : FromSingleByte(bytes);
}

QString DecodeEntities(const QString& text)
{
    static const std::pair<const char*, const char16_t*> kEntities[] = {
        {"&amp;", u"&"},         {"&lt;", u"<"},          {"&gt;", u">"},          {"&quot;", u"\""},
        {"&#39;", u"'"},         {"&#45;", u"-"},         {"&aacute;", u"\u00E1"}, {"&Aacute;", u"\u00C1"},
        {"&acirc;", u"\u00E2"},  {"&Acirc;", u"\u00C2"},  {"&atilde;", u"\u00E3"}, {"&Atilde;", u"\u00C3"},
        {"&agrave;", u"\u00E0"}, {"&Agrave;", u"\u00C0"}, {"&eacute;", u"\u00E9"}, {"&Eacute;", u"\u00C9"},
        {"&ecirc;", u"\u00EA"},  {"&Ecirc;", u"\u00CA"},  {"&iacute;", u"\u00ED"}, {"&Iacute;", u"\u00CD"},
        {"&oacute;", u"\u00F3"}, {"&Oacute;", u"\u00D3"}, {"&otilde;", u"\u00F5"}, {"&Otilde;", u"\u00D5"},
        {"&ocirc;", u"\u00F4"},  {"&Ocirc;", u"\u00D4"},  {"&uacute;", u"\u00FA"}, {"&Uacute;", u"\u00DA"},
        {"&uuml;", u"\u00FC"},   {"&Uuml;", u"\u00DC"},   {"&ccedil;", u"\u00E7"}, {"&Ccedil;", u"\u00C7"},
        {"&apos;", u"'"},
    };
    QString out = text;
    for (const auto& [entity, character] : kEntities)
        out.replace(QLatin1String(entity), QString::fromUtf16(character));
    return out;
}

QString StripTags(const QString& text)
{
    // Each ">" that has a "<" before it removes from the nearest such "<" through itself; the
    // stack holds the positions of the "<" still in the output.
    QString out;
    out.reserve(text.size());
    QList<qsizetype> open;
    for (QChar c : text) {
        if (c == QLatin1Char('>') && !open.isEmpty()) {
            out.truncate(open.takeLast());
            continue;
        }
        if (c == QLatin1Char('<')) open.append(out.size());
        out.append(c);
    }
    return out;
}

QString UpperAZ(QString text)
{
    for (QChar& c : text)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    return text;
}

QString TrimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= ' ')
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= ' ')
        --end;
    return begin == 0 && end == text.size() ? text : text.mid(begin, end - begin);
}

QString CollapseSpaces(const QString& text)
{
    const QString trimmed = TrimBlanks(text);
    QString out;
    out.reserve(trimmed.size());
    for (const QChar c : trimmed) {
        if (c == QLatin1Char(' ') && out.endsWith(QLatin1Char(' '))) continue;
        out.append(c);
    }
    return out;
}

} // namespace cad
