#include "http/HttpResponseText.h"

#include "core/TextRoutines.h"

namespace cad {

namespace {

constexpr qsizetype kWrapWidth = 80;
constexpr int kMaxWrappedLines = 20;

// Every line of the bytes ended by CR LF, whatever line end it had.
QByteArray withCrLfLineEnds(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 32 + 2);
    const char* p = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] != '\r' && p[i] != '\n') continue;
        out.append(p + start, i - start).append("\r\n");
        if (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) out.append(p + start, n - start).append("\r\n");
    return out;
}

} // namespace

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.append(text.mid(start));
    return lines;
}

bool looksUtf8(const QByteArray& text, const QString& contentType)
{
    const QString type = contentType.toLower();
    if (type.contains(QLatin1String("utf-8"))) return true;
    if (type.contains(QLatin1String("xhtml+xml"))) {
        const QByteArray start = text.left(50).toLower();
        const qsizetype encoding = start.indexOf("encoding");
        return encoding >= 0 && start.indexOf("utf-8", encoding) >= 0;
    }
    if (type.contains(QLatin1String("html"))) {
        const QByteArray lower = text.toLower();
        const qsizetype head = lower.indexOf("<head>");
        const qsizetype headEnd = head < 0 ? -1 : lower.indexOf("</head>", head);
        return headEnd >= 0 && lower.mid(head, headEnd - head).contains("charset=\"utf-8\"");
    }
    return false;
}

QStringList responseLines(const QByteArray& body, const QString& contentType, bool forceUtf8, bool parseText)
{
    const QByteArray text = withCrLfLineEnds(body);
    QString converted =
        forceUtf8 || looksUtf8(text, contentType) ? Utf8BytesToSingleByte(text) : FromSingleByte(text);
    if (parseText) converted = DecodeEntities(converted);
    return splitLines(converted);
}

QString httpErrorMessage(int status, const QString& reason, int socketCode, const QString& socketText,
                         const QString& url, const QString& responseText)
{
    QString wrapped;
    int count = 0;
    for (const QString& line : splitLines(responseText)) {
        qsizetype pos = 0;
        do {
            if (count == kMaxWrappedLines) break;
            qsizetype width = kWrapWidth;
            const QString piece = line.mid(pos, width);
            // A tag opener is kept with what follows rather than left dangling at a line's end.
            if (pos + width < line.size() &&
                (piece.endsWith(QLatin1Char('<')) || piece.endsWith(QLatin1String("</"))))
                width += 2;
            wrapped += line.mid(pos, width) + QLatin1Char('\n');
            ++count;
            pos += width;
        } while (pos < line.size());
    }
    return QStringLiteral("Erro HTTP: %1 %2\r\nSocket Error: %3 %4\r\nURL: %5\r\n\r\nResposta HTTP:\r\n%6")
        .arg(QString::number(status), reason, QString::number(socketCode), socketText, url, wrapped);
}

} // namespace cad
