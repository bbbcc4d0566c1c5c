#include "sshd_test_server.h"
#include "local_files.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <pwd.h>
#include <unistd.h>

namespace corvexo::testing {

namespace {

quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

} // namespace

std::optional<QByteArray> SshdTestServer::run(const QString &program, const QStringList &arguments,
                                              const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

QString SshdTestServer::currentUser()
{
    const passwd *entry = ::getpwuid(::getuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

bool SshdTestServer::makeKey(const QString &path, const QString &passphrase)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral(".pub"));
    return run(QStringLiteral("ssh-keygen"), {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ed25519"),
                                              QStringLiteral("-N"), passphrase, QStringLiteral("-f"), path})
        .has_value();
}

bool SshdTestServer::start(const QStringList &extraConfig)
{
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return false;
    }
    // Another user (the password test's) must reach the served folder.
    QFile::setPermissions(dir_.path(), QFileDevice::Permissions(0x7755));
    QDir().mkpath(root());
    QFile::setPermissions(root(), QFileDevice::Permissions(0x7777));
    QDir().mkpath(QStringLiteral("/run/sshd"));
    if (!QFileInfo::exists(hostKeyPath()) && !makeKey(hostKeyPath())) {
        error_ = QStringLiteral("ssh-keygen failed");
        return false;
    }
    port_ = freePort();
    const QDir dir(dir_.path());
    QStringList config = {
        QStringLiteral("Port %1").arg(port_),
        QStringLiteral("ListenAddress 127.0.0.1"),
        QStringLiteral("HostKey ") + hostKeyPath(),
        QStringLiteral("PidFile ") + dir.filePath(QStringLiteral("sshd.pid")),
        QStringLiteral("AuthorizedKeysFile ") + dir.filePath(QStringLiteral("authorized_keys")),
        QStringLiteral("StrictModes no"),
        QStringLiteral("PermitRootLogin yes"),
        QStringLiteral("LogLevel VERBOSE"),
        QStringLiteral("Subsystem sftp internal-sftp -d ") + root(),
    };
    config += extraConfig;
    if (!extraConfig.contains(QStringLiteral("UsePAM yes"))) config += QStringLiteral("UsePAM no");
    QFile file(dir.filePath(QStringLiteral("sshd_config")));
    if (!file.open(QIODevice::WriteOnly) || file.write((config.join(u'\n') + u'\n').toUtf8()) < 0) {
        error_ = QStringLiteral("cannot write sshd_config");
        return false;
    }
    file.close();
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(QStringLiteral("/usr/sbin/sshd"),
                   {QStringLiteral("-D"), QStringLiteral("-e"), QStringLiteral("-f"), file.fileName()});
    if (!process_.waitForStarted(10000)) {
        error_ = QStringLiteral("sshd did not start: ") + process_.errorString();
        return false;
    }
    QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port_);
        if (probe.waitForConnected(500)) return true;
        if (process_.state() == QProcess::NotRunning) break;
        QThread::msleep(50);
    }
    error_ = QStringLiteral("sshd did not come up: ") + QString::fromLocal8Bit(process_.readAllStandardError());
    stop();
    return false;
}

void SshdTestServer::stop()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QByteArray SshdTestServer::knownHostsLine() const
{
    QFile key(hostKeyPath() + QStringLiteral(".pub"));
    if (!key.open(QIODevice::ReadOnly)) return {};
    const QList<QByteArray> fields = key.readAll().trimmed().split(' ');
    return QStringLiteral("[127.0.0.1]:%1 ").arg(port_).toUtf8() + fields.value(0) + ' ' + fields.value(1);
}

QString SshdTestServer::fingerprint() const
{
    const auto printed = run(QStringLiteral("ssh-keygen"), {QStringLiteral("-l"), QStringLiteral("-f"), hostKeyPath()});
    return printed ? QString::fromLatin1(printed->split(' ').value(1)) : QString();
}

bool SshdTestServer::authorize(const QString &keyPath)
{
    QFile key(keyPath + QStringLiteral(".pub"));
    QFile keys(QDir(dir_.path()).filePath(QStringLiteral("authorized_keys")));
    return key.open(QIODevice::ReadOnly) && keys.open(QIODevice::Append) && keys.write(key.readAll()) > 0;
}

QByteArray SshdTestServer::takeLog()
{
    return process_.readAllStandardError();
}

bool SshdTestServer::writeFile(const QString &relativePath, const QByteArray &content)
{
    const QString path = pathOf(relativePath);
    return QDir().mkpath(QFileInfo(path).absolutePath()) && testing::writeFile(path, content);
}

QByteArray SshdTestServer::readFile(const QString &relativePath) const
{
    QFile file(pathOf(relativePath));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace corvexo::testing
