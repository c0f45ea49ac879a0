#pragma once
#include "registry/DurableFile.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <vector>

namespace cad {

struct ConnectionSettings;

/// The suppliers whose copy to the central table failed and is still owed, one entry per
/// supplier code, kept in a file that survives the program's end, a crash and a power cut.
/// An addition is on disk (written, flushed, renamed over the old file, folder flushed) before the
/// call returns. A removal is written without waiting for the folder, or deferred to a batch's end:
/// a crash may bring back a removed entry, never lose a kept one. An empty list is no file.
class PendingCopies : public QObject
{
    Q_OBJECT
public:
    struct Entry
    {
        qlonglong code = 0;
        QString name;  ///< the supplier's company name when the copy failed
        QString error; ///< the last failure's message
        QDateTime when;
    };

    /// Reads PATH when it exists; a line that cannot be read is skipped.
    explicit PendingCopies(QString path, QObject* parent = nullptr);

    /// The file for the store's local database LOCAL, in the user's data folder.
    [[nodiscard]] static QString defaultPath(const ConnectionSettings& local);

    [[nodiscard]] const QString& path() const { return m_path; }
    [[nodiscard]] const std::vector<Entry>& entries() const { return m_entries; }
    [[nodiscard]] int count() const { return int(m_entries.size()); }
    [[nodiscard]] bool contains(qlonglong code) const { return find(code) != nullptr; }
    /// CODE's entry, or null.
    [[nodiscard]] const Entry* find(qlonglong code) const;

    /// Adds CODE, or replaces its name and error. False when the file could not be written
    /// (the entry is still kept in memory).
    bool keep(qlonglong code, const QString& name, const QString& error);
    /// Removes CODE when present.
    bool forget(qlonglong code);

    /// Removals inside a batch reach the file, and changed() is emitted, when the batch ends (or
    /// with the next addition): a removal lost in a crash only repeats a copy. Batches do not nest.
    void beginBatch() { m_batch = true; }
    bool endBatch();

    /// The last failure to write the file (empty when the last write succeeded): the entries are
    /// then kept in memory only.
    [[nodiscard]] const QString& writeError() const { return m_writeError; }

Q_SIGNALS:
    void changed();

private:
    void load();
    bool save(Durability durability);

    QString m_path;
    std::vector<Entry> m_entries;
    bool m_batch = false;
    bool m_unsaved = false;
    QString m_writeError;
};

} // namespace cad
