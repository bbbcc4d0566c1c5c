#include "ftp_transfer_control.h"

#include "connection/transfer_messages.h"
#include "connection/transfer_session_factory.h"

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

FtpTransferControl::FtpTransferControl(QObject *parent) : TransferControl(parent)
{
    useSessionFor(TransferScheme::Ftp);
}

FtpTransferControl::~FtpTransferControl()
{
    if (!session_) return;
    session_->disconnect(this);
    session_->abort();
}

bool FtpTransferControl::useSessionFor(TransferScheme scheme)
{
    if (session_ && sessionScheme_ == scheme) return true;
    if (session_) {
        session_->disconnect(this);
        session_->abort();
        session_->deleteLater();
        session_ = nullptr;
    }
    session_ = makeTransferSession(scheme, this);
    sessionScheme_ = scheme;
    if (!session_) return false;
    session_->setTimeout(timeoutMs_);
    if (keepAliveMs_ >= 0) session_->setKeepAliveInterval(keepAliveMs_);
    session_->setListedEntriesKept(entriesKept_);
    session_->setTrustedFingerprint(trustedFingerprint_);
    watchSession();
    return true;
}

void FtpTransferControl::watchSession()
{
    TransferSession *session = session_;
    connect(session, &TransferSession::stateReached, this, [this](int state) {
        deliver([this, state] { emit stateChanged(state); });
    });
    connect(session, &TransferSession::commandCompleted, this,
            [this] { onCommandEnded(TransferState::ResponseCompleted); });
    connect(session, &TransferSession::commandFailed, this, [this] { onCommandEnded(TransferState::Error); });
    connect(session, &TransferSession::certificateQuestion, this, [this](const CertificateQuestion &question) {
        deliver([this, question] { emit certificateQuestion(question); });
    });
    connect(session, &TransferSession::plainLoginQuestion, this, [this](const PlainLoginQuestion &question) {
        deliver([this, question] { emit plainLoginQuestion(question); });
    });
    connect(session, &TransferSession::trustNotSaved, this, [this](const QString &path, const QString &reason) {
        deliver([this, path, reason] { emit trustNotSaved(path, reason); });
    });
    connect(session, &TransferSession::passphraseQuestion, this, [this](const QString &keyPath) {
        deliver([this, keyPath] { emit passphraseQuestion(keyPath); });
    });
    connect(session, &TransferSession::listingProgressed, this, [this](qint64 entries) {
        deliver([this, entries] {
            emit progressChanged(TransferProgress{TransferProgress::Unit::Entries, entries, -1});
        });
    });
    connect(session, &TransferSession::commandStopped, this, [this, session] {
        code_ = session->replyCode();
        info_ = session->replyText();
        answer_.clear();
        answerRead_ = 0;
        deliver([this] {
            busy_ = false;
            emit commandStopped();
        });
    });
    connect(session, &TransferSession::progressChanged, this, [this](const TransferProgress &progress) {
        deliver([this, progress] { emit progressChanged(progress); });
    });
}

void FtpTransferControl::setRequestTimeout(int seconds) { setRequestTimeoutMilliseconds(std::max(0, seconds) * 1000); }

void FtpTransferControl::setRequestTimeoutMilliseconds(int milliseconds)
{
    timeoutMs_ = milliseconds;
    if (session_) session_->setTimeout(milliseconds);
}

void FtpTransferControl::setListedEntriesKept(bool kept)
{
    entriesKept_ = kept;
    if (session_) session_->setListedEntriesKept(kept);
}

void FtpTransferControl::setKeepAliveMilliseconds(int milliseconds)
{
    keepAliveMs_ = milliseconds;
    if (session_) session_->setKeepAliveInterval(milliseconds);
}

void FtpTransferControl::setTrustedFingerprint(const QString &fingerprint)
{
    trustedFingerprint_ = fingerprint;
    if (session_) session_->setTrustedFingerprint(fingerprint);
}

void FtpTransferControl::setProtocol(int protocol) { protocol_ = protocol; }
void FtpTransferControl::setAccessType(int accessType) { accessType_ = accessType; }
void FtpTransferControl::setRemotePort(quint16 port) { port_ = port; }
void FtpTransferControl::setRemoteHost(const QString &host) { hostText_ = host; }
void FtpTransferControl::setUserName(const QString &user) { user_ = user; }
void FtpTransferControl::setPassword(const QString &password) { password_ = password; }

int FtpTransferControl::execute(const TransferCommand &command)
{
    if (busy_) return TransferError::StillExecuting;
    if (const int refusal = checkOperands(command)) return refusal;
    const std::optional<TransferAddress> address =
        parseTransferAddress(hostText_, port_ ? QString::number(port_) : QString());
    if (!address || !isSafeOperand(address->host)) return TransferError::HostNameWrong;
    if (!isSafeOperand(user_) || !isSafeOperand(password_)) return TransferError::Security;
    busy_ = true;
    listing_ = command.verb == TransferCommand::Verb::List;
    code_ = 0;
    info_.clear();
    answer_.clear();
    answerRead_ = 0;
    if (!useSessionFor(address->scheme)) {
        failAtOnce(transferText(TransferText::ProtocolUnavailable).arg(schemeName(address->scheme)));
        return TransferError::None;
    }
    login_ = SessionLogin{address->scheme, address->host, address->port, user_, password_};
    session_->start(login_, command);
    return TransferError::None;
}

void FtpTransferControl::failAtOnce(const QString &why)
{
    info_ = why;
    deliver([this] {
        busy_ = false;
        emit stateChanged(TransferState::Error);
    });
}

void FtpTransferControl::answerCertificate(bool trust)
{
    answerLater([trust](TransferSession &session) { session.answerCertificate(trust); });
}

void FtpTransferControl::answerPlainLogin(bool allow)
{
    answerLater([allow](TransferSession &session) { session.answerPlainLogin(allow); });
}

void FtpTransferControl::answerLater(std::function<void(TransferSession &)> answer)
{
    // Deferred, so an answer given inside the question's own handler finds the session settled.
    const quint64 cancels = cancels_;
    QMetaObject::invokeMethod(this, [this, cancels, answer = std::move(answer)] {
        if (cancels == cancels_ && session_) answer(*session_);
    }, Qt::QueuedConnection);
}

void FtpTransferControl::answerPassphrase(const QString &passphrase, bool given)
{
    answerLater([passphrase, given](TransferSession &session) { session.answerPassphrase(passphrase, given); });
}

void FtpTransferControl::cancel()
{
    ++cancels_;
    if (session_) session_->abort();
    busy_ = false;
}

void FtpTransferControl::stop()
{
    if (busy_ && session_) session_->stop();
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
    code_ = session_->replyCode();
    info_ = session_->replyText();
    answer_ = session_->answer();
    answerRead_ = 0;
    if (listing_ && entriesKept_) {
        entries_ = session_->listedEntries();
        unreadable_ = session_->unreadableEntries();
    }
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
