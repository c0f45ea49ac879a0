#include "taxpayer/FormValue.h"

namespace cad {

QString FormValue(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'%')
            out += QStringLiteral("%25");
        else if (c == u'&')
            out += QStringLiteral("%26");
        else if (c == u'+')
            out += QStringLiteral("%2B");
        else
            out += c;
    }
    return out;
}

} // namespace cad
