#pragma once
// Small helpers shared by the HTTP test classes.
#include "http/CadHTTPError.h"

#include <QString>
#include <QStringList>

/// The message of the ECadHTTPError that work raises, or empty when it returns normally.
template <typename Work> QString httpError(Work&& work)
{
    try {
        work();
    } catch (const cad::ECadHTTPError& e) {
        return e.message();
    }
    return {};
}

/// Lines of a raw request, without the body.
inline QStringList headLines(const QByteArray& request)
{
    return QString::fromLatin1(request.left(request.indexOf("\r\n\r\n"))).split(QStringLiteral("\r\n"));
}
