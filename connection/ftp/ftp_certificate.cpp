#include "ftp_certificate.h"

namespace corvexo::ftp {

namespace {

QString normalized(QString fingerprint)
{
    fingerprint.remove(u':');
    fingerprint.remove(u' ');
    return fingerprint.toLower();
}

} // namespace

QString certificateFingerprint(const QSslCertificate &certificate)
{
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper());
}

bool sameFingerprint(const QString &a, const QString &b)
{
    const QString left = normalized(a);
    return !left.isEmpty() && left == normalized(b);
}

CertificateVerdict judgeCertificate(bool systemTrusted, const QString &fingerprint, const QString &remembered,
                                    const QString &preset)
{
    if (systemTrusted) return CertificateVerdict::Trusted;
    if (!preset.isEmpty()) return sameFingerprint(preset, fingerprint) ? CertificateVerdict::Trusted : CertificateVerdict::Refused;
    return sameFingerprint(remembered, fingerprint) ? CertificateVerdict::Trusted : CertificateVerdict::Ask;
}

CertificateQuestion certificateQuestionFor(const QString &host, quint16 port, const QSslCertificate &certificate,
                                           const QList<QSslError> &errors, const QString &remembered)
{
    CertificateQuestion question;
    question.host = host;
    question.port = port;
    question.subject = certificate.subjectDisplayName();
    question.issuer = certificate.issuerDisplayName();
    question.validFrom = certificate.effectiveDate();
    question.validTo = certificate.expiryDate();
    question.fingerprint = certificateFingerprint(certificate);
    if (!remembered.isEmpty() && !sameFingerprint(remembered, question.fingerprint))
        question.previousFingerprint = remembered;
    for (const QSslError &error : errors)
        if (!question.problems.contains(error.errorString())) question.problems << error.errorString();
    return question;
}

} // namespace corvexo::ftp
