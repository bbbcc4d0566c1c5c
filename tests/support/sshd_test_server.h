#pragma once
// A real OpenSSH server (/usr/sbin/sshd) on 127.0.0.1 for one test: its own
// configuration, host key, authorized keys and served folder in a temporary
// folder, started on a free port, stopped when the object goes. Its SFTP
// sessions begin in the served folder.

#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

namespace corvexo::testing {

class SshdTestServer {
public:
    SshdTestServer() = default;
    ~SshdTestServer() { stop(); }

    // extraConfig: more sshd_config lines ("UsePAM yes"). False (with errorText()) when it does not come up.
    bool start(const QStringList &extraConfig = {});
    void stop();

    quint16 port() const { return port_; }
    QString root() const { return QDir(dir_.path()).filePath(QStringLiteral("root")); }
    QString pathOf(const QString &relativePath) const { return QDir(root()).filePath(relativePath); }
    QString hostKeyPath() const { return QDir(dir_.path()).filePath(QStringLiteral("host_key")); }
    QString errorText() const { return error_; }
    // The known_hosts line for this server, as ssh-keyscan would give it.
    QByteArray knownHostsLine() const;
    // The SHA256 fingerprint of the host key, as ssh-keygen -l prints it.
    QString fingerprint() const;
    // Lets the public key of keyPath log in.
    bool authorize(const QString &keyPath);
    // What sshd wrote to its log (-e) since the last call.
    QByteArray takeLog();

    bool writeFile(const QString &relativePath, const QByteArray &content);
    QByteArray readFile(const QString &relativePath) const;

    // The user the tests run as.
    static QString currentUser();
    // Makes an ed25519 key pair at path (and path.pub); an empty passphrase leaves it unencrypted.
    static bool makeKey(const QString &path, const QString &passphrase = {});
    // Runs a program to its end; its standard output, or nothing when it failed.
    static std::optional<QByteArray> run(const QString &program, const QStringList &arguments,
                                         const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

private:
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
    QString error_;
};

} // namespace corvexo::testing
