#include "ftp_session.h"

#include "connection/transfer_control.h"
#include "ftp_control_channel.h"
#include "ftp_data_channel.h"
#include "ftp_download_file.h"
#include "ftp_link_probe.h"
#include "ftp_messages.h"
#include "ftp_reply_fields.h"

namespace corvexo::ftp {

FtpSession::FtpSession(QObject *parent) : TransferSession(parent), control_(new FtpControlChannel(this))
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &FtpSession::onTimeout);
    keepAlive_.setSingleShot(true);
    connect(&keepAlive_, &QTimer::timeout, this, &FtpSession::sendKeepAlive);
    for (QTimer *bound : {&stopWait_, &probeWait_}) bound->setSingleShot(true);
    connect(&stopWait_, &QTimer::timeout, this, &FtpSession::onStopUnanswered);
    connect(&probeWait_, &QTimer::timeout, this, &FtpSession::onProbeUnanswered);
    connect(control_, &FtpControlChannel::connected, this, [this] {
        peerReached_ = true;
        touch();
    });
    connect(control_, &FtpControlChannel::replied, this, &FtpSession::onReply);
    connect(control_, &FtpControlChannel::failed, this, &FtpSession::onControlFailed);
    connect(control_, &FtpControlChannel::closed, this, &FtpSession::onControlClosed);
    connect(control_, &FtpControlChannel::encrypted, this, &FtpSession::onEncrypted);
}

FtpSession::~FtpSession()
{
    abort();
    if (orderer_) {   // it uses nothing of ours, but must end before it is deleted
        orderer_->wait();
        delete orderer_.data();
    }
}

void FtpSession::setTimeout(int milliseconds)
{
    timeoutMs_ = milliseconds;
}

void FtpSession::start(const FtpLogin &login, const TransferCommand &command)
{
    command_ = command;
    running_ = true;
    reached_ = 0;
    replyCode_ = 0;
    replyText_.clear();
    answer_.clear();
    touch();
    keepAlive_.stop();
    retryable_ = isOpenFor(login);
    if (!(login == login_)) plainAllowed_.reset();
    if (isOpenFor(login)) {
        if (!keepAlivePending_) runCommand();   // otherwise once the NOOP's reply came
        return;
    }
    const bool resume = dropped_ && login == login_;
    const QString folder = droppedFolder_;
    const FtpCharset charset = charset_;
    const bool charsetKnown = charsetKnown_;
    abort();
    // The same server comes back with the same charset: the folder's name is sent as before.
    if (resume) {
        charset_ = charset;
        charsetKnown_ = charsetKnown;
    }
    running_ = true;
    touch();
    login_ = login;
    resuming_ = resume;
    droppedFolder_ = resume ? folder : QString();
    open();
}

void FtpSession::abort()
{
    ++epoch_;
    if (lookupId_ >= 0) QHostInfo::abortHostLookup(lookupId_);
    lookupId_ = -1;
    control_->abort();
    discardTransfer();
    loggedIn_ = false;
    running_ = false;
    epsvRefused_ = false;
    features_.clear();
    folder_.clear();
    folderBytes_.clear();
    charset_ = FtpCharset();
    charsetKnown_ = false;
    listedFolder_.reset();
    closingReply_.reset();
    changeSent_ = false;
    lookAfterDrop_ = false;
    awaitingTrust_ = false;
    awaitingPlain_.reset();
    dataProtected_ = false;
    handshaking_ = false;
    greeted_ = false;
    tlsTrusted_ = false;
    passiveRefused_ = false;
    keepAlive_.stop();
    keepAlivePending_ = false;
    dropped_ = false;
    resuming_ = false;
    onFinal_ = {};
    onPreliminary_ = {};
    timer_.stop();
    stopWait_.stop();
    probeWait_.stop();
}

// --- Opening the session -------------------------------------------------

void FtpSession::open()
{
    reach(TransferState::Resolving);
    lookupId_ = QHostInfo::lookupHost(login_.host, this, &FtpSession::onHostFound);
}

