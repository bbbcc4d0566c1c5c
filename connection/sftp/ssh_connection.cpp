#include "ssh_connection.h"

#include "sftp_messages.h"

#include <QFile>
#include <mutex>
#include <sys/socket.h>

namespace corvexo::sftp {

namespace {

void initialiseLibraryOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { ssh_init(); });
}

QString fingerprintOf(ssh_key key)
{
    unsigned char *hash = nullptr;
    size_t length = 0;
    if (ssh_get_publickey_hash(key, SSH_PUBLICKEY_HASH_SHA256, &hash, &length) != SSH_OK) return {};
    char *text = ssh_get_fingerprint_hash(SSH_PUBLICKEY_HASH_SHA256, hash, length);
    const QString fingerprint = QString::fromLatin1(text);
    ssh_string_free_char(text);
    ssh_clean_pubkey_hash(&hash);
    return fingerprint;
}

// The fingerprint of the first key known_hosts holds for the host, hashed entries included.
QString knownFingerprint(const QString &knownHostsPath, const QString &host, quint16 port)
{
    QFile file(knownHostsPath);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray name = port == 22 ? host.toUtf8() : QStringLiteral("[%1]:%2").arg(host).arg(port).toUtf8();
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#') || line.startsWith('@')) continue;
        ssh_knownhosts_entry *entry = nullptr;
        if (ssh_known_hosts_parse_line(name.constData(), line.constData(), &entry) != SSH_OK || !entry) continue;
        const QString fingerprint = entry->publickey ? fingerprintOf(entry->publickey) : QString();
        ssh_knownhosts_entry_free(entry);
        if (!fingerprint.isEmpty()) return fingerprint;
    }
    return {};
}

} // namespace

SshConnection::SshConnection()
{
    initialiseLibraryOnce();
    session_ = ssh_new();
}

SshConnection::~SshConnection()
{
    if (channel_) ssh_channel_free(channel_);
    if (ssh_is_connected(session_)) ssh_disconnect(session_);
    ssh_free(session_);
}

bool SshConnection::connectTo(const SessionLogin &login, const QString &knownHostsPath, int timeoutSeconds)
{
    const QByteArray host = login.host.toUtf8();
    const QByteArray user = login.user.toUtf8();
    const QByteArray knownHosts = QFile::encodeName(knownHostsPath);
    const unsigned int port = login.port;
    const long timeout = timeoutSeconds > 0 ? timeoutSeconds : 60;
    const int no = 0;
    // The user's ssh configuration was read before (for the keywords we honour): libssh's
    // own reading would let it override what the settings say.
    ssh_options_set(session_, SSH_OPTIONS_PROCESS_CONFIG, &no);
    ssh_options_set(session_, SSH_OPTIONS_HOST, host.constData());
    ssh_options_set(session_, SSH_OPTIONS_PORT, &port);
    if (!user.isEmpty()) ssh_options_set(session_, SSH_OPTIONS_USER, user.constData());
    ssh_options_set(session_, SSH_OPTIONS_KNOWNHOSTS, knownHosts.constData());
    ssh_options_set(session_, SSH_OPTIONS_TIMEOUT, &timeout);
    if (ssh_connect(session_) != SSH_OK) {
        error_ = sftpText(SftpText::HandshakeFailed).arg(login.host).arg(login.port)
                     .arg(QString::fromUtf8(ssh_get_error(session_)));
        return false;
    }
    socket_ = ssh_get_fd(session_);
    knownHostsPath_ = knownHostsPath;
    host_ = login.host;
    port_ = login.port;
    return true;
}

HostKeyFacts SshConnection::hostKey() const
{
    HostKeyFacts facts;
    facts.host = host_;
    facts.port = port_;
    ssh_key key = nullptr;
    if (ssh_get_server_publickey(session_, &key) != SSH_OK) return facts;
    facts.keyType = keyTypeName(QString::fromLatin1(ssh_key_type_to_char(ssh_key_type(key))));
    facts.fingerprint = fingerprintOf(key);
    ssh_key_free(key);

    char *line = nullptr;
    if (ssh_session_export_known_hosts_entry(session_, &line) == SSH_OK) {
        facts.knownHostsLine = QByteArray(line).trimmed();
        ssh_string_free_char(line);
    }
    switch (ssh_session_is_known_server(session_)) {
    case SSH_KNOWN_HOSTS_OK:
        facts.known = HostKeyFacts::Known::Trusted;
        break;
    case SSH_KNOWN_HOSTS_CHANGED:
    case SSH_KNOWN_HOSTS_OTHER: {
        // A key of another type counts as a change too: the host used to prove itself otherwise.
        facts.known = HostKeyFacts::Known::Changed;
        facts.previousFingerprint = knownFingerprint(knownHostsPath_, host_, port_);
        if (facts.previousFingerprint.isEmpty()) facts.previousFingerprint = QStringLiteral("?");
        break;
    }
    default:
        facts.known = HostKeyFacts::Known::Unknown;
    }
    return facts;
}

ssh_channel SshConnection::openSftpChannel()
{
    channel_ = ssh_channel_new(session_);
    if (!channel_ || ssh_channel_open_session(channel_) != SSH_OK
        || ssh_channel_request_subsystem(channel_, "sftp") != SSH_OK) {
        error_ = sftpText(SftpText::NotSftp) + u' ' + QString::fromUtf8(ssh_get_error(session_));
        return nullptr;
    }
    return channel_;
}

void SshConnection::interrupt()
{
    const int socket = socket_.load();
    if (socket >= 0) ::shutdown(socket, SHUT_RDWR);
}

QString SshConnection::cipher() const
{
    const char *out = ssh_get_cipher_out(session_);
    return out ? QString::fromLatin1(out) : QString();
}

} // namespace corvexo::sftp
