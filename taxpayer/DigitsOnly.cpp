#include "taxpayer/DigitsOnly.h"

QString DigitsOnly(const QString& text)
{
    QString digits;
    digits.reserve(text.size());
    for (const QChar c : text)
        if (c >= u'0' && c <= u'9') digits.append(c);
    return digits;
}
