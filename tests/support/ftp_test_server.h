#pragma once
// A real FTP server (pyftpdlib) on 127.0.0.1 for one test: started on a free
// port, serving a temporary folder, stopped when the object goes.

#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace corvexo::testing {

class FtpTestServer {
public:
    FtpTestServer() = default;
    ~FtpTestServer() { stop(); }

    // Starts the server; extra arguments such as "--no-mlsd" or "--port", "21".
    // Returns false (with errorText()) when it does not come up. script: another
    // server script of tests/support that speaks the same way.
    bool start(const QStringList &extraArguments = {}, const QString &script = QStringLiteral("ftp_server.py"));
    void stop();   // kills the server at once (used to break connections)

    quint16 port() const { return port_; }
    QString root() const { return root_.path(); }   // the served folder
    QString user() const { return QStringLiteral("user"); }
    QString password() const { return QStringLiteral("secret"); }
    QString errorText() const { return error_; }

    // Writes a file under the served folder (folders are created).
    bool writeFile(const QString &relativePath, const QByteArray &content);
    QByteArray readFile(const QString &relativePath) const;
    bool makeFolder(const QString &relativePath) { return QDir().mkpath(pathOf(relativePath)); }
    QString pathOf(const QString &relativePath) const { return QDir(root_.path()).filePath(relativePath); }
    // What the server printed since the last call (with --log-commands: "CMD USER" lines).
    QByteArray takeOutput()
    {
        process_.waitForReadyRead(200);
        return process_.readAllStandardOutput();
    }

private:
    QTemporaryDir root_;
    QProcess process_;
    quint16 port_ = 0;
    QString error_;
};

} // namespace corvexo::testing
