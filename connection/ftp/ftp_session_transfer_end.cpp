// How a transfer ends other than by completing: the server's data falls
// short of (or runs past) the size it announced, the local disk fails, or the
// user stops it. The session stays logged in and in its folder: the data
// connection is closed, ABOR ends the command on the server, and the answer
// to a NOOP sent behind it marks the end of whatever the server says about
// both. Progress of a transfer is reported here too, a few times a second.

#include "ftp_session.h"

#include "ftp_control_channel.h"
#include "ftp_data_channel.h"
#include "ftp_download_file.h"
#include "ftp_download_size.h"
#include "ftp_messages.h"

namespace corvexo::ftp {

namespace {

constexpr qint64 ProgressGapMs = 150;

} // namespace

void FtpSession::stop()
{
    if (!running_) return;
    if (!loggedIn_) {
        // Still opening: there is no session to keep yet.
        abort();
        emit commandStopped();
        return;
    }
    using Verb = TransferCommand::Verb;
    const Verb verb = command_.verb;
    if (dataDone_ && replyDone_) {
        // Complete already: a file is being put in place, or links are being tried,
        // which ends at once, back in the folder, with the links left guessed.
        if (linkProbe_) linkProbe_->stop();
        return;
    }
    // A server deaf to ABOR (or to a short command) cannot hold the user.
    if (!stopWait_.isActive()) stopWait_.start(StopWaitMs);
    // Other commands are single short requests and run to their end.
    if (verb != Verb::Get && verb != Verb::Put && verb != Verb::List && verb != Verb::GetFrom && verb != Verb::PutFrom)
        return;
    // A continued upload's remote part is kept, so that it can go on later.
    const bool storSent = verb == Verb::Put && data_ != nullptr;
    abortTransfer([this, storSent] { endStopped(storSent); });
}

void FtpSession::onStopUnanswered()
{
    if (!running_) return;
    // As after an idle drop: the older local file stays, and the session comes back by itself.
    letControlGo();
    finish(true);
    emit commandStopped();
}

TransferProgress FtpSession::progress() const
{
    if (!running_ || (!download_ && !upload_)) return {};
    return {TransferProgress::Unit::Bytes, data_ ? data_->transferredBytes() : 0, watch_.total};
}

void FtpSession::learnAnnouncedSize(const QString &remote, Step next)
{
    // A listing's size is as good a check as SIZE, and saves a round trip per file. A part
    // that is continued asks the server, which knows whether the file shrank since.
    const bool known = command_.verb == TransferCommand::Verb::GetFrom && command_.offset == 0 && command_.knownSize >= 0;
    if (known) {
        watch_.announced = watch_.total = command_.knownSize;
        return next();
    }
    // Asked whatever FEAT said: a server that cannot list its features may still know sizes.
    askRemoteSize(remote, [this, next](std::optional<qint64> size) {
        if (size) watch_.announced = watch_.total = *size;
        next();
    });
}

void FtpSession::askRemoteSize(const QString &remote, std::function<void(std::optional<qint64>)> then)
{
    request(QStringLiteral("SIZE ") + remote, [this, remote, then](const FtpReply &reply) {
        if (reply.code == 421) return failWith(reply);
        if (const std::optional<qint64> size = sizeOfSizeReply(reply)) return then(size);
        if (!features_.contains(QStringLiteral("MLST"))) return then(std::nullopt);
        request(QStringLiteral("MLST ") + remote, [this, then](const FtpReply &mlst) {
            if (mlst.code == 421) return failWith(mlst);
            then(sizeOfMlstReply(mlst));
        });
    });
}

// A server may answer 226 for a file it kept only part of (its read of our data
// failed): what it holds is compared with what we sent.
void FtpSession::checkUploadedSize(const QString &remote, qint64 sent)
{
    const int code = replyCode_;
    const QString text = replyText_;
    askRemoteSize(remote, [this, remote, sent, code, text](std::optional<qint64> size) {
        if (size && *size != sent)
            return failLocally(engineText(EngineText::UploadIncomplete).arg(remote).arg(*size).arg(sent), true);
        replyCode_ = code;   // the transfer's own reply is the answer
        replyText_ = text;
        succeed();
    });
}

bool FtpSession::checkReceivedSize()
{
    if (watch_.announced < 0 || !data_) return true;
    const qint64 received = data_->transferredBytes();
    const bool complete = dataDone_ && replyDone_;
    if (complete ? received == watch_.announced : received <= watch_.announced) return true;
    const QString text = shortDownloadText(command_.operands.value(0), received, watch_.announced);
    if (complete)
        failLocally(text, true);
    else
        abortTransfer([this, text] { failLocally(text, true); });   // no use receiving the rest
    return false;
}

void FtpSession::reportProgress(bool now)
{
    if (!download_ && !upload_) return;
    if (!now && watch_.sinceReport.isValid() && watch_.sinceReport.elapsed() < ProgressGapMs) return;
    watch_.sinceReport.start();
    emit progressChanged(progress());
}

void FtpSession::abortTransfer(Step then)
{
    if (watch_.afterAbort) return;   // already being ended
    const bool commandSent = data_ != nullptr;
    const bool answerPending = !commandSent || !replyDone_;
    dropDataChannel();
    download_.reset();   // the temporary file goes; an older file of that name stays
    parser_.reset();
    onTransferComplete_ = {};
    if (!answerPending) return then();
    watch_.afterAbort = std::move(then);
    watch_.awaitMarker = commandSent;
    onPreliminary_ = {};
    // Before the transfer command, the request in hand is answered and nothing more is sent.
    onFinal_ = [this](const FtpReply &reply) { awaitAbortEnd(reply); };
    if (commandSent) {
        touch();
        control_->send(QStringLiteral("ABOR"));
        control_->send(QStringLiteral("NOOP"));
    }
}

void FtpSession::awaitAbortEnd(const FtpReply &reply)
{
    if (reply.code == 421) return failWith(reply);
    if (watch_.awaitMarker && reply.code != 200) {
        onFinal_ = [this](const FtpReply &next) { awaitAbortEnd(next); };
        return;
    }
    const Step then = std::exchange(watch_.afterAbort, {});
    if (then) then();
}

void FtpSession::endStopped(bool storSent)
{
    const auto end = [this] {
        finish(true);
        emit commandStopped();
    };
    if (!storSent) return end();
    // What the server received of the file is of no use; where it refuses, the part stays.
    request(QStringLiteral("DELE ") + command_.operands.value(1), [end](const FtpReply &) { end(); });
}

} // namespace corvexo::ftp