void FtpSession::onHostFound(const QHostInfo &info)
{
    lookupId_ = -1;
    if (!running_) return;
    addresses_ = info.addresses();
    if (info.error() != QHostInfo::NoError || addresses_.isEmpty())
        return failLocally(engineText(EngineText::HostNotFound).arg(login_.host), false);
    reach(TransferState::Resolved);
    lastConnectError_.clear();
    connectToNextAddress();
}

void FtpSession::connectToNextAddress()
{
    if (addresses_.isEmpty()) {
        return failLocally(engineText(EngineText::CannotConnect)
                               .arg(login_.host).arg(login_.port).arg(lastConnectError_), false);
    }
    reach(TransferState::Connecting);
    onFinal_ = [this](const FtpReply &reply) { onGreeting(reply); };
    peerReached_ = false;
    greeted_ = false;
    tlsTrusted_ = false;
    // Implicit TLS: the handshake comes first, and the greeting only after it.
    handshaking_ = login_.scheme == TransferScheme::Ftps;
    if (handshaking_) control_->connectEncrypted(addresses_.takeFirst(), login_.port, login_.host);
    else control_->connectTo(addresses_.takeFirst(), login_.port);
}

void FtpSession::onGreeting(const FtpReply &reply)
{
    if (reply.code != 220) return failWith(reply);
    greeted_ = true;
    if (login_.scheme == TransferScheme::Ftps) return logInOnceReady();
    askForTls();
}

void FtpSession::sendUser()
{
    // The anonymous account is "anonymous" on every server; some compare it case-sensitively,
    // and the window names it "Anonymous".
    const bool anonymous = login_.user.compare(u"anonymous", Qt::CaseInsensitive) == 0;
    request(QStringLiteral("USER ") + (anonymous ? QStringLiteral("anonymous") : login_.user),
            [this](const FtpReply &r) { onUserReply(r); });
}

void FtpSession::onUserReply(const FtpReply &reply)
{
    if (reply.code == 230) return afterLogin();
    if (reply.code != 331) return failWith(reply);
    QString password = login_.password;
    if (password.isEmpty() && login_.user.compare(u"anonymous", Qt::CaseInsensitive) == 0)
        password = QStringLiteral("anonymous@");
    request(QStringLiteral("PASS ") + password, [this](const FtpReply &r) { onPasswordReply(r); });
}

void FtpSession::onPasswordReply(const FtpReply &reply)
{
    if (reply.code == 230 || reply.code == 202) return afterLogin();
    failWith(reply);
}

void FtpSession::afterLogin()
{
    if (control_->isEncrypted() && !dataProtected_) return protectData([this] { afterLogin(); });
    loggedIn_ = true;
    reach(TransferState::Connected);
    request(QStringLiteral("FEAT"), [this](const FtpReply &feat) {
        features_ = featuresOfFeatReply(feat);
        auto typeAndFolder = [this] {
            request(QStringLiteral("TYPE I"), [this](const FtpReply &type) {
                if (!type.isPositive()) return failWith(type);
                learnFolder([this] { runCommand(); });
            });
        };
        // A refusal of OPTS UTF8 is harmless: names still travel as UTF-8.
        if (features_.contains(QStringLiteral("UTF8")))
            request(QStringLiteral("OPTS UTF8 ON"), [typeAndFolder](const FtpReply &) { typeAndFolder(); });
        else
            typeAndFolder();
    });
}

void FtpSession::learnFolder(Step next)
{
    request(QStringLiteral("PWD"), [this, next](const FtpReply &reply) {
        folderBytes_ = folderOfPwdReply(reply).value_or(QByteArray());
        folder_ = charset_.decode(folderBytes_);
        next();
    });
}

// --- Requests, replies and the end of a command -------------------------

void FtpSession::request(const QString &line, ReplyHandler onFinal, ReplyHandler onPreliminary)
{
    onFinal_ = std::move(onFinal);
    onPreliminary_ = std::move(onPreliminary);
    touch();
    control_->send(charset_.encode(line));
}

