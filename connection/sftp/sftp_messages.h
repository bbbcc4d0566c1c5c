#pragma once
// The SFTP engine's own texts, in the user interface's language; %1, %2, ...
// are filled in with arg(). Texts both engines say come from ftp_messages.h.

#include "app/strings/string_table.h"

#include <QString>

namespace corvexo::sftp {

enum class SftpText {
    HandshakeFailed,       // %1 host, %2 port, %3 reason
    NotSftp,
    MalformedPacket,
    ChannelClosed,
    HostKeyNotTrusted,     // %1 host
    LoginRefused,          // %1 user, %2 the methods tried
    MethodAgent,
    MethodKeyFile,         // %1 path
    MethodPassword,
    MethodKeyboard,
    MethodNone,
    NotAFolder,            // %1 name
    ServerStatus,          // %1 status number
};

QString sftpText(SftpText which);
QString sftpTextIn(UiLanguage language, SftpText which);

} // namespace corvexo::sftp
