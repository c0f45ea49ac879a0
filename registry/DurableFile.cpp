#include "registry/DurableFile.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace cad {

namespace {

QString failure(const char* step, const QString& path)
{
    return QStringLiteral("%1 %2: %3")
        .arg(QLatin1String(step), path, QString::fromLocal8Bit(std::strerror(errno)));
}

bool writeAll(int fd, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

} // namespace

QString writeDurably(const QString& path, const QByteArray& bytes, Durability durability)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) return failure("mkdir", folder);
    const QString temporary = path + QStringLiteral(".tmp");
    const QByteArray tmp = QFile::encodeName(temporary);
    const int fd = ::open(tmp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return failure("open", temporary);
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        const QString why = failure("write", temporary);
        ::close(fd);
        ::unlink(tmp.constData());
        return why;
    }
    if (::close(fd) != 0) return failure("close", temporary);
    if (::rename(tmp.constData(), QFile::encodeName(path).constData()) != 0) {
        const QString why = failure("rename", temporary);
        ::unlink(tmp.constData());
        return why;
    }
    // The rename itself is only durable once the folder's entry is on the disk.
    if (durability == Durability::OldOrNew) return {};
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return failure("open", folder);
    const bool synced = ::fsync(dir) == 0;
    const QString why = synced ? QString() : failure("fsync", folder);
    ::close(dir);
    return why;
}

QString removeFile(const QString& path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT) return failure("unlink", path);
    return {};
}

} // namespace cad
