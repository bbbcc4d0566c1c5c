// The commands of a session: each maps one command of the window onto its
// FTP requests. Transfers end when both the final reply and the closed data
// connection have come, in either order; a missing 1xx reply is tolerated.

#include "ftp_session.h"

#include "connection/transfer_control.h"
#include "ftp_active_listener.h"
#include "ftp_change_check.h"
#include "ftp_control_channel.h"
#include "ftp_data_channel.h"
#include "ftp_download_file.h"
#include "ftp_download_size.h"
#include "ftp_listing.h"
#include "ftp_listing_sink.h"
#include "ftp_messages.h"
#include "ftp_reply_fields.h"

#include <QFileInfo>
#include <limits>

namespace corvexo::ftp {

void FtpSession::runCommand()
{
    if (resuming_) return returnToFolder();
    if (lookAfterDrop_) return lookAtChange();
    const QStringList &ops = command_.operands;
    using Verb = TransferCommand::Verb;
    const bool namesNew = command_.verb == Verb::Put || command_.verb == Verb::MakeDir || command_.verb == Verb::Rename;
    if (namesNew && charsetUnsettledFor(command_.verb == Verb::Put ? QStringList{ops.value(1)} : ops))
        return settleCharset([this] { runCommand(); });
    reach(TransferState::Requesting);
    // These go out at once; an upload's STOR only once its data connection is arranged.
    changeSent_ = changesServer(command_.verb) && command_.verb != Verb::Put;
    switch (command_.verb) {
    case Verb::List: return list();
    case Verb::ChangeDir: return changeFolder(QStringLiteral("CWD ") + ops.value(0));
    case Verb::ParentDir: return changeFolder(QStringLiteral("CDUP"));
    case Verb::Get: return download(ops.value(0), ops.value(1));
    case Verb::Put: return upload(ops.value(0), ops.value(1));
    case Verb::MakeDir: return simpleCommand(QStringLiteral("MKD ") + ops.value(0), [this] { succeed(); });
    case Verb::RemoveDir: return simpleCommand(QStringLiteral("RMD ") + ops.value(0), [this] { succeed(); });
    case Verb::Delete: return simpleCommand(QStringLiteral("DELE ") + ops.value(0), [this] { succeed(); });
    case Verb::Rename: return rename(ops.value(0), ops.value(1));
    case Verb::Size: return askSize(ops.value(0));
    case Verb::GetFrom: return download(ops.value(0), ops.value(1));
    case Verb::PutFrom: return upload(ops.value(0), ops.value(1));
    }
}

void FtpSession::simpleCommand(const QString &line, Step onSuccess)
{
    request(line, [this, onSuccess](const FtpReply &reply) {
        reach(TransferState::Receiving);
        if (!reply.isPositive()) return failWith(reply);
        onSuccess();
    });
    reach(TransferState::RequestSent);
}

void FtpSession::changeFolder(const QString &line)
{
    simpleCommand(line, [this] {
        const int code = replyCode_;
        const QString text = replyText_;
        learnFolder([this, code, text] {
            // The folder change's own reply is the answer, not the PWD's.
            replyCode_ = code;
            replyText_ = text;
            succeed();
        });
    });
}

void FtpSession::rename(const QString &from, const QString &to)
{
    request(QStringLiteral("RNFR ") + from, [this, to](const FtpReply &reply) {
        reach(TransferState::Receiving);
        if (!reply.isIntermediate()) return failWith(reply);
        simpleCommand(QStringLiteral("RNTO ") + to, [this] { succeed(); });
    });
    reach(TransferState::RequestSent);
}

void FtpSession::list()
{
    const bool mlsd = !command_.linksShown
                      && (features_.contains(QStringLiteral("MLST")) || features_.contains(QStringLiteral("MLSD")));
    const ListingFormat format = mlsd ? ListingFormat::Mlsd : ListingFormat::List;
    startListing(format);
    openDataConnection([this, format](quint16 port) {
        transfer(port, format == ListingFormat::Mlsd ? QStringLiteral("MLSD") : QStringLiteral("LIST"),
                 [this] { finishListing(); });
    });
}

void FtpSession::download(const QString &remote, const QString &localPath)
{
    download_ = command_.verb == TransferCommand::Verb::GetFrom
                    ? std::make_unique<FtpDownloadFile>(localPath, command_.offset)
                    : std::make_unique<FtpDownloadFile>(localPath);
    if (QFileInfo(localPath).isDir() || !download_->open()) {
        const QString why = QFileInfo(localPath).isDir() ? engineText(EngineText::ItIsAFolder) : download_->errorString();
        download_.reset();
        return failLocally(localWriteFailedText(localPath, why), true);
    }
    // Queued, so the file object is never destroyed inside its own signal.
    FtpDownloadFile *file = download_.get();
    connect(file, &FtpDownloadFile::committed, this, [this, file, localPath](bool ok, const QString &why) {
        if (!running_ || download_.get() != file) return;   // cancelled meanwhile
        if (!ok) return failLocally(localWriteFailedText(localPath, why), true);
        download_.reset();
        succeed();
    }, Qt::QueuedConnection);
    learnAnnouncedSize(remote, [this, remote] {
        openDataConnection([this, remote](quint16 port) {
            restartDownload([this, port, remote] {
                transfer(port, QStringLiteral("RETR ") + remote, [this] {
                    if (!checkReceivedSize()) return;
                    timer_.stop();   // nothing comes from the server while the file is flushed
                    download_->commit();
                });
            });
        });
    });
}

void FtpSession::upload(const QString &localPath, const QString &remote)
{
    upload_ = std::make_unique<QFile>(localPath);
    if (QFileInfo(localPath).isDir() || !upload_->open(QIODevice::ReadOnly)) {
        const QString why = QFileInfo(localPath).isDir() ? engineText(EngineText::ItIsAFolder) : upload_->errorString();
        upload_.reset();
        return failLocally(engineText(EngineText::CannotReadLocalFile).arg(localPath, why), true);
    }
    const qint64 from = command_.verb == TransferCommand::Verb::PutFrom ? command_.offset : 0;
    if (from < 0 || from > upload_->size() || !upload_->seek(from)) {
        upload_.reset();
        return failLocally(engineText(EngineText::CannotReadLocalFile).arg(localPath, engineText(EngineText::NoSuchPart)), true);
    }
    watch_.total = upload_->size() - from;
    openDataConnection([this, remote, from](quint16 port) {
        changeSent_ = true;
        restartUpload(remote, from, [this, port, remote, from](const QString &line) {
            // The server's file holds the part sent before as well as this transfer's bytes.
            transfer(port, line, [this, remote, from] {
                checkUploadedSize(remote, from + (data_ ? data_->transferredBytes() : 0));
            });
        });
    });
}

// --- Data connections ------------------------------------------------------

void FtpSession::openDataConnection(std::function<void(quint16)> then)
{
    if (passiveRefused_) return useActive(then);
    if (epsvRefused_) return usePasv(then);
    request(QStringLiteral("EPSV"), [this, then](const FtpReply &reply) {
        if (reply.isPositive()) {
            const auto port = portOfEpsvReply(reply);
            if (!port) return failLocally(engineText(EngineText::EpsvNoPort).arg(reply.text()), false);
            return then(*port);
        }
        if (reply.code == 421) return failWith(reply);
        epsvRefused_ = true;
        usePasv(then);
    });
}

void FtpSession::usePasv(std::function<void(quint16)> then)
{
    request(QStringLiteral("PASV"), [this, then](const FtpReply &reply) {
        if (!reply.isPositive()) return reply.code == 421 ? failWith(reply) : useActive(then);
        const auto port = portOfPasvReply(reply);
        if (!port) return failLocally(engineText(EngineText::PasvNoPort).arg(reply.text()), false);
        then(*port);
    });
}

void FtpSession::transfer(quint16 port, const QString &line, Step onComplete)
{
    dropDataChannel();
    data_ = new FtpDataChannel(this);
    if (dataProtected_) data_->useTls(control_->tlsConfiguration(), control_->peerCertificate());
    if (download_) {
        data_->receiveInto(download_->device(), std::numeric_limits<qint64>::max());
    } else if (parser_) {
        data_->receiveInto(new FtpListingSink(parser_.get(), [this] { onListingData(); }, data_), MaxListingBytes,
                          FtpDataChannel::ChunkBytes);
    }
    onTransferComplete_ = std::move(onComplete);
    connect(data_, &FtpDataChannel::activity, this, &FtpSession::onTransferProgress);
    connect(data_, &FtpDataChannel::failed, this, [this](const QString &why) {
        if (download_ && !download_->writeError().isEmpty()) {
            // Our own disk failed, not the connection: say so, and keep the session.
            const QString text = localWriteFailedText(command_.operands.value(1), download_->writeError());
            return abortTransfer([this, text] { failLocally(text, true); });
        }
        failLocally(engineText(EngineText::DataConnectionFailed).arg(why), false);
    });
    connect(data_, &FtpDataChannel::finished, this, [this] {
        dataDone_ = true;
        if (replyDone_) completeTransfer();
    });
    // The address in a PASV reply is ignored: the data goes to the control connection's peer.
    if (listener_) connect(listener_, &FtpActiveListener::accepted, data_, &FtpDataChannel::adopt);
    else data_->connectTo(control_->peerAddress(), port);
    request(line, [this](const FtpReply &reply) {
        reach(TransferState::Receiving);
        if (!reply.isPositive()) return failWith(reply);
        replyDone_ = true;
        if (data_ && upload_) data_->sendFrom(upload_.get());
        if (data_) data_->beginTls();   // no 1xx came
        if (dataDone_) completeTransfer();
    }, [this](const FtpReply &reply) {
        reach(TransferState::Receiving);
        // A restarted download's opening reply may give the whole size or the rest: not used.
        if (download_ && watch_.from == 0 && sizeOfOpeningReply(reply)) watch_.announced = watch_.total = *sizeOfOpeningReply(reply);
        // An upload's bytes go once the server took the command: some drop a data
        // connection that speaks (or, for an empty file, closes) before it.
        if (data_ && upload_) data_->sendFrom(upload_.get());
        if (data_) data_->beginTls();
    });
    reach(TransferState::RequestSent);
}

void FtpSession::onTransferProgress()
{
    touch();
    if (data_ && data_->transferredBytes() > 0 && !upload_) reach(TransferState::Receiving);
    if (download_) download_->startWriteback();
    if (download_ && !checkReceivedSize()) return;
    reportProgress(false);
}

void FtpSession::completeTransfer()
{
    const Step done = std::exchange(onTransferComplete_, {});
    if (done) done();
}

void FtpSession::dropDataChannel()
{
    if (!data_) return;
    // Deleted later: this may run inside one of the channel's own signals.
    data_->disconnect(this);
    data_->abort();
    data_->deleteLater();
    data_ = nullptr;
}

void FtpSession::discardTransfer()
{
    dropDataChannel();
    dataDone_ = false;
    replyDone_ = false;
    onTransferComplete_ = {};
    download_.reset();   // an uncommitted QSaveFile discards its temporary file
    upload_.reset();
    parser_.reset();
    linkProbe_.reset();
    watch_ = TransferWatch{};
    if (listener_) listener_->deleteLater();
    listener_ = nullptr;
}

} // namespace corvexo::ftp
