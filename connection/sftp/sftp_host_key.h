#pragma once
// A server's host key as OpenSSH's known_hosts judges it, and the writing of
// a trusted key into that file in OpenSSH's own format.

#include <QByteArray>
#include <QMetaType>
#include <QString>

namespace corvexo::sftp {

struct HostKeyFacts {
    enum class Known { Trusted, Unknown, Changed };
    Known known = Known::Unknown;
    QString host;                  // as connected to: the configuration's host name for an alias
    quint16 port = 22;
    QString keyType;               // as ssh-keygen -l names it: "ED25519", "ECDSA", "RSA"
    QString fingerprint;           // "SHA256:" and unpadded base64, as ssh-keygen -l prints it
    QString previousFingerprint;   // the known key's, when it changed
    QByteArray knownHostsLine;     // "[host]:port ssh-ed25519 AAAA..." without a line end
};

// ~/.ssh/known_hosts of the user running the program.
QString defaultKnownHostsPath();

// The short name ssh-keygen -l shows for a key algorithm ("ssh-ed25519" gives "ED25519").
QString keyTypeName(const QString &algorithm);

// Whether a fingerprint typed by a person names this key: "SHA256:" may be left out.
bool fingerprintMatches(const QString &typed, const QString &fingerprint);

// Adds the line at the end of the file (created, with its folder, when missing);
// every other line stays as it was. Empty on success, else the system's reason.
QString appendKnownHost(const QString &path, const QByteArray &line);

} // namespace corvexo::sftp

Q_DECLARE_METATYPE(corvexo::sftp::HostKeyFacts)
