#pragma once
// The SSH connection under an SFTP session: connects, reports the server's
// host key as OpenSSH's known_hosts judges it, and opens the SFTP channel.
// Blocking; used only on the session's worker thread.

#include "connection/transfer_session.h"
#include "sftp_host_key.h"

#include <QString>
#include <atomic>

#include <libssh/libssh.h>

namespace corvexo::sftp {

class SshConnection {
public:
    SshConnection();
    ~SshConnection();
    SshConnection(const SshConnection &) = delete;
    SshConnection &operator=(const SshConnection &) = delete;

    // Connects and completes the key exchange; false with errorText() otherwise.
    bool connectTo(const SessionLogin &login, const QString &knownHostsPath, int timeoutSeconds);
    HostKeyFacts hostKey() const;

    // Opens a channel with the "sftp" subsystem; nullptr with errorText() otherwise.
    ssh_channel openSftpChannel();

    // Ends blocked calls at once, from any thread: the socket is shut down.
    void interrupt();

    ssh_session handle() const { return session_; }
    bool isConnected() const { return ssh_is_connected(session_) != 0; }
    QString cipher() const;
    QString errorText() const { return error_; }

private:
    ssh_session session_;
    ssh_channel channel_ = nullptr;
    std::atomic<int> socket_ {-1};
    QString error_;
    QString knownHostsPath_;
    QString host_;
    quint16 port_ = 22;
};

} // namespace corvexo::sftp
