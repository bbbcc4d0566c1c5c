#pragma once
// Certificates the user chose to trust, by host and port: one line
// "host port fingerprint" each, in an owner-only file rewritten whole.

#include <QString>

namespace corvexo::ftp {

class FtpTrustStore {
public:
    // Far beyond any real list; a larger file is refused unread, like the settings files.
    static constexpr qint64 MaxFileBytes = 2 * 1024 * 1024;

    // The file "trusted_certificates" in the user's data folder.
    static QString defaultPath();

    // An empty path: the default one, looked up at each use.
    explicit FtpTrustStore(QString path = {}) : path_(std::move(path)) {}

    // The remembered fingerprint; empty when none (or the file is refused).
    QString fingerprintFor(const QString &host, quint16 port) const;
    // Replaces the host's fingerprint. False (with why) when the file cannot be written
    // or is refused; the old file then stays as it was.
    bool remember(const QString &host, quint16 port, const QString &fingerprint, QString *why = nullptr) const;

    QString path() const { return path_.isEmpty() ? defaultPath() : path_; }

private:
    // The whole file; false (with why) when it cannot be read or is too large.
    bool readWhole(QByteArray &bytes, QString *why = nullptr) const;

    QString path_;
};

} // namespace corvexo::ftp
