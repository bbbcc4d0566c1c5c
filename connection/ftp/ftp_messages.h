#pragma once
// The FTP engine's own texts: what went wrong on the way to the server or on
// this machine, as opposed to the server's replies. In the user interface's
// language, English or Japanese; %1, %2, ... are filled in with arg().

#include "app/strings/string_table.h"

#include <QString>

namespace corvexo::ftp {

enum class EngineText {
    HostNotFound,          // %1 host
    CannotConnect,         // %1 host, %2 port, %3 reason
    ConnectionBroke,       // %1 reason
    ServerClosed,
    NoAnswerWithin,        // %1 seconds
    ReplyLineTooLong,
    MalformedReply,
    ReplyTooLong,
    EpsvNoPort,            // %1 the reply
    PasvNoPort,            // %1 the reply
    CannotWaitForData,     // %1 reason
    DataConnectionFailed,  // %1 reason
    DataClosedEarly,
    TooMuchData,
    CannotWriteReceived,   // %1 reason
    CannotReadLocal,       // %1 reason
    CannotReadLocalFile,   // %1 path, %2 reason
    ItIsAFolder,
    CannotReturnToFolder,  // %1 folder, %2 the reply
    ListingTooLong,        // %1 entries
    CertificateNotGiven,   // %1 fingerprint
    CertificateNotTrusted,
    UploadIncomplete,      // %1 remote name, %2 bytes on the server, %3 bytes sent
    UnencryptedData,
    ChangeMadeBeforeDrop,
    TlsTooOld,
    TrustFileTooLarge,     // %1 bytes
    NoSuchPart,            // a continued upload starts past the local file's end
};

QString engineText(EngineText which);
QString engineTextIn(UiLanguage language, EngineText which);

} // namespace corvexo::ftp
