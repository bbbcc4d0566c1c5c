#pragma once
// Texts about a session's encryption that the main string table lacks: the
// questions about a certificate the system does not trust and about a login
// in clear text, and the lock's tooltip. English or Japanese like the table.

#include "connection/transfer_facts.h"

#include <QString>

namespace corvexo {

QString certificateQuestionText(const CertificateQuestion &question);
QString plainLoginQuestionText(const PlainLoginQuestion &question);
QString securityTooltipText(const SessionSecurity &security);
// The open lock's tooltip: a logged-in session that is not encrypted.
QString plainSessionTooltipText();
// Told instead of an error when the user did not trust the certificate.
QString certificateRefusedText();

} // namespace corvexo
