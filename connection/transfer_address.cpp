#include "transfer_address.h"

#include <QHostAddress>

namespace corvexo {

namespace {

std::optional<TransferScheme> schemeNamed(const QString &name)
{
    const QString lower = name.toLower();
    if (lower == u"ftp") return TransferScheme::Ftp;
    if (lower == u"ftpes") return TransferScheme::Ftpes;
    if (lower == u"ftps") return TransferScheme::Ftps;
    if (lower == u"sftp") return TransferScheme::Sftp;
    return std::nullopt;
}

std::optional<quint16> portNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 5) return std::nullopt;
    for (const QChar c : text)
        if (c < u'0' || c > u'9') return std::nullopt;
    const int port = text.toInt();
    if (port < 1 || port > 65535) return std::nullopt;
    return quint16(port);
}

bool isIpv6(const QString &text)
{
    return QHostAddress(text).protocol() == QAbstractSocket::IPv6Protocol;
}

bool isIpv4(const QString &text)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() != 4) return false;
    for (const QString &part : parts) {
        bool ok = false;
        if (part.isEmpty() || part.size() > 3 || part.toInt(&ok) > 255 || !ok) return false;
    }
    return true;
}

// Labels of letters (any script), digits, "-" and "_", joined by dots; one final dot allowed.
bool isHostName(QString name)
{
    if (name.endsWith(u'.')) name.chop(1);
    if (name.isEmpty() || name.size() > 253) return false;
    bool numeric = true;
    for (const QString &label : name.split(u'.')) {
        if (label.isEmpty() || label.size() > 63 || label.startsWith(u'-') || label.endsWith(u'-')) return false;
        for (const QChar c : label) {
            if (!c.isLetterOrNumber() && c != u'-' && c != u'_') return false;
            if (!c.isDigit()) numeric = false;
        }
    }
    // Digits and dots only: an IPv4 address, or nothing that can be looked up.
    return !numeric || isIpv4(name);
}

struct HostAndPort {
    QString host;
    QString port;   // empty: none in the host text
};

// The host part after the scheme: "name", "name:port", "[v6]", "[v6]:port" or a bare IPv6 address.
std::optional<HostAndPort> splitHost(const QString &text)
{
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close < 0) return std::nullopt;
        const QString after = text.mid(close + 1);
        if (!after.isEmpty() && !after.startsWith(u':')) return std::nullopt;
        const HostAndPort parts{text.mid(1, close - 1), after.mid(1)};
        if (!isIpv6(parts.host) || (!after.isEmpty() && parts.port.isEmpty())) return std::nullopt;
        return parts;
    }
    if (text.count(u':') > 1) {
        if (!isIpv6(text)) return std::nullopt;
        return HostAndPort{text, {}};
    }
    const qsizetype colon = text.indexOf(u':');
    const HostAndPort parts{colon < 0 ? text : text.left(colon), colon < 0 ? QString() : text.mid(colon + 1)};
    if (!isHostName(parts.host) || (colon >= 0 && parts.port.isEmpty())) return std::nullopt;
    return parts;
}

} // namespace

quint16 defaultPortOf(TransferScheme scheme)
{
    switch (scheme) {
    case TransferScheme::Ftps: return 990;
    case TransferScheme::Sftp: return 22;
    case TransferScheme::Ftp:
    case TransferScheme::Ftpes: break;
    }
    return 21;
}

QString schemeName(TransferScheme scheme)
{
    switch (scheme) {
    case TransferScheme::Ftpes: return QStringLiteral("ftpes");
    case TransferScheme::Ftps: return QStringLiteral("ftps");
    case TransferScheme::Sftp: return QStringLiteral("sftp");
    case TransferScheme::Ftp: break;
    }
    return QStringLiteral("ftp");
}

std::optional<TransferAddress> parseTransferAddress(const QString &hostText, const QString &portField)
{
    QString rest = hostText.trimmed();
    TransferAddress address;
    const qsizetype separator = rest.indexOf(QStringLiteral("://"));
    if (separator >= 0) {
        const std::optional<TransferScheme> scheme = schemeNamed(rest.left(separator));
        if (!scheme) return std::nullopt;
        address.scheme = *scheme;
        rest = rest.mid(separator + 3);
    }
    if (rest.endsWith(u'/')) rest.chop(1);
    const std::optional<HostAndPort> parts = splitHost(rest);
    if (!parts) return std::nullopt;
    address.host = parts->host;
    const QString portText = !parts->port.isEmpty() ? parts->port : portField.trimmed();
    if (portText.isEmpty()) {
        address.port = defaultPortOf(address.scheme);
    } else {
        const std::optional<quint16> port = portNumber(portText);
        if (!port) return std::nullopt;
        address.port = *port;
    }
    return address;
}

} // namespace corvexo
