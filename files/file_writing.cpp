#include "file_writing.h"

#include <QFile>
#include <QHash>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvexo {

namespace {

QString reasonOf(const QSaveFile &file, const QString &path)
{
    if (QFileInfo(path).isDir()) return QStringLiteral("Is a directory");
    const QString reason = file.errorString();
    return reason.isEmpty() ? QStringLiteral("Unknown error") : reason;
}

} // namespace

bool openForWriting(QSaveFile &file, bool ownerOnly)
{
    if (QFileInfo(file.fileName()).isDir()) return false;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    // An uncommitted save file is discarded when it goes, so a refusal needs no clean-up.
    return !ownerOnly || file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool writeAll(QIODevice &device, const char *data, qint64 size)
{
    // A nearly full disk takes part of a write without an error; the next write gives the reason.
    for (qint64 written = 0; written < size;) {
        const qint64 n = device.write(data + written, size - written);
        if (n <= 0) return false;
        written += n;
    }
    return true;
}

bool commitChecked(QSaveFile &file)
{
    if (!file.flush() || file.error() != QFileDevice::NoError) return false;
    return file.commit();
}

QString writeFileWhole(const QString &path, const QByteArray &bytes, bool ownerOnly)
{
    QSaveFile file(path);
    if (!openForWriting(file, ownerOnly)) return reasonOf(file, path);
    if (!writeAll(file, bytes.constData(), bytes.size()) || !commitChecked(file)) return reasonOf(file, path);
    return {};
}

bool openContinuing(QFile &file, qint64 keepBytes)
{
    if (QFileInfo(file.fileName()).isDir()) return false;
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) return false;
    const qint64 keep = std::min(file.size(), std::max<qint64>(keepBytes, 0));
    // A truncation to nothing makes ext4 write the file out at its close: only when bytes go.
    return (file.size() == keep || file.resize(keep)) && file.seek(keep);
}

QStringList moveIntoPlaceDurably(const QList<std::pair<QString, QString>> &moves)
{
    const auto systemReason = [] { return QString::fromLocal8Bit(std::strerror(errno)); };
    QStringList reasons;
    QHash<dev_t, QString> synced;   // file system -> why its sync failed (empty: it did not)
    for (const auto &[from, to] : moves) {
        const QByteArray source = QFile::encodeName(from);
        struct stat info {};
        if (::stat(source.constData(), &info) != 0) {
            reasons << systemReason();
            continue;
        }
        if (!synced.contains(info.st_dev)) {
            const int fd = ::open(source.constData(), O_RDONLY | O_CLOEXEC);
            const bool ok = fd >= 0 && ::syncfs(fd) == 0;
            synced.insert(info.st_dev, ok ? QString() : systemReason());
            if (fd >= 0) ::close(fd);
        }
        if (!synced[info.st_dev].isEmpty()) {
            reasons << synced[info.st_dev];
        } else if (QFileInfo(to).isDir()) {
            reasons << QStringLiteral("Is a directory");
        } else {
            // rename() replaces the target at once: there is no moment without either file.
            const bool moved = std::rename(source.constData(), QFile::encodeName(to).constData()) == 0;
            reasons << (moved ? QString() : systemReason());
        }
    }
    return reasons;
}

void ignoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace corvexo
