// Going on with a transfer after the part its target already holds: REST
// before RETR where the server offers it (else the whole file again), and
// REST before STOR or else APPE for an upload. The size of a remote file is
// asked with SIZE, so the queue can tell how much of an upload arrived.

#include "ftp_session.h"

#include "connection/transfer_control.h"
#include "ftp_download_file.h"
#include "ftp_download_size.h"

namespace corvexo::ftp {

void FtpSession::askSize(const QString &remote)
{
    request(QStringLiteral("SIZE ") + remote, [this](const FtpReply &reply) {
        reach(TransferState::Receiving);
        const std::optional<qint64> size = sizeOfSizeReply(reply);
        if (!reply.isPositive() || !size) return failWith(reply);
        answer_ = QByteArray::number(*size);
        succeed();
    });
    reach(TransferState::RequestSent);
}

// Sent after EPSV or PASV, right before RETR: some servers forget a restart point at PASV.
void FtpSession::restartDownload(Step next)
{
    const qint64 from = download_->startsAt();
    if (from == 0) return next();
    const auto fromZero = [this, next] {
        // Kept bytes that cannot be continued are worth nothing: the whole file comes again.
        if (!download_->restartFromZero())
            return failLocally(localWriteFailedText(command_.operands.value(1), download_->errorString()), true);
        next();
    };
    // A part longer than the remote file belongs to an older file.
    if (!features_.contains(QStringLiteral("REST")) || (watch_.announced >= 0 && watch_.announced < from))
        return fromZero();
    request(QStringLiteral("REST %1").arg(from), [this, from, next, fromZero](const FtpReply &reply) {
        if (reply.code == 421) return failWith(reply);
        if (!reply.isIntermediate()) return fromZero();
        watch_.from = from;
        if (watch_.announced >= 0) watch_.announced = watch_.total = watch_.announced - from;
        next();
    });
}

void FtpSession::restartUpload(const QString &remote, qint64 from, std::function<void(const QString &)> send)
{
    if (from == 0) return send(QStringLiteral("STOR ") + remote);
    const QString append = QStringLiteral("APPE ") + remote;
    if (!features_.contains(QStringLiteral("REST"))) return send(append);
    request(QStringLiteral("REST %1").arg(from), [this, remote, send, append](const FtpReply &reply) {
        if (reply.code == 421) return failWith(reply);
        send(reply.isIntermediate() ? QStringLiteral("STOR ") + remote : append);
    });
}

} // namespace corvexo::ftp
