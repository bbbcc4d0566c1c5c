#pragma once
// Hosts seen with TLS whose certificate the system trusted, by host and port:
// one line "host port" each in an owner-only file. With the certificates the
// user trusted, they tell a server that now refuses TLS from one that never had it.

#include <QString>

namespace corvexo::ftp {

class FtpTlsHosts {
public:
    // The file "tls_hosts" in the user's data folder.
    static QString defaultPath();

    // An empty path: the default one, looked up at each use.
    explicit FtpTlsHosts(QString path = {}) : path_(std::move(path)) {}

    bool contains(const QString &host, quint16 port) const;
    // Adds the host unless it is listed. False (with why) when the file cannot be
    // written; it then stays as it was.
    bool remember(const QString &host, quint16 port, QString *why = nullptr) const;

    QString path() const { return path_.isEmpty() ? defaultPath() : path_; }

private:
    QString path_;
};

} // namespace corvexo::ftp
