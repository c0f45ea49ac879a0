#include "core/DigitsOnly.h"

namespace cad {

QString DigitsOnly(const QString& text)
{
    QString digits;
    digits.reserve(text.size());
    for (const QChar c : text)
        if (c >= u'0' && c <= u'9') digits.append(c);
    return digits;
}

namespace {

bool isLetterAZ(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

} // namespace

QString LettersAndDigits(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9')
            kept.append(c);
        else if (isLetterAZ(c))
            kept.append(c.toUpper());
    }
    return kept;
}

bool HasLetterAZ(const QString& text)
{
    for (const QChar c : text)
        if (isLetterAZ(c)) return true;
    return false;
}

QString DocumentKey(const QString& text)
{
    const QString kept = LettersAndDigits(text);
    return kept.size() == 14 ? kept : DigitsOnly(text);
}

} // namespace cad
