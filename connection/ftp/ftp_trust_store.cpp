#include "ftp_trust_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace corvexo::ftp {

namespace {

QByteArray keyOf(const QString &host, quint16 port)
{
    return host.toLower().toUtf8() + ' ' + QByteArray::number(port) + ' ';
}

} // namespace

QString FtpTrustStore::defaultPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(folder).filePath(QStringLiteral("trusted_certificates"));
}

QString FtpTrustStore::fingerprintFor(const QString &host, quint16 port) const
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray key = keyOf(host, port);
    for (const QByteArray &line : file.readAll().split('\n'))
        if (line.startsWith(key)) return QString::fromUtf8(line.mid(key.size()).trimmed());
    return {};
}

bool FtpTrustStore::remember(const QString &host, quint16 port, const QString &fingerprint, QString *why) const
{
    const QByteArray key = keyOf(host, port);
    QByteArray kept;
    QFile old(path());
    if (old.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : old.readAll().split('\n'))
            if (!line.isEmpty() && !line.startsWith(key)) kept += line + '\n';
    }
    kept += key + fingerprint.toUtf8() + '\n';
    QDir().mkpath(QFileInfo(path()).absolutePath());
    QSaveFile file(path());
    // The buffer is flushed and checked by hand: commit() does not notice a failed flush.
    const bool written = file.open(QIODevice::WriteOnly)
        && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        && file.write(kept) == kept.size() && file.flush() && file.commit();
    if (!written) {
        if (why) *why = file.errorString();
        file.cancelWriting();
    }
    return written;
}

} // namespace corvexo::ftp
