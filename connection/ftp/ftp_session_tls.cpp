// TLS for a session: AUTH TLS after the greeting, the certificate judged
// before anything else is sent, and PBSZ 0 / PROT P after the login so that
// every data connection is encrypted too.

#include "ftp_session.h"

#include "ftp_certificate.h"
#include "ftp_control_channel.h"
#include "ftp_messages.h"

namespace corvexo::ftp {

void FtpSession::askForTls()
{
    request(QStringLiteral("AUTH TLS"), [this](const FtpReply &reply) {
        if (reply.code == 421) return failWith(reply);
        // A refusal: the server speaks plain FTP only.
        if (reply.code != 234) return sendUser();
        // Nothing is sent until the handshake is done and the certificate judged.
        control_->startEncryption(login_.host);
    });
}

void FtpSession::onEncrypted()
{
    if (!running_) return;
    const QList<QSslError> errors = control_->certificateErrors();
    const QSslCertificate certificate = control_->peerCertificate();
    const QString fingerprint = certificateFingerprint(certificate);
    const QString remembered = trustStore_.fingerprintFor(login_.host, login_.port);
    switch (judgeCertificate(errors.isEmpty(), fingerprint, remembered, presetFingerprint_)) {
    case CertificateVerdict::Trusted: return sendUser();
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
    sendUser();
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
