#include "sftp_host_key.h"

#include "files/file_writing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace corvexo::sftp {

QString defaultKnownHostsPath()
{
    return QDir::home().filePath(QStringLiteral(".ssh/known_hosts"));
}

QString keyTypeName(const QString &algorithm)
{
    if (algorithm == u"ssh-ed25519") return QStringLiteral("ED25519");
    if (algorithm.startsWith(u"ecdsa-")) return QStringLiteral("ECDSA");
    if (algorithm == u"ssh-rsa" || algorithm.startsWith(u"rsa-")) return QStringLiteral("RSA");
    if (algorithm == u"ssh-dss") return QStringLiteral("DSA");
    return algorithm;
}

bool fingerprintMatches(const QString &typed, const QString &fingerprint)
{
    const QString wanted = typed.trimmed();
    if (wanted.isEmpty()) return false;
    // Base64 is case-sensitive, the prefix is not.
    const QString bare = fingerprint.section(u':', 1);
    return wanted == bare || (wanted.section(u':', 0, 0).compare(u"SHA256", Qt::CaseInsensitive) == 0
                              && wanted.section(u':', 1) == bare);
}

QString appendKnownHost(const QString &path, const QByteArray &line)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder)) return QStringLiteral("Cannot create the folder %1").arg(folder);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    QByteArray content;
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly)) return existing.errorString();
        content = existing.readAll();
        if (existing.error() != QFileDevice::NoError) return existing.errorString();
    }
    if (!content.isEmpty() && !content.endsWith('\n')) content += '\n';
    content += line.trimmed() + '\n';
    return writeFileWhole(path, content);
}

} // namespace corvexo::sftp
