#pragma once
// The host text of a setting and its port field, read the way users type them
// and the common clients write them: "sftp://host", "ftp://host",
// "ftpes://host", "ftps://host", or a plain host name, IPv4 address or
// bracketed IPv6 address (taken as ftp://). A ":port" in the host text wins
// over the port field; an empty port field means the protocol's own port.

#include <QMetaType>
#include <QString>

#include <optional>

namespace corvexo {

enum class TransferScheme {
    Ftp,     // FTP, TLS when the server offers it
    Ftpes,   // FTP with explicit TLS required: a server refusing AUTH TLS is not logged in to
    Ftps,    // FTP over implicit TLS
    Sftp,    // SSH file transfer
};

struct TransferAddress {
    TransferScheme scheme = TransferScheme::Ftp;
    QString host;        // to look up: no brackets around an IPv6 address
    quint16 port = 21;
    friend bool operator==(const TransferAddress &, const TransferAddress &) = default;
};

quint16 defaultPortOf(TransferScheme scheme);
// "ftp", "ftpes", "ftps" or "sftp".
QString schemeName(TransferScheme scheme);

// Nothing when the host text names no host, an unknown scheme, a path or a user,
// or when a port (in either place) is no number from 1 to 65535.
std::optional<TransferAddress> parseTransferAddress(const QString &hostText, const QString &portField = {});

} // namespace corvexo
