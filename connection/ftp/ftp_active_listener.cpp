#include "ftp_active_listener.h"

#include <sys/socket.h>
#include <unistd.h>

namespace corvexo::ftp {

namespace {

QHostAddress plain(const QHostAddress &address)
{
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);   // also an IPv4-mapped IPv6 address
    return isV4 ? QHostAddress(v4) : QHostAddress(address.toString().section(u'%', 0, 0));
}

QHostAddress peerOf(qintptr descriptor)
{
    sockaddr_storage address {};
    socklen_t length = sizeof address;
    if (::getpeername(int(descriptor), reinterpret_cast<sockaddr *>(&address), &length) != 0) return {};
    return QHostAddress(reinterpret_cast<const sockaddr *>(&address));
}

} // namespace

bool sameHost(const QHostAddress &a, const QHostAddress &b)
{
    return !a.isNull() && plain(a) == plain(b);
}

void FtpActiveListener::incomingConnection(qintptr descriptor)
{
    // Whoever connects first is not necessarily the server.
    if (!sameHost(peerOf(descriptor), expectedPeer_)) {
        ::close(int(descriptor));
        return;
    }
    close();
    emit accepted(descriptor);
}

QByteArray eprtArgument(const QHostAddress &address, quint16 port)
{
    const QHostAddress host = plain(address);
    const char *family = host.protocol() == QAbstractSocket::IPv4Protocol ? "1" : "2";
    return QByteArray("|") + family + '|' + host.toString().toLatin1() + '|' + QByteArray::number(port) + '|';
}

QByteArray portArgument(const QHostAddress &address, quint16 port)
{
    const QHostAddress host = plain(address);
    if (host.protocol() != QAbstractSocket::IPv4Protocol) return {};
    return host.toString().toLatin1().replace('.', ',') + ',' + QByteArray::number(port / 256) + ','
        + QByteArray::number(port % 256);
}

} // namespace corvexo::ftp
