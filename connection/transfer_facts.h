#pragma once
// Facts the transfer control gives beside its states and its answer text:
// the parsed entries of the last listing, the progress of the running
// command, the security of the session, and the questions it needs answered.

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QStringList>

namespace corvexo {

// One entry of the last listing, as the listing text names it.
struct RemoteEntry {
    QString name;          // without the trailing "/" of a folder
    bool isFolder = false;
    qint64 size = -1;      // -1: the server gave none
    QDateTime modified;    // invalid: the server gave none; UTC, or the server's clock at offset 0
    bool isLink = false;   // listed as a link (a folder walk does not enter it)
};

// Progress of the running command: bytes of a transfer, or entries of a listing.
struct TransferProgress {
    enum class Unit { Bytes, Entries };
    Unit unit = Unit::Bytes;
    qint64 done = 0;
    qint64 total = -1;     // -1: not known
};

// How the session travels.
struct SessionSecurity {
    bool encrypted = false;
    QString protocol;      // "TLS 1.3", "SSH"
    QString fingerprint;   // SHA-256 of the server's certificate, hex with colons; of an SSH host key "SHA256:..."
    QString keyType;       // SSH only: the host key's type, "ED25519"
    QString cipher;        // SSH only: "aes128-gcm@openssh.com"
};

// A certificate, or an SSH host key, that the control cannot trust by itself; the
// window answers with answerCertificate(), and the control waits, sending nothing,
// until then.
struct CertificateQuestion {
    QString host;
    quint16 port = 0;
    QString subject;
    QString issuer;
    QDateTime validFrom;
    QDateTime validTo;
    QString fingerprint;          // SHA-256, hex with colons
    QString previousFingerprint;  // set when a remembered certificate changed
    QStringList problems;         // what is wrong with it, in the system's words
    QString keyType;              // set for an SSH host key ("ED25519"), whose fingerprint reads "SHA256:..."
};

// A login that would send the password in clear text: the window answers with
// answerPlainLogin(), and the control waits, sending nothing, until then.
struct PlainLoginQuestion {
    enum class Reason {
        TlsRefused,        // a host seen with TLS before now refuses it: perhaps an attack
        HandshakeFailed,   // the server accepted AUTH TLS but the TLS handshake failed
    };
    Reason reason = Reason::TlsRefused;
    QString host;
    quint16 port = 0;
    QString detail;        // the server's refusal or the handshake's error
};

} // namespace corvexo

Q_DECLARE_METATYPE(corvexo::CertificateQuestion)
Q_DECLARE_METATYPE(corvexo::PlainLoginQuestion)
Q_DECLARE_METATYPE(corvexo::TransferProgress)
