#include "registry/PendingCopies.h"

#include "core/Clock.h"
#include "data/Connection.h"
#include "registry/DurableFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

namespace cad {

namespace {

// One line per supplier: code, time, name and error separated by tabs (none inside a value).
constexpr char kSeparator = '\t';

QString oneLine(QString text)
{
    static const QRegularExpression breaks(QStringLiteral("[\\t\\r\\n]+"));
    return text.replace(breaks, QStringLiteral(" "));
}

} // namespace

PendingCopies::PendingCopies(QString path, QObject* parent) : QObject(parent), m_path(std::move(path))
{
    load();
}

QString PendingCopies::defaultPath(const ConnectionSettings& local)
{
    // One list per local database: the codes it holds belong to that database.
    QString id = QStringLiteral("%1_%2_%3").arg(local.host, QString::number(local.port), local.database);
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._-]"));
    id.replace(unsafe, QStringLiteral("_"));
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty()) folder = QCoreApplication::applicationDirPath(); // no home folder
    return folder + QStringLiteral("/cadastro-fornecedor/copias-pendentes_") + id + QStringLiteral(".txt");
}

void PendingCopies::load()
{
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly)) return;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(kSeparator);
        bool ok = false;
        const qlonglong code = parts.value(0).toLongLong(&ok);
        if (!ok || parts.size() != 4 || contains(code)) continue;
        m_entries.push_back({code, QString::fromUtf8(parts[2]), QString::fromUtf8(parts[3]),
                             QDateTime::fromString(QString::fromLatin1(parts[1]), Qt::ISODate)});
    }
}

bool PendingCopies::save(Durability durability)
{
    QByteArray bytes;
    for (const Entry& e : m_entries)
        bytes += QByteArray::number(e.code) + kSeparator + e.when.toString(Qt::ISODate).toLatin1() +
                 kSeparator + oneLine(e.name).toUtf8() + kSeparator + oneLine(e.error).toUtf8() + '\n';
    // An empty list is no file; like a removal whose folder entry is not yet on the disk, a crash
    // can only bring back entries already copied, and copying them again is harmless. After a
    // failed write the file may lack an addition: the next write is whole.
    if (!m_writeError.isEmpty()) durability = Durability::Full;
    m_writeError = m_entries.empty() ? removeFile(m_path) : writeDurably(m_path, bytes, durability);
    m_unsaved = !m_writeError.isEmpty();
    return m_writeError.isEmpty();
}

const PendingCopies::Entry* PendingCopies::find(qlonglong code) const
{
    for (const Entry& e : m_entries)
        if (e.code == code) return &e;
    return nullptr;
}

bool PendingCopies::keep(qlonglong code, const QString& name, const QString& error)
{
    const Entry entry{code, name, error, clock::now()};
    if (const Entry* old = find(code))
        m_entries[size_t(old - m_entries.data())] = entry;
    else
        m_entries.push_back(entry);
    const bool saved = save(Durability::Full); // at once and whole: this entry must not be lost
    Q_EMIT changed();
    return saved;
}

bool PendingCopies::forget(qlonglong code)
{
    const Entry* e = find(code);
    if (!e) return true;
    m_entries.erase(m_entries.begin() + (e - m_entries.data()));
    m_unsaved = true;
    if (m_batch) return true; // told at the batch's end
    const bool saved = save(Durability::OldOrNew);
    Q_EMIT changed();
    return saved;
}

bool PendingCopies::endBatch()
{
    m_batch = false;
    if (!m_unsaved) return true;
    const bool saved = save(Durability::OldOrNew);
    Q_EMIT changed();
    return saved;
}

} // namespace cad
