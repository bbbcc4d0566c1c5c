// The commands of an SFTP session that take one request or a few: folder
// changes, folders made and removed, deletes and renames.

#include "connection/transfer_control.h"
#include "sftp_messages.h"
#include "sftp_worker.h"

namespace corvexo::sftp {

namespace {

constexpr int FileActionOk = 250;
constexpr int FileStatus = 213;   // the code an FTP server answers SIZE with

QByteArray withoutTrailingSlash(QByteArray path)
{
    while (path.size() > 1 && path.endsWith('/')) path.chop(1);
    return path;
}

} // namespace

void SftpWorker::run(const TransferCommand &command, bool keepEntries)
{
    if (!wire_) return failConnection();
    emit reached(TransferState::Requesting);
    const QStringList &ops = command.operands;
    using Verb = TransferCommand::Verb;
    switch (command.verb) {
    case Verb::List: return list(keepEntries);
    case Verb::ChangeDir: return changeFolder(pathOf(ops.value(0)));
    case Verb::ParentDir: return changeFolder(folder_ + (folder_.endsWith('/') ? ".." : "/.."));
    case Verb::Get: return download(ops.value(0), ops.value(1));
    case Verb::Put: return upload(ops.value(0), ops.value(1));
    case Verb::MakeDir: return simpleRequest(Packet::Mkdir, SftpFields().string(pathOf(ops.value(0))).noAttributes().bytes());
    case Verb::RemoveDir: return simpleRequest(Packet::Rmdir, SftpFields().string(pathOf(ops.value(0))).bytes());
    case Verb::Delete: return simpleRequest(Packet::Remove, SftpFields().string(pathOf(ops.value(0))).bytes());
    case Verb::Rename:
        return simpleRequest(Packet::Rename,
                             SftpFields().string(pathOf(ops.value(0))).string(pathOf(ops.value(1))).bytes());
    case Verb::Size: return askSize(pathOf(ops.value(0)));
    case Verb::GetFrom: return download(ops.value(0), ops.value(1), command.offset);
    case Verb::PutFrom: return upload(ops.value(0), ops.value(1), command.offset);
    }
}

QByteArray SftpWorker::pathOf(const QString &name) const
{
    const QByteArray bytes = withoutTrailingSlash(charset_.encode(name));
    if (bytes.startsWith('/')) return bytes;
    return folder_ + (folder_.endsWith('/') ? "" : "/") + bytes;
}

bool SftpWorker::call(quint8 type, const QByteArray &body, SftpReply *reply)
{
    if (wire_->call(type, body, reply)) return true;
    failConnection();
    return false;
}

std::optional<QByteArray> SftpWorker::openHandle(quint8 type, const QByteArray &body, SftpOutcome *refusal)
{
    SftpReply reply;
    if (!wire_->call(type, body, &reply)) {
        refusal->sessionLost = true;
        return std::nullopt;
    }
    if (reply.type != Packet::Handle) {
        refusal->code = 550;
        refusal->text = reply.statusText();
        if (refusal->text.isEmpty()) refusal->text = sftpText(SftpText::ServerStatus).arg(reply.status());
        return std::nullopt;
    }
    SftpReader reader(reply.body);
    return reader.string();
}

void SftpWorker::closeHandle(const QByteArray &handle)
{
    SftpReply reply;
    wire_->call(Packet::Close, SftpFields().string(handle).bytes(), &reply);
}

void SftpWorker::simpleRequest(quint8 type, const QByteArray &body)
{
    emit reached(TransferState::RequestSent);
    SftpReply reply;
    if (!call(type, body, &reply)) return;
    emit reached(TransferState::Receiving);
    if (reply.status() != Status::Ok) return refuse(reply);
    complete(FileActionOk, reply.statusText());
}

void SftpWorker::askSize(const QByteArray &path)
{
    emit reached(TransferState::RequestSent);
    SftpReply reply;
    if (!call(Packet::Stat, SftpFields().string(path).bytes(), &reply)) return;
    emit reached(TransferState::Receiving);
    if (reply.type != Packet::Attrs) return refuse(reply);
    const SftpAttributes attributes = SftpReader(reply.body).attributes();
    // A folder has no size to continue from, as SIZE on a folder is refused.
    if (!attributes.size || attributes.isFolder()) {
        SftpOutcome refusal;
        refusal.kind = SftpOutcome::Kind::Failed;
        refusal.code = 550;
        refusal.text = sftpText(SftpText::ServerStatus).arg(Status::Failure);
        return endWith(refusal);
    }
    SftpOutcome outcome;
    outcome.code = FileStatus;
    outcome.answer = QByteArray::number(*attributes.size);
    endWith(outcome);
}

void SftpWorker::changeFolder(const QByteArray &path)
{
    emit reached(TransferState::RequestSent);
    SftpReply reply;
    if (!call(Packet::Realpath, SftpFields().string(path).bytes(), &reply)) return;
    emit reached(TransferState::Receiving);
    if (reply.type != Packet::Name) return refuse(reply);
    SftpReader names(reply.body);
    names.u32();
    const QByteArray folder = names.string();
    // A folder that cannot be opened is refused here, as a server refuses CWD into it;
    // a link to a folder is followed.
    SftpOutcome refusal;
    const std::optional<QByteArray> handle = openHandle(Packet::Opendir, SftpFields().string(folder).bytes(), &refusal);
    if (!handle) {
        if (refusal.sessionLost) return failConnection();
        if (!call(Packet::Stat, SftpFields().string(folder).bytes(), &reply)) return;
        if (reply.type == Packet::Attrs && !SftpReader(reply.body).attributes().isFolder())
            refusal.text = sftpText(SftpText::NotAFolder).arg(charset_.decode(folder));
        refusal.kind = SftpOutcome::Kind::Failed;
        return endWith(refusal);
    }
    closeHandle(*handle);
    folder_ = folder;
    complete(FileActionOk, QString());
}

} // namespace corvexo::sftp
