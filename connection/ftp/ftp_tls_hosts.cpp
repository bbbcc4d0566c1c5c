#include "ftp_tls_hosts.h"

#include "files/file_writing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace corvexo::ftp {

namespace {

QByteArray lineOf(const QString &host, quint16 port)
{
    return host.toLower().toUtf8() + ' ' + QByteArray::number(port);
}

// Empty when the file is missing; nothing when it is there but cannot be read (why says why).
std::optional<QByteArray> contentOf(const QString &path, QString *why = nullptr)
{
    QFile file(path);
    if (!file.exists()) return QByteArray();
    if (!file.open(QIODevice::ReadOnly)) {
        if (why) *why = file.errorString();
        return std::nullopt;
    }
    return file.readAll();
}

} // namespace

QString FtpTlsHosts::defaultPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(folder).filePath(QStringLiteral("tls_hosts"));
}

bool FtpTlsHosts::contains(const QString &host, quint16 port) const
{
    return contentOf(path()).value_or(QByteArray()).split('\n').contains(lineOf(host, port));
}

bool FtpTlsHosts::remember(const QString &host, quint16 port, QString *why) const
{
    // A file that cannot be read is not replaced: the hosts in it would be lost.
    std::optional<QByteArray> old = contentOf(path(), why);
    if (!old) return false;
    QByteArray content = *old;
    if (content.split('\n').contains(lineOf(host, port))) return true;
    if (!content.isEmpty() && !content.endsWith('\n')) content += '\n';
    content += lineOf(host, port) + '\n';
    QDir().mkpath(QFileInfo(path()).absolutePath());
    const QString failure = writeFileWhole(path(), content, true);
    if (why) *why = failure;
    return failure.isEmpty();
}

} // namespace corvexo::ftp
