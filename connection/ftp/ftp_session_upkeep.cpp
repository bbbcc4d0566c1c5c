// Keeping a session between commands: a NOOP now and then, and after the
// server ended an idle session, a silent new login that returns to the
// folder the user was in before the next command runs.

#include "ftp_session.h"

#include "ftp_change_check.h"
#include "ftp_control_channel.h"
#include "ftp_download_size.h"
#include "ftp_messages.h"

#include <QFileInfo>

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

void FtpSession::letControlGo()
{
    control_->abort();
    if (loggedIn_) {
        dropped_ = true;
        droppedFolder_ = folder_;
    }
    loggedIn_ = false;
    keepAlivePending_ = false;
    onFinal_ = {};
    onPreliminary_ = {};
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
// again after a new login, once, with the states it already reported kept. A
// command that changes the server may have taken effect before the drop: it is
// looked at first, also when the drop came in its middle, and never sent twice.
bool FtpSession::retryAfterDrop()
{
    const bool look = changeSent_ && loggedIn_;
    if (!retryable_ && !look) return false;
    const bool runAgain = retryable_;
    retryable_ = false;
    const FtpLogin login = login_;
    const TransferCommand command = command_;
    const int reached = reached_;
    onIdleClose();
    start(login, command);
    reached_ = std::max(reached_, reached);
    lookAfterDrop_ = look;
    runIfNotMade_ = runAgain;
    return true;
}

void FtpSession::lookAtChange()
{
    lookAfterDrop_ = false;
    const bool mlst = features_.contains(QStringLiteral("MLST"));
    const QString line = changeLookCommand(command_, mlst);
    request(line, [this, mlst, line](const FtpReply &reply) {
        if (reply.code == 421) return failWith(reply);
        const std::optional<qint64> size = mlst ? sizeOfMlstReply(reply) : sizeOfSizeReply(reply);
        const ChangeOutcome outcome =
            changeOutcome(command_, reply, size, QFileInfo(command_.operands.value(0)).size());
        if (!line.startsWith(QStringLiteral("CWD ")) || !reply.isPositive()) return concludeLook(outcome);
        // A folder entered to see it is left again.
        request(QStringLiteral("CWD ") + folder_, [this, outcome](const FtpReply &) { concludeLook(outcome); });
    });
}

void FtpSession::concludeLook(ChangeOutcome outcome)
{
    const bool runAgain = std::exchange(runIfNotMade_, false);
    if (outcome == ChangeOutcome::Made) {
        replyCode_ = 0;
        replyText_ = engineText(EngineText::ChangeMadeBeforeDrop);
        return succeed();
    }
    if (outcome == ChangeOutcome::NotMade && runAgain) return runCommand();
    failLocally(engineText(EngineText::ServerClosed), true);   // what happened is not known
}

} // namespace corvexo::ftp
