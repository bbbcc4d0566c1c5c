#pragma once
// Active mode, for servers that refuse passive mode: a listener on the
// control connection's own address that takes the one data connection the
// server opens, and the EPRT and PORT arguments that announce it. Only a
// connection from the server's own address is taken; any other is closed.

#include <QHostAddress>
#include <QTcpServer>

namespace corvexo::ftp {

class FtpActiveListener : public QTcpServer {
    Q_OBJECT
public:
    using QTcpServer::QTcpServer;
    // The control connection's peer: the one address the data may come from.
    void setExpectedPeer(const QHostAddress &peer) { expectedPeer_ = peer; }

signals:
    void accepted(qintptr descriptor);   // once; the listener then stops listening

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    QHostAddress expectedPeer_;
};

// Whether two addresses name the same host (an IPv4-mapped IPv6 address is its IPv4 one).
bool sameHost(const QHostAddress &a, const QHostAddress &b);

// "|1|127.0.0.1|50123|" or "|2|::1|50123|".
QByteArray eprtArgument(const QHostAddress &address, quint16 port);
// "127,0,0,1,195,203"; empty for an address that is not IPv4.
QByteArray portArgument(const QHostAddress &address, quint16 port);

} // namespace corvexo::ftp
