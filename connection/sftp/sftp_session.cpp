#include "sftp_session.h"

#include "connection/ftp/ftp_messages.h"
#include "connection/transfer_control.h"
#include "sftp_messages.h"

namespace corvexo::sftp {

SftpSession::SftpSession(QObject *parent) : TransferSession(parent)
{
    qRegisterMetaType<HostKeyFacts>();
    qRegisterMetaType<SftpOutcome>();
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &SftpSession::onTimeout);
    keepAlive_.setSingleShot(true);
    connect(&keepAlive_, &QTimer::timeout, this, &SftpSession::sendKeepAlive);
}

SftpSession::~SftpSession()
{
    abort();
    // Their sockets are shut down, so they end at once; they must end before the program does.
    for (const QPointer<QThread> &thread : std::as_const(endingThreads_))
        if (thread) thread->wait(5000);
}

void SftpSession::start(const SessionLogin &login, const TransferCommand &command)
{
    command_ = command;
    running_ = true;
    reached_ = 0;
    replyCode_ = 0;
    replyText_.clear();
    answer_.clear();
    progress_ = TransferProgress();
    keepAlive_.stop();
    touch();
    retryable_ = isOpenFor(login);
    if (isOpenFor(login)) return runCommand();
    const bool resume = dropped_ && login == login_;
    const QString folder = droppedFolder_;
    const std::optional<ftp::FtpCharset> charset = charset_;
    abort();
    // The same server comes back with the same charset: the folder's name is sent as before.
    if (resume) charset_ = charset;
    running_ = true;
    touch();
    login_ = login;
    resuming_ = resume;
    droppedFolder_ = resume ? folder : QString();
    open();
}

void SftpSession::open()
{
    reach(TransferState::Resolving);
    thread_ = new QThread;
    worker_ = new SftpWorker;
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    connect(thread_, &QThread::finished, thread_, &QObject::deleteLater);
    connect(worker_, &SftpWorker::reached, this, &SftpSession::reach);
    connect(worker_, &SftpWorker::hostKeyJudged, this, &SftpSession::onHostKey);
    connect(worker_, &SftpWorker::loggedIn, this, &SftpSession::onLoggedIn);
    connect(worker_, &SftpWorker::ended, this, &SftpSession::onEnded);
    connect(worker_, &SftpWorker::idleCheckFailed, this, &SftpSession::onIdleCheckFailed);
    connect(worker_, &SftpWorker::trustNotSaved, this, &SftpSession::trustNotSaved);
    connect(worker_, &SftpWorker::passphraseNeeded, this, [this](const QString &keyPath) {
        awaitingAnswer_ = true;
        timer_.stop();
        emit passphraseQuestion(keyPath);
    });
    connect(worker_, &SftpWorker::progressed, this, [this](qint64 done, qint64 total) {
        touch();
        progress_ = TransferProgress {TransferProgress::Unit::Bytes, done, total};
        emit progressChanged(progress_);
    });
    connect(worker_, &SftpWorker::listingProgressed, this, [this](qint64 entries) {
        touch();
        progress_ = TransferProgress {TransferProgress::Unit::Entries, entries, -1};
        emit listingProgressed(entries);
    });
    thread_->start();
    const QString knownHosts = knownHostsPath_.isEmpty() ? defaultKnownHostsPath() : knownHostsPath_;
    const int seconds = timeoutMs_ > 0 ? std::max(1, timeoutMs_ / 1000) : 0;
    post([login = login_, knownHosts, seconds, charset = charset_](SftpWorker *worker) {
        worker->open(login, knownHosts, seconds, charset);
    });
}

void SftpSession::post(std::function<void(SftpWorker *)> step)
{
    if (!worker_) return;
    QMetaObject::invokeMethod(worker_, [worker = worker_, step = std::move(step)] { step(worker); }, Qt::QueuedConnection);
}

void SftpSession::abort()
{
    if (worker_) {
        worker_->disconnect(this);
        worker_->interrupt();
        thread_->quit();
        endingThreads_.removeAll(nullptr);
        endingThreads_.append(thread_);
    }
    worker_ = nullptr;
    thread_ = nullptr;
    loggedIn_ = false;
    running_ = false;
    awaitingAnswer_ = false;
    dropped_ = false;
    resuming_ = false;
    returning_ = false;
    folder_.clear();
    charset_ = std::nullopt;
    security_ = SessionSecurity();
    timer_.stop();
    keepAlive_.stop();
}

void SftpSession::stop()
{
    if (running_ && worker_) worker_->requestStop();
}

// --- Trust and login ---------------------------------------------------------

void SftpSession::onHostKey(const HostKeyFacts &facts)
{
    hostKey_ = facts;
    security_.fingerprint = facts.fingerprint;
    security_.keyType = facts.keyType;
    if (facts.known == HostKeyFacts::Known::Trusted || fingerprintMatches(presetFingerprint_, facts.fingerprint))
        return post([](SftpWorker *worker) { worker->trustHostKey(false); });
    if (!presetFingerprint_.isEmpty())
        return failLocally(sftpText(SftpText::HostKeyNotTrusted).arg(login_.host), false);
    awaitingAnswer_ = true;
    timer_.stop();
    CertificateQuestion question;
    question.host = facts.host;
    question.port = facts.port;
    question.keyType = facts.keyType;
    question.fingerprint = facts.fingerprint;
    question.previousFingerprint = facts.previousFingerprint;
    emit certificateQuestion(question);
}

