#pragma once
#include <QByteArray>
#include <QString>

namespace cad {

/// How far a replacement is pushed to the disk before writeDurably() returns.
enum class Durability
{
    /// The new content is on the disk when the call returns.
    Full,
    /// A crash or a power cut leaves either the old or the new content, both whole; the old one
    /// may come back (the folder's entry is not flushed).
    OldOrNew,
};

/// Replaces PATH's content with BYTES so that a crash or a power cut leaves either the old or
/// the new content: a temporary file beside it is written and flushed to the disk, renamed over
/// PATH, and (for Durability::Full) the folder is flushed. Creates the folder when missing.
/// Returns an empty text on success, else what failed.
[[nodiscard]] QString writeDurably(const QString& path, const QByteArray& bytes,
                                   Durability durability = Durability::Full);

/// Removes PATH (nothing to do when it is absent); a crash may bring it back whole.
/// Returns an empty text on success, else what failed.
[[nodiscard]] QString removeFile(const QString& path);

} // namespace cad
