#include "ftp_transfer_control.h"

namespace corvexo {

namespace {

qsizetype expectedOperands(TransferCommand::Verb verb)
{
    using Verb = TransferCommand::Verb;
    switch (verb) {
    case Verb::List:
    case Verb::ParentDir: return 0;
    case Verb::ChangeDir:
    case Verb::MakeDir:
    case Verb::RemoveDir:
    case Verb::Delete:
    case Verb::Size: return 1;
    case Verb::Get:
    case Verb::Put:
    case Verb::Rename:
    case Verb::GetFrom:
    case Verb::PutFrom: return 2;
    }
    return -1;
}

// Backs off so a chunk never ends inside a UTF-8 sequence, unless the piece
// asked for is shorter than the one character.
qsizetype chunkLength(const QByteArray &text, qsizetype from, qsizetype maxBytes)
{
    qsizetype length = std::min(maxBytes, text.size() - from);
    if (from + length >= text.size()) return length;
    qsizetype cut = length;
    while (cut > 0 && (uchar(text[from + cut]) & 0xC0) == 0x80) --cut;
    return cut > 0 ? cut : length;
}

} // namespace

int checkOperands(const TransferCommand &command)
{
    if (command.operands.size() != expectedOperands(command.verb)) return TransferError::FtpCommandFailed;
    for (const QString &operand : command.operands)
        if (operand.isEmpty() || !isSafeOperand(operand)) return TransferError::FtpCommandFailed;
    return TransferError::None;
}

QString hostToConnect(const QString &typed)
{
    QString host = typed.trimmed();
    if (host.startsWith(QStringLiteral("ftp://"), Qt::CaseInsensitive)) host = host.mid(6);
    if (host.endsWith(u'/')) host.chop(1);
    if (host.size() > 2 && host.startsWith(u'[') && host.endsWith(u']')) host = host.mid(1, host.size() - 2);
    return host;
}

FtpTransferControl::FtpTransferControl(QObject *parent) : TransferControl(parent)
{
    session_.setTimeout(60 * 1000);
    connect(&session_, &ftp::FtpSession::stateReached, this, [this](int state) {
        deliver([this, state] { emit stateChanged(state); });
    });
    connect(&session_, &ftp::FtpSession::commandCompleted, this,
            [this] { onCommandEnded(TransferState::ResponseCompleted); });
    connect(&session_, &ftp::FtpSession::commandFailed, this, [this] { onCommandEnded(TransferState::Error); });
    connect(&session_, &ftp::FtpSession::certificateQuestion, this, [this](const CertificateQuestion &question) {
        deliver([this, question] { emit certificateQuestion(question); });
    });
    connect(&session_, &ftp::FtpSession::trustNotSaved, this, [this](const QString &path, const QString &reason) {
        deliver([this, path, reason] { emit trustNotSaved(path, reason); });
    });
    connect(&session_, &ftp::FtpSession::listingProgressed, this, [this](qint64 entries) {
        deliver([this, entries] {
            emit progressChanged(TransferProgress{TransferProgress::Unit::Entries, entries, -1});
        });
    });
    connect(&session_, &ftp::FtpSession::commandStopped, this, [this] {
        code_ = session_.replyCode();
        info_ = session_.replyText();
        answer_.clear();
        answerRead_ = 0;
        deliver([this] {
            busy_ = false;
            emit commandStopped();
        });
    });
    connect(&session_, &ftp::FtpSession::progressChanged, this, [this](const TransferProgress &progress) {
        deliver([this, progress] { emit progressChanged(progress); });
    });
}

FtpTransferControl::~FtpTransferControl()
{
    session_.disconnect(this);
    session_.abort();
}

void FtpTransferControl::setRequestTimeout(int seconds) { setRequestTimeoutMilliseconds(std::max(0, seconds) * 1000); }
void FtpTransferControl::setRequestTimeoutMilliseconds(int milliseconds) { session_.setTimeout(milliseconds); }
void FtpTransferControl::setProtocol(int protocol) { protocol_ = protocol; }
void FtpTransferControl::setAccessType(int accessType) { accessType_ = accessType; }
void FtpTransferControl::setRemotePort(quint16 port) { login_.port = port; }
void FtpTransferControl::setRemoteHost(const QString &host) { login_.host = hostToConnect(host); }
void FtpTransferControl::setUserName(const QString &user) { login_.user = user; }
void FtpTransferControl::setPassword(const QString &password) { login_.password = password; }

int FtpTransferControl::execute(const TransferCommand &command)
{
    if (busy_) return TransferError::StillExecuting;
    if (const int refusal = checkOperands(command)) return refusal;
    if (login_.host.isEmpty() || !isSafeOperand(login_.host)) return TransferError::HostNameWrong;
    if (!isSafeOperand(login_.user) || !isSafeOperand(login_.password)) return TransferError::Security;
    if (login_.port == 0) return TransferError::CannotConnect;
    busy_ = true;
    code_ = 0;
    info_.clear();
    answer_.clear();
    answerRead_ = 0;
    session_.start(login_, command);
    return TransferError::None;
}

void FtpTransferControl::answerCertificate(bool trust)
{
    // Deferred, so an answer given inside the question's own handler finds the session settled.
    const quint64 cancels = cancels_;
    QMetaObject::invokeMethod(this, [this, cancels, trust] {
        if (cancels == cancels_) session_.answerCertificate(trust);
    }, Qt::QueuedConnection);
}

void FtpTransferControl::cancel()
{
    ++cancels_;
    session_.abort();
    busy_ = false;
}

void FtpTransferControl::stop()
{
    if (busy_) session_.stop();
}

QByteArray FtpTransferControl::getChunk(int maxBytes)
{
    if (maxBytes <= 0 || answerRead_ >= answer_.size()) return {};
    const qsizetype length = chunkLength(answer_, answerRead_, maxBytes);
    const QByteArray chunk = answer_.mid(answerRead_, length);
    answerRead_ += length;
    return chunk;
}

void FtpTransferControl::onCommandEnded(int state)
{
    code_ = session_.replyCode();
    info_ = session_.replyText();
    answer_ = session_.answer();
    answerRead_ = 0;
    listing_ = session_.listing();
    deliver([this, state] {
        busy_ = false;   // idle before the handler runs, so it may execute the next command
        emit stateChanged(state);
    });
}

void FtpTransferControl::deliver(std::function<void()> report)
{
    const quint64 cancels = cancels_;
    QMetaObject::invokeMethod(this, [this, cancels, report = std::move(report)] {
        if (cancels == cancels_) report();
    }, Qt::QueuedConnection);
}

} // namespace corvexo
