// Downloads and uploads of an SFTP session, with many requests in flight so
// that the link's round trips do not set the speed. A download goes into a
// temporary file beside the target that replaces it only when every byte
// arrived; an upload's every write is acknowledged before it counts as done.

#include "connection/ftp/ftp_download_size.h"
#include "connection/ftp/ftp_messages.h"
#include "connection/transfer_control.h"
#include "files/early_writeback.h"
#include "files/file_writing.h"
#include "sftp_messages.h"
#include "sftp_worker.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <deque>
#include <map>

namespace corvexo::sftp {

namespace {

constexpr int TransferComplete = 226;

struct ReadRequest {
    quint64 offset = 0;
    quint64 length = 0;
};

} // namespace

void SftpWorker::reportProgress(qint64 done, qint64 total, bool now)
{
    if (!now && sinceProgress_.elapsed() < ProgressIntervalMs) return;
    sinceProgress_.restart();
    emit progressed(done, total);
}

void SftpWorker::download(const QString &remote, const QString &localPath, std::optional<qint64> partKeeps)
{
    SftpOutcome refusal;
    refusal.kind = SftpOutcome::Kind::Failed;
    emit reached(TransferState::RequestSent);
    const std::optional<QByteArray> handle =
        openHandle(Packet::Open, SftpFields().string(pathOf(remote)).u32(OpenFlag::Read).noAttributes().bytes(), &refusal);
    if (!handle) return refusal.sessionLost ? failConnection() : endWith(refusal);
    SftpReply reply;
    if (!call(Packet::Fstat, SftpFields().string(*handle).bytes(), &reply)) return;
    const std::optional<quint64> size = reply.type == Packet::Attrs ? SftpReader(reply.body).attributes().size : std::nullopt;

    QSaveFile whole(localPath);
    QFile part(localPath);
    QFileDevice &file = partKeeps ? static_cast<QFileDevice &>(part) : whole;
    quint64 from = 0;
    bool opened = partKeeps ? openContinuing(part, *partKeeps) : openForWriting(whole);
    if (opened && partKeeps) {
        from = quint64(part.pos());
        // A part longer than the remote file belongs to an older file: the whole file comes again.
        if (size && from > *size) {
            opened = part.resize(0) && part.seek(0);
            from = 0;
        }
    }
    if (!opened) {
        closeHandle(*handle);
        return failLocally(ftp::localWriteFailedText(localPath, file.errorString()));
    }
    const qint64 total = size ? qint64(*size - from) : -1;
    emit reached(TransferState::Receiving);
    sinceProgress_.start();
    reportProgress(0, total, true);

    EarlyWriteback writeback;
    writeback.restartAt(qint64(from));
    std::map<quint32, ReadRequest> inFlight;
    std::map<quint64, QByteArray> early;    // data that came before the data in front of it
    std::deque<ReadRequest> again;          // the rest of short reads
    quint64 next = from, written = from;
    qsizetype readBytes = wire_->readLimit(ReadBytes);
    bool atEnd = false, grown = false;
    std::optional<SftpReply> failure;
    QString writeError;
    const QByteArray handleField = SftpFields().string(*handle).bytes();
    auto sendRead = [&](ReadRequest request) {
        const std::optional<quint32> id = wire_->send(Packet::Read, handleField + SftpFields().u64(request.offset).u32(quint32(request.length)).bytes());
        if (id) inFlight.emplace(*id, request);
        return id.has_value();
    };
    while (true) {
        const bool going = !stopRequested_ && !failure && writeError.isEmpty();
        while (going && !again.empty() && inFlight.size() < RequestsInFlight) {
            if (!sendRead(again.front())) return failConnection();
            again.pop_front();
        }
        // Past the size FSTAT gave, one request finds the end, unless the file grew meanwhile.
        while (going && !atEnd && inFlight.size() < RequestsInFlight && (!size || next <= *size || grown)) {
            if (!sendRead({next, quint64(readBytes)})) return failConnection();
            next += quint64(readBytes);
        }
        if (inFlight.empty()) break;
        if (!wire_->receive(&reply)) return failConnection();
        const auto asked = inFlight.find(reply.id);
        if (asked == inFlight.end()) return failLocally(sftpText(SftpText::MalformedPacket));
        const ReadRequest request = asked->second;
        inFlight.erase(asked);
        if (reply.type != Packet::Data) {
            if (reply.status() == Status::Eof) atEnd = true;
            else if (!failure) failure = reply;
            continue;
        }
        SftpReader reader(reply.body);
        const QByteArrayView data = reader.stringView();
        if (!reader.ok() || quint64(data.size()) > request.length) return failLocally(sftpText(SftpText::MalformedPacket));
        if (size && request.offset + data.size() > *size) grown = true;
        if (quint64(data.size()) < request.length && !data.isEmpty()) {
            again.push_back({request.offset + data.size(), request.length - data.size()});
            // A server that cuts reads short before the end is asked for no more than it gives.
            if (size && request.offset + data.size() < *size) readBytes = std::min(readBytes, data.size());
        }
        // Data in its turn goes to the file at once; data ahead of a gap waits, copied.
        const auto writeOut = [&](QByteArrayView bytes) {
            if (writeError.isEmpty() && !writeAll(file, bytes.data(), bytes.size())) writeError = file.errorString();
            written += quint64(bytes.size());
        };
        if (request.offset == written) writeOut(data);
        else early.emplace(request.offset, data.toByteArray());
        for (auto first = early.begin(); first != early.end() && first->first == written; first = early.begin()) {
            writeOut(first->second);
            early.erase(first);
        }
        if (writeError.isEmpty()) writeback.advance(file);
        reportProgress(qint64(written - from), total, false);
    }
    closeHandle(*handle);
    if (stopRequested_) return stopped();
    if (!writeError.isEmpty()) return failLocally(ftp::localWriteFailedText(localPath, writeError));
    if (failure) return refuse(*failure);
    // A gap before the end, or less than the server's own size for the file: not kept.
    if (!early.empty() || (size && written < *size)) {
        SftpOutcome shortOne;
        shortOne.kind = SftpOutcome::Kind::Failed;
        shortOne.text = ftp::shortDownloadText(remote, qint64(written), size ? qint64(*size) : -1);
        return endWith(shortOne);
    }
    // A part file is made durable by the caller, when it gives the file its name.
    const bool kept = partKeeps ? part.flush() && part.error() == QFileDevice::NoError : commitChecked(whole);
    if (!kept) return failLocally(ftp::localWriteFailedText(localPath, file.errorString()));
    reportProgress(qint64(written - from), total, true);
    complete(TransferComplete, QString());
}

void SftpWorker::upload(const QString &localPath, const QString &remote, std::optional<qint64> from)
{
    QFile local(localPath);
    if (QFileInfo(localPath).isDir() || !local.open(QIODevice::ReadOnly)) {
        const QString why = QFileInfo(localPath).isDir() ? ftp::engineText(ftp::EngineText::ItIsAFolder) : local.errorString();
        return failLocally(ftp::engineText(ftp::EngineText::CannotReadLocalFile).arg(localPath, why));
    }
    SftpOutcome refusal;
    refusal.kind = SftpOutcome::Kind::Failed;
    emit reached(TransferState::RequestSent);
    // From 0 the remote file is written anew, as STOR would; else its first bytes stay.
    const quint32 flags = OpenFlag::Write | OpenFlag::Create | (from.value_or(0) > 0 ? 0 : OpenFlag::Truncate);
    const std::optional<QByteArray> handle =
        openHandle(Packet::Open, SftpFields().string(pathOf(remote)).u32(flags).noAttributes().bytes(), &refusal);
    if (!handle) return refusal.sessionLost ? failConnection() : endWith(refusal);
    emit reached(TransferState::Receiving);
    const qint64 start = std::clamp<qint64>(from.value_or(0), 0, local.size());
    if (!local.seek(start)) {
        closeHandle(*handle);
        return failLocally(ftp::engineText(ftp::EngineText::CannotReadLocalFile).arg(localPath, local.errorString()));
    }
    const qint64 total = local.size() - start;
    sinceProgress_.start();
    reportProgress(0, total, true);

    std::map<quint32, qint64> inFlight;   // id, bytes
    quint64 offset = quint64(start);
    qint64 acknowledged = 0;
    bool localEnd = false;
    std::optional<SftpReply> failure;
    QString readError;
    QByteArray chunk(wire_->writeLimit(WriteBytes), Qt::Uninitialized);
    while (true) {
        while (!stopRequested_ && !failure && !localEnd && readError.isEmpty() && inFlight.size() < RequestsInFlight) {
            const qint64 got = local.read(chunk.data(), chunk.size());
            if (got < 0) readError = local.errorString();
            if (got <= 0) {
                localEnd = true;
                break;
            }
            const std::optional<quint32> id = wire_->sendWrite(*handle, offset, QByteArrayView(chunk.constData(), got));
            if (!id) return failConnection();
            inFlight.emplace(*id, got);
            offset += quint64(got);
        }
        if (inFlight.empty()) break;
        SftpReply reply;
        if (!wire_->receive(&reply)) return failConnection();
        const auto sent = inFlight.find(reply.id);
        if (sent == inFlight.end()) return failLocally(sftpText(SftpText::MalformedPacket));
        if (reply.status() != Status::Ok && !failure) failure = reply;
        acknowledged += sent->second;
        inFlight.erase(sent);
        reportProgress(acknowledged, total, false);
    }
    // The close is where a server reports a write it could not finish.
    SftpReply closed;
    if (!call(Packet::Close, SftpFields().string(*handle).bytes(), &closed)) return;
    if (stopRequested_) return stopped();
    if (!readError.isEmpty())
        return failLocally(ftp::engineText(ftp::EngineText::CannotReadLocalFile).arg(localPath, readError));
    if (failure) return refuse(*failure);
    if (closed.status() != Status::Ok) return refuse(closed);
    reportProgress(acknowledged, total, true);
    complete(TransferComplete, QString());
}

} // namespace corvexo::sftp
