// TLS for a session: AUTH TLS after the greeting (or TLS from the first byte
// with implicit TLS), the certificate judged before anything else is sent, and
// PBSZ 0 / PROT P after the login so that every data connection is encrypted
// too. A server that refuses TLS, or cannot finish its handshake, is logged in
// to in clear text only where that cannot be an attacker stripping the TLS of
// a server that had it, and then only with the user's word.

#include "ftp_session.h"

#include "connection/transfer_messages.h"
#include "ftp_certificate.h"
#include "ftp_control_channel.h"
#include "ftp_messages.h"

namespace corvexo::ftp {

void FtpSession::askForTls()
{
    // The user allowed clear text after a failed handshake: it would only fail again.
    if (plainAllowed_ == PlainLoginQuestion::Reason::HandshakeFailed) return sendUser();
    request(QStringLiteral("AUTH TLS"), [this](const FtpReply &reply) {
        if (reply.code == 421) return failWith(reply);
        if (reply.code != 234) return onTlsRefused(reply);
        // Nothing is sent until the handshake is done and the certificate judged.
        handshaking_ = true;
        control_->startEncryption(login_.host);
    });
}

bool FtpSession::hadTlsBefore() const
{
    return !presetFingerprint_.isEmpty() || !trustStore_.fingerprintFor(login_.host, login_.port).isEmpty()
        || tlsHosts_.contains(login_.host, login_.port);
}

void FtpSession::onTlsRefused(const FtpReply &reply)
{
    const QString refusal = QString::number(reply.code) + u' ' + reply.text();
    if (login_.scheme == TransferScheme::Ftpes)
        return failLocally(transferText(TransferText::TlsRequiredButRefused).arg(refusal), false);
    if (plainAllowed_ || !hadTlsBefore()) return sendUser();   // a server that speaks plain FTP only
    askPlainLogin(PlainLoginQuestion::Reason::TlsRefused, refusal);
}

void FtpSession::onHandshakeFailed(const QString &why)
{
    handshaking_ = false;
    control_->abort();
    // Where TLS is required, or was there before, a failed handshake may be an attack.
    if (login_.scheme != TransferScheme::Ftp || hadTlsBefore())
        return failLocally(transferText(TransferText::TlsHandshakeFailed).arg(why), false);
    askPlainLogin(PlainLoginQuestion::Reason::HandshakeFailed, why);
}

void FtpSession::askPlainLogin(PlainLoginQuestion::Reason reason, const QString &detail)
{
    awaitingPlain_ = reason;
    timer_.stop();   // the user may take their time
    emit plainLoginQuestion(PlainLoginQuestion{reason, login_.host, login_.port, detail});
}

void FtpSession::answerPlainLogin(bool allow)
{
    if (!awaitingPlain_ || !running_) return;
    const PlainLoginQuestion::Reason reason = *std::exchange(awaitingPlain_, std::nullopt);
    touch();
    if (!allow) return failLocally(transferText(TransferText::PlainLoginNotAllowed), false);
    plainAllowed_ = reason;
    if (reason == PlainLoginQuestion::Reason::TlsRefused) return sendUser();
    // The failed handshake left no connection: a new one, in clear text.
    open();
}

void FtpSession::onEncrypted()
{
    if (!running_) return;
    handshaking_ = false;
    const QList<QSslError> errors = control_->certificateErrors();
    const QSslCertificate certificate = control_->peerCertificate();
    const QString fingerprint = certificateFingerprint(certificate);
    const QString remembered = trustStore_.fingerprintFor(login_.host, login_.port);
    switch (judgeCertificate(errors.isEmpty(), fingerprint, remembered, presetFingerprint_)) {
    case CertificateVerdict::Trusted:
        // Kept, so that this host refusing TLS later is not taken for a plain server.
        if (errors.isEmpty()) tlsHosts_.remember(login_.host, login_.port);
        return trusted();
    case CertificateVerdict::Refused:
        return failLocally(engineText(EngineText::CertificateNotGiven)
                               .arg(fingerprint), false);
    case CertificateVerdict::Ask:
        awaitingTrust_ = true;
        timer_.stop();   // the user may take their time
        emit certificateQuestion(certificateQuestionFor(login_.host, login_.port, certificate, errors, remembered));
        return;
    }
}

void FtpSession::answerCertificate(bool trust)
{
    if (!awaitingTrust_ || !running_) return;
    awaitingTrust_ = false;
    touch();
    if (!trust) {
        return failLocally(engineText(EngineText::CertificateNotTrusted),
                           false);
    }
    // Trusted for this session even when it cannot be remembered.
    QString why;
    if (!trustStore_.remember(login_.host, login_.port, certificateFingerprint(control_->peerCertificate()), &why))
        emit trustNotSaved(trustStore_.path(), why);
    trusted();
}

void FtpSession::trusted()
{
    tlsTrusted_ = true;
    logInOnceReady();
}

void FtpSession::logInOnceReady()
{
    // With implicit TLS the greeting and the trust may come in either order.
    if (greeted_ && tlsTrusted_) sendUser();
}

void FtpSession::protectData(Step next)
{
    request(QStringLiteral("PBSZ 0"), [this, next](const FtpReply &pbsz) {
        if (!pbsz.isPositive()) return failWith(pbsz);
        request(QStringLiteral("PROT P"), [this, next](const FtpReply &prot) {
            if (!prot.isPositive()) return failWith(prot);
            dataProtected_ = true;
            next();
        });
    });
}

SessionSecurity FtpSession::security() const
{
    if (!loggedIn_ || !control_->isEncrypted()) return {};
    return {true, control_->tlsVersion(), certificateFingerprint(control_->peerCertificate())};
}

} // namespace corvexo::ftp
