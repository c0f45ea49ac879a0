#pragma once
// Turning a response body into text lines, and the wording of the client's error.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace cad {

/// Text split at CR LF, lone LF or lone CR; a final line end adds no empty line.
[[nodiscard]] QStringList splitLines(const QString& text);

/// Whether the body (its lines each ended by CR LF) is UTF-8, judged by the Content-Type value
/// and, for (X)HTML, by the encoding the document declares.
[[nodiscard]] bool looksUtf8(const QByteArray& text, const QString& contentType);

/// The body as lines in the single-byte code page: UTF-8 converted when detected (or when
/// forceUtf8), entities replaced when parseText.
[[nodiscard]] QStringList responseLines(const QByteArray& body, const QString& contentType, bool forceUtf8,
                                        bool parseText);

/// The message of ECadHTTPError: status, transport error, URL and the response text wrapped into
/// at most 20 lines of about 80 characters.
[[nodiscard]] QString httpErrorMessage(int status, const QString& reason, int socketCode,
                                       const QString& socketText, const QString& url,
                                       const QString& responseText);

} // namespace cad
