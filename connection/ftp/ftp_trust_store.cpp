#include "ftp_trust_store.h"

#include "files/file_writing.h"
#include "ftp_messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

bool FtpTrustStore::readWhole(QByteArray &bytes, QString *why) const
{
    QFile file(path());
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (why) *why = file.errorString();
        return false;
    }
    bytes = file.read(MaxFileBytes + 1);
    if (bytes.size() <= MaxFileBytes) return true;
    bytes.clear();
    if (why) *why = engineText(EngineText::TrustFileTooLarge).arg(MaxFileBytes);
    return false;
}

QString FtpTrustStore::fingerprintFor(const QString &host, quint16 port) const
{
    QByteArray bytes;
    if (!readWhole(bytes)) return {};
    const QByteArray key = keyOf(host, port);
    for (const QByteArray &line : bytes.split('\n'))
        if (line.startsWith(key)) return QString::fromUtf8(line.mid(key.size()).trimmed());
    return {};
}

bool FtpTrustStore::remember(const QString &host, quint16 port, const QString &fingerprint, QString *why) const
{
    const QByteArray key = keyOf(host, port);
    QByteArray old;
    if (!readWhole(old, why) && QFileInfo(path()).isFile()) return false;   // kept as it is
    QByteArray kept;
    for (const QByteArray &line : old.split('\n'))
        if (!line.isEmpty() && !line.startsWith(key)) kept += line + '\n';
    kept += key + fingerprint.toUtf8() + '\n';
    QDir().mkpath(QFileInfo(path()).absolutePath());
    const QString failure = writeFileWhole(path(), kept, true);
    if (!failure.isEmpty() && why) *why = failure;
    return failure.isEmpty();
}

} // namespace corvexo::ftp
