#pragma once
// Judging a server's certificate: trusted by the system, remembered by the
// user, matching a fingerprint given beforehand, or a question for the user.

#include "connection/transfer_facts.h"

#include <QList>
#include <QSslCertificate>
#include <QSslError>

namespace corvexo::ftp {

// SHA-256 of the certificate, upper-case hex pairs joined by colons.
QString certificateFingerprint(const QSslCertificate &certificate);
// Fingerprints compared with colons, blanks and case ignored; empty never matches.
bool sameFingerprint(const QString &a, const QString &b);

enum class CertificateVerdict { Trusted, Ask, Refused };

// systemTrusted: the chain is trusted and the name matches. preset: a fingerprint
// given beforehand (then nothing is asked). remembered: the one the user trusted before.
CertificateVerdict judgeCertificate(bool systemTrusted, const QString &fingerprint, const QString &remembered,
                                    const QString &preset);

CertificateQuestion certificateQuestionFor(const QString &host, quint16 port, const QSslCertificate &certificate,
                                           const QList<QSslError> &errors, const QString &remembered);

} // namespace corvexo::ftp