void SftpSession::answerCertificate(bool trust)
{
    if (!awaitingAnswer_ || loggedIn_ || !worker_) return;
    awaitingAnswer_ = false;
    touch();
    if (!trust) return failLocally(sftpText(SftpText::HostKeyNotTrusted).arg(login_.host), false);
    post([](SftpWorker *worker) { worker->trustHostKey(true); });
}

void SftpSession::answerPassphrase(const QString &passphrase, bool given)
{
    if (!awaitingAnswer_ || !worker_) return;
    awaitingAnswer_ = false;
    touch();
    const std::optional<QString> answer = given ? std::optional<QString>(passphrase) : std::nullopt;
    post([answer](SftpWorker *worker) { worker->answerPassphrase(answer); });
}

void SftpSession::onLoggedIn(const QString &cipher, const QString &folder)
{
    loggedIn_ = true;
    folder_ = folder;
    security_.encrypted = true;
    security_.protocol = QStringLiteral("SSH");
    security_.cipher = cipher;
    reach(TransferState::Connected);
    if (resuming_ && !droppedFolder_.isEmpty() && droppedFolder_ != folder) {
        returning_ = true;
        const TransferCommand back = TransferCommand::changeDir(droppedFolder_);
        return post([back, keep = keepEntries_](SftpWorker *worker) { worker->run(back, keep); });
    }
    resuming_ = false;
    runCommand();
}

// --- Commands and their ends ---------------------------------------------------

void SftpSession::runCommand()
{
    resuming_ = false;
    post([command = command_, keep = keepEntries_](SftpWorker *worker) { worker->run(command, keep); });
}

void SftpSession::onEnded(const SftpOutcome &outcome)
{
    if (!running_) return;
    if (returning_) {
        returning_ = false;
        if (outcome.kind != SftpOutcome::Kind::Completed) {
            const QString why = ftp::engineText(ftp::EngineText::CannotReturnToFolder).arg(droppedFolder_, outcome.text);
            return failLocally(why, false);
        }
        folder_ = outcome.folder;
        reached_ = TransferState::Connected;   // the command's own states follow
        return runCommand();
    }
    // A command sent to a session the server had dropped meanwhile goes again, once,
    // when nothing answered it.
    if (outcome.sessionLost && retryable_ && reached_ < TransferState::Receiving && loggedIn_) {
        const TransferCommand command = command_;
        dropped_ = true;
        droppedFolder_ = folder_;
        loggedIn_ = false;
        return start(login_, command);
    }
    retryable_ = false;
    folder_ = outcome.folder.isEmpty() ? folder_ : outcome.folder;
    if (outcome.charset) charset_ = *outcome.charset;
    replyCode_ = outcome.code;
    replyText_ = outcome.text;
    if (outcome.listing) {
        listing_ = std::move(*outcome.listing);
        answer_ = listing_.text();
    }
    if (!outcome.answer.isEmpty()) answer_ = outcome.answer;
    switch (outcome.kind) {
    case SftpOutcome::Kind::Completed:
        reach(TransferState::Receiving);
        reach(TransferState::ResponseReceived);
        finish(true);
        return emit commandCompleted();
    case SftpOutcome::Kind::Stopped:
        finish(true);
        return emit commandStopped();
    case SftpOutcome::Kind::Failed:
        finish(!outcome.sessionLost && loggedIn_);
        return emit commandFailed();
    }
}

void SftpSession::onIdleCheckFailed()
{
    if (running_) return;   // the command in hand finds out for itself
    const QString folder = folder_;
    abort();
    dropped_ = true;
    droppedFolder_ = folder;
}

void SftpSession::reach(int state)
{
    if (state <= reached_) return;
    reached_ = state;
    if (resuming_ && state < TransferState::Requesting) return;   // a silent reconnection
    if (returning_) return;
    emit stateReached(state);
}

void SftpSession::failLocally(const QString &why, bool keepSession)
{
    replyCode_ = 0;
    replyText_ = why;
    finish(keepSession && loggedIn_);
    emit commandFailed();
}

void SftpSession::finish(bool keepSession)
{
    if (!keepSession) {
        const SessionSecurity security = security_;
        abort();
        security_ = security;   // still shown for the command that just ended
        return;
    }
    running_ = false;
    timer_.stop();
    if (keepAliveMs_ > 0) keepAlive_.start(keepAliveMs_);
}

void SftpSession::touch()
{
    if (running_ && timeoutMs_ > 0 && !awaitingAnswer_) timer_.start(timeoutMs_);
}

void SftpSession::onTimeout()
{
    if (!running_) return;
    failLocally(ftp::engineText(ftp::EngineText::NoAnswerWithin).arg(timeoutMs_ / 1000.0), false);
}

void SftpSession::sendKeepAlive()
{
    if (running_ || !loggedIn_) return;
    post([](SftpWorker *worker) { worker->keepAlive(); });
    if (keepAliveMs_ > 0) keepAlive_.start(keepAliveMs_);
}

} // namespace corvexo::sftp
