#pragma once
// Texts of the transfer control about how a session travels: TLS that a
// server refuses or cannot finish, a login in clear text that was not
// allowed, and a protocol this build does not speak. English or Japanese like
// the string table; %1, %2 are filled in with arg().

#include "app/strings/string_table.h"

#include <QString>

namespace corvexo {

enum class TransferText {
    TlsRequiredButRefused,   // %1 the server's reply
    TlsHandshakeFailed,      // %1 the handshake's error
    PlainLoginNotAllowed,
    ProtocolUnavailable,     // %1 the scheme, e.g. "sftp"
};

QString transferText(TransferText which);
QString transferTextIn(UiLanguage language, TransferText which);

} // namespace corvexo
