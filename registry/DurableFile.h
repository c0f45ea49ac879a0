#pragma once
#include <QByteArray>
#include <QString>

namespace cad {

/// Replaces PATH's content with BYTES so that a crash or a power cut leaves either the old or
/// the new content: a temporary file beside it is written and flushed to the disk, renamed over
/// PATH, and the folder is flushed. Creates the folder when missing. Returns an empty text on
/// success, else what failed.
[[nodiscard]] QString writeDurably(const QString& path, const QByteArray& bytes);

} // namespace cad
