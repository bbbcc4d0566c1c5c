#include "sftp_worker.h"

#include "connection/ftp/ftp_messages.h"
#include "connection/transfer_control.h"
#include "sftp_messages.h"
#include "ssh_authentication.h"
#include "ssh_config.h"
#include "ssh_connection.h"

#include <QHostInfo>

namespace corvexo::sftp {

SftpWorker::SftpWorker() : connection_(std::make_unique<SshConnection>())
{
}

SftpWorker::~SftpWorker() = default;

void SftpWorker::interrupt()
{
    interrupted_ = true;
    stopRequested_ = true;
    connection_->interrupt();
}

void SftpWorker::open(const SessionLogin &login, const QString &knownHostsPath, int timeoutSeconds,
                      const std::optional<ftp::FtpCharset> &charset)
{
    // An alias of the user's ssh configuration is reached as ssh reaches it.
    const SshHostConfig config = readSshConfigFor(login.host, defaultSshConfigPath());
    login_ = withSshConfig(login, config);
    identityFiles_ = config.identityFiles;
    for (const QString &keyFile : SshAuthentication::defaultKeyFiles())
        if (!identityFiles_.contains(keyFile)) identityFiles_.append(keyFile);
    if (charset) {
        charset_ = *charset;
        charsetKnown_ = true;
    }
    knownHostsPath_ = knownHostsPath;
    const QHostInfo found = QHostInfo::fromName(login_.host);
    if (found.error() != QHostInfo::NoError || found.addresses().isEmpty())
        return failLocally(ftp::engineText(ftp::EngineText::HostNotFound).arg(login_.host));
    emit reached(TransferState::Resolved);
    emit reached(TransferState::Connecting);
    if (!connection_->connectTo(login_, knownHostsPath, timeoutSeconds)) {
        failLocally(connection_->errorText());
        return;
    }
    hostKey_ = connection_->hostKey();
    emit hostKeyJudged(hostKey_);
}

void SftpWorker::trustHostKey(bool remember)
{
    if (remember) {
        const QString why = appendKnownHost(knownHostsPath_, hostKey_.knownHostsLine);
        if (!why.isEmpty()) emit trustNotSaved(knownHostsPath_, why);
    }
    authentication_ = std::make_unique<SshAuthentication>(connection_->handle(), login_.password, identityFiles_);
    authenticate();
}

void SftpWorker::answerPassphrase(const std::optional<QString> &passphrase)
{
    if (!authentication_) return;
    authentication_->answerPassphrase(passphrase);
    authenticate();
}

void SftpWorker::authenticate()
{
    switch (authentication_->run()) {
    case SshAuthentication::Result::LoggedIn:
        return startSftp();
    case SshAuthentication::Result::NeedPassphrase:
        return emit passphraseNeeded(authentication_->keyAskedFor());
    case SshAuthentication::Result::Broken:
        return failConnection();
    case SshAuthentication::Result::Refused: {
        QStringList tried = authentication_->tried();
        if (tried.isEmpty()) tried.append(sftpText(SftpText::MethodNone));
        SftpOutcome outcome;
        outcome.kind = SftpOutcome::Kind::Failed;
        outcome.code = 530;
        outcome.text = sftpText(SftpText::LoginRefused).arg(login_.user, tried.join(QStringLiteral(", ")));
        outcome.sessionLost = true;
        return endWith(outcome);
    }
    }
}

void SftpWorker::startSftp()
{
    authentication_.reset();
    ssh_channel channel = connection_->openSftpChannel();
    if (!channel) return failLocally(connection_->errorText());
    wire_ = std::make_unique<SftpWire>(channel);
    if (!wire_->init()) return failConnection();
    SftpReply reply;
    if (!call(Packet::Realpath, SftpFields().string(".").bytes(), &reply)) return;
    if (reply.type != Packet::Name) return refuse(reply);
    SftpReader reader(reply.body);
    reader.u32();
    folder_ = reader.string();
    emit loggedIn(connection_->cipher(), charset_.decode(folder_));
}

void SftpWorker::keepAlive()
{
    if (!wire_) return;
    SftpReply reply;
    if (!wire_->call(Packet::Stat, SftpFields().string(folder_).bytes(), &reply) && !interrupted_)
        emit idleCheckFailed();
}

// --- Endings ---------------------------------------------------------------

void SftpWorker::complete(int code, const QString &text)
{
    SftpOutcome outcome;
    outcome.code = code;
    outcome.text = text;
    endWith(outcome);
}

void SftpWorker::refuse(const SftpReply &reply)
{
    SftpOutcome outcome;
    outcome.kind = SftpOutcome::Kind::Failed;
    const quint32 status = reply.status();
    outcome.code = status == Status::Unsupported ? 502 : status == Status::BadMessage ? 501 : 550;
    outcome.text = reply.statusText();
    if (outcome.text.isEmpty()) outcome.text = sftpText(SftpText::ServerStatus).arg(status);
    endWith(outcome);
}

void SftpWorker::failLocally(const QString &text)
{
    SftpOutcome outcome;
    outcome.kind = SftpOutcome::Kind::Failed;
    outcome.text = text;
    outcome.sessionLost = !wire_;
    endWith(outcome);
}

void SftpWorker::failConnection()
{
    SftpOutcome outcome;
    outcome.kind = SftpOutcome::Kind::Failed;
    const QString why = wire_ ? wire_->errorText() : QString::fromUtf8(ssh_get_error(connection_->handle()));
    outcome.text = ftp::engineText(ftp::EngineText::ConnectionBroke).arg(why);
    outcome.sessionLost = true;
    endWith(outcome);
}

void SftpWorker::stopped()
{
    SftpOutcome outcome;
    outcome.kind = SftpOutcome::Kind::Stopped;
    endWith(outcome);
}

void SftpWorker::endWith(SftpOutcome outcome)
{
    stopRequested_ = false;
    if (interrupted_) return;
    if (outcome.sessionLost) wire_.reset();
    outcome.folder = charset_.decode(folder_);
    if (charsetKnown_) outcome.charset = charset_;
    emit ended(outcome);
}

} // namespace corvexo::sftp
