#pragma once
// The user's OpenSSH client configuration (~/.ssh/config) as ssh reads it for
// one host text: Host blocks with their patterns ("*", "?", "!" negation),
// the first value of each keyword winning, and the keywords a file transfer
// needs: HostName, Port, User and IdentityFile. Match blocks and Include are
// passed over.

#include "connection/transfer_session.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace corvexo::sftp {

struct SshHostConfig {
    QString hostName;                 // empty: the host text itself
    std::optional<quint16> port;
    QString user;
    QStringList identityFiles;        // in the file's order, "~" and "%d", "%h", "%u" expanded
    friend bool operator==(const SshHostConfig &, const SshHostConfig &) = default;
};

// ~/.ssh/config of the user running the program.
QString defaultSshConfigPath();

// Whether a host matches a Host line's patterns: one plain pattern matching and
// no negated one ("!name") matching; case is not significant.
bool sshHostPatternsMatch(const QStringList &patterns, const QString &host);

// What the configuration text says for the host. home and localUser expand "~", "%d" and "%u".
SshHostConfig sshConfigFor(const QString &host, const QString &configText, const QString &home,
                           const QString &localUser);

// The file at path read for the host; nothing set when it cannot be read.
SshHostConfig readSshConfigFor(const QString &host, const QString &path);

// The login as ssh would make it: the configuration names the real host, and its port
// and user count where the setting left the protocol's own port or no user (the
// window logs in as "Anonymous" then, which means nothing to an SSH server).
SessionLogin withSshConfig(const SessionLogin &login, const SshHostConfig &config);

} // namespace corvexo::sftp