void FtpSession::onReply(const FtpReply &reply)
{
    // The time-out bounds each whole reply, so a reply dripped byte by byte cannot hold us.
    touch();
    replyCode_ = reply.code;
    replyText_ = reply.text();
    if (reply.code == 421) closingReply_ = reply;
    if (takeKeepAliveReply(reply)) return;
    if (!running_) return;   // nothing asked: a late or unsolicited reply
    if (reply.code == 421 && retryable_ && retryAfterDrop()) return;   // otherwise the 421 is the answer
    retryable_ = false;
    if (reply.isPreliminary()) {
        if (onPreliminary_) onPreliminary_(reply);
        return;
    }
    ReplyHandler handler = std::exchange(onFinal_, {});
    onPreliminary_ = {};
    if (handler) handler(reply);
}

void FtpSession::onControlFailed(const QString &why)
{
    if (!running_) return onIdleClose();
    if (!loggedIn_ && reached_ == TransferState::Connecting && !peerReached_) {
        // Try the host's next address, if it has one; from the event loop,
        // since the socket is not ready for a new attempt inside its own error signal.
        lastConnectError_ = why;
        const quint64 epoch = epoch_;
        QMetaObject::invokeMethod(this, [this, epoch] {
            if (epoch == epoch_ && running_) connectToNextAddress();
        }, Qt::QueuedConnection);
        return;
    }
    if (changeSent_ && loggedIn_ && retryAfterDrop()) return;
    if (control_->refusedOldTls()) return failLocally(engineText(EngineText::TlsTooOld), false);
    if (handshaking_) return onHandshakeFailed(why);
    failLocally(engineText(EngineText::ConnectionBroke).arg(why), false);
}

void FtpSession::onControlClosed()
{
    if (!running_) return onIdleClose();
    if (handshaking_) return onHandshakeFailed(engineText(EngineText::ServerClosed));
    if (retryAfterDrop()) return;
    if (closingReply_) {
        failWith(*std::exchange(closingReply_, std::nullopt));
        return;
    }
    failLocally(engineText(EngineText::ServerClosed), false);
}

void FtpSession::reach(int state)
{
    if (state <= reached_) return;
    reached_ = state;
    if (resuming_ && state < TransferState::Requesting) return;   // a silent reconnection
    emit stateReached(state);
}

void FtpSession::succeed()
{
    reach(TransferState::Receiving);
    reach(TransferState::ResponseReceived);
    finish(true);
    emit commandCompleted();
}

void FtpSession::failWith(const FtpReply &reply)
{
    replyCode_ = reply.code;
    replyText_ = reply.text();
    // 421: the server is closing the session, so it cannot be used again.
    finish(reply.code != 421 && loggedIn_);
    emit commandFailed();
}

void FtpSession::failLocally(const QString &why, bool keepSession)
{
    replyCode_ = 0;
    replyText_ = why;
    finish(keepSession && loggedIn_);
    emit commandFailed();
}

void FtpSession::finish(bool keepSession)
{
    if (!keepSession) {
        abort();
        return;
    }
    discardTransfer();
    onFinal_ = {};
    onPreliminary_ = {};
    changeSent_ = false;
    running_ = false;
    timer_.stop();
    stopWait_.stop();
    probeWait_.stop();
    if (keepAliveMs_ > 0) keepAlive_.start(keepAliveMs_);
}

void FtpSession::touch()
{
    if (running_ && timeoutMs_ > 0 && !awaitingTrust_ && !awaitingPlain_) timer_.start(timeoutMs_);
}

void FtpSession::onTimeout()
{
    if (!running_) return;
    if (data_ && data_->takeBytesWaitingBelowMark()) return touch();   // a slow listing, but moving
    if (handshaking_) return onHandshakeFailed(engineText(EngineText::NoAnswerWithin).arg(timeoutMs_ / 1000.0));
    failLocally(engineText(EngineText::NoAnswerWithin).arg(timeoutMs_ / 1000.0), false);
}

} // namespace corvexo::ftp
