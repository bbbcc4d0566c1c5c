// Keeping a session between commands: a NOOP now and then, and after the
// server ended an idle session, a silent new login that returns to the
// folder the user was in before the next command runs.

#include "ftp_session.h"

#include "ftp_control_channel.h"

namespace corvexo::ftp {

void FtpSession::onIdleClose()
{
    const bool wasOpen = loggedIn_;
    const QString folder = folder_;
    const FtpCharset charset = charset_;
    const bool charsetKnown = charsetKnown_;
    abort();
    if (!wasOpen) return;
    dropped_ = true;
    droppedFolder_ = folder;
    charset_ = charset;
    charsetKnown_ = charsetKnown;
}

void FtpSession::returnToFolder()
{
    resuming_ = false;
    if (droppedFolder_.isEmpty() || droppedFolder_ == folder_) return runCommand();
    // A folder that went meanwhile leaves the session where the login put it.
    request(QStringLiteral("CWD ") + droppedFolder_, [this](const FtpReply &) {
        learnFolder([this] { runCommand(); });
    });
}

void FtpSession::sendKeepAlive()
{
    if (running_ || !loggedIn_ || keepAlivePending_) return;
    keepAlivePending_ = true;
    control_->send(QStringLiteral("NOOP"));
}

bool FtpSession::takeKeepAliveReply(const FtpReply &reply)
{
    if (!keepAlivePending_ || reply.isPreliminary()) return false;
    keepAlivePending_ = false;
    if (reply.code == 421) {
        // The server ended the session instead: a command that waited runs after a new login.
        if (running_) {
            const FtpLogin login = login_;
            const TransferCommand command = command_;
            onIdleClose();
            start(login, command);
        }
        return true;
    }
    if (running_) runCommand();           // the command waited for this reply
    else if (keepAliveMs_ > 0) keepAlive_.start(keepAliveMs_);
    return true;
}

// The server ended the session just as a command went to it: the command runs
// again after a new login, once, with the states it already reported kept.
bool FtpSession::retryAfterDrop()
{
    if (!retryable_) return false;
    retryable_ = false;
    const FtpLogin login = login_;
    const TransferCommand command = command_;
    const int reached = reached_;
    onIdleClose();
    start(login, command);
    reached_ = std::max(reached_, reached);
    return true;
}

} // namespace corvexo::ftp
