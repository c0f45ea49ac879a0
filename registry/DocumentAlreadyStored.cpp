#include "registry/DocumentAlreadyStored.h"

#include "core/DigitsOnly.h"

namespace cad {

bool DocumentAlreadyStored(RecordSet& lookup, const QString& d)
{
    lookup.close();
    if (HasLetterAZ(d)) {
        // Read as a number "12ABC..." would be 12, so a document with letters is compared as text
        // with the letters and digits of each stored one (the column's collation ignores case).
        // A LIKE of its characters in order, cheaper than the rewrite, narrows the rows the rewrite
        // runs on; D holds only A-Z and 0-9, so it carries no wildcard.
        QString spread = QStringLiteral("%");
        for (const QChar c : d)
            spread += c + QStringLiteral("%");
        lookup.setSql(QStringLiteral("SELECT * FROM fornecedor WHERE Cgccpf LIKE :spread"
                                     " AND REGEXP_REPLACE(Cgccpf, '[^0-9A-Za-z]', '') = :document"));
        lookup.setParam(QStringLiteral("spread"), spread);
        lookup.setParam(QStringLiteral("document"), d);
    } else {
        // Compared as numbers by the server: digits stored with punctuation do not match.
        lookup.setSql(QStringLiteral("SELECT * FROM fornecedor WHERE Cgccpf = :digits"));
        lookup.setParam(QStringLiteral("digits"), d.toDouble());
    }
    lookup.open();
    const bool stored = !lookup.isEmpty();
    lookup.close();
    return stored;
}

} // namespace cad
