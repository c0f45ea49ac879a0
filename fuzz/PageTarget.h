#pragma once
// A federal registry page reader under fuzzing: any input, as the answer's text after a query.
#include "core/TextRoutines.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

/// Reads DATA with a fresh LOOKUP component (no address file); FAILURE, its error for the service's
/// messages and for a page without the data, ends the read. Odd sizes read without collapsing blanks.
template <typename Lookup, typename Failure> void readPage(const uint8_t* data, size_t size)
{
    const QString text =
        cad::FromSingleByte(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    Lookup lookup(QStringLiteral("/nonexistent/servicos.ini"));
    try {
        lookup.ReadPage(text, size % 2 == 0);
    } catch (const Failure&) {
    }
}
