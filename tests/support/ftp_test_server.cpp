#include "ftp_test_server.h"
#include "local_files.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace corvexo::testing {

bool FtpTestServer::start(const QStringList &extraArguments, const QString &script)
{
    if (!root_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return false;
    }
    QStringList arguments = {QStringLiteral(CORVEXO_TEST_SOURCE_DIR "/support/") + script,
                             QStringLiteral("--root"), root_.path()};
    arguments += extraArguments;
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(CORVEXO_TEST_PYTHON), arguments);
    if (!process_.waitForStarted(10000)) {
        error_ = QStringLiteral("python did not start: ") + process_.errorString();
        return false;
    }
    QDeadlineTimer deadline(15000);
    QByteArray line;
    while (!deadline.hasExpired() && !line.endsWith('\n')) {
        if (!process_.waitForReadyRead(int(deadline.remainingTime()))) break;
        line += process_.readLine();
    }
    if (!line.startsWith("PORT ")) {
        error_ = QStringLiteral("the FTP server did not come up: ") + QString::fromLocal8Bit(line);
        stop();
        return false;
    }
    port_ = quint16(line.mid(5).trimmed().toUInt());
    return port_ != 0;
}

void FtpTestServer::stop()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

bool FtpTestServer::writeFile(const QString &relativePath, const QByteArray &content)
{
    const QString path = pathOf(relativePath);
    return QDir().mkpath(QFileInfo(path).absolutePath()) && testing::writeFile(path, content);
}

QByteArray FtpTestServer::readFile(const QString &relativePath) const
{
    QFile file(pathOf(relativePath));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace corvexo::testing
