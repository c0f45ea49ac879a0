#pragma once
// Counting the pages of a PDF written by the report engine, without a PDF reader.
#include <QFile>
#include <QRegularExpression>

namespace testsupport {

/// Pages of the PDF file PATH (its page objects); -1 when the file cannot be read.
inline int pdfPageCount(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QString text = QString::fromLatin1(f.readAll());
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return int(text.count(page));
}

} // namespace testsupport
