#pragma once
// The FTP control connection: sends command lines and hands back whole
// replies, all driven by the socket's signals.

#include "ftp_reply.h"

#include <QHostAddress>
#include <QObject>
#include <QSslConfiguration>
#include <QSslSocket>

namespace corvexo::ftp {

class FtpControlChannel : public QObject {
    Q_OBJECT
public:
    explicit FtpControlChannel(QObject *parent = nullptr);

    void connectTo(const QHostAddress &address, quint16 port);
    // Implicit TLS: the handshake starts as soon as the connection stands.
    void connectEncrypted(const QHostAddress &address, quint16 port, const QString &peerName);
    void send(const QString &line);   // CR LF is added; the text travels as UTF-8
    void send(const QByteArray &line);   // the server's own bytes; CR LF is added
    void abort();                     // closes at once; no signal follows
    bool isConnected() const { return socket_.state() == QAbstractSocket::ConnectedState; }
    QHostAddress peerAddress() const { return socket_.peerAddress(); }
    QHostAddress localAddress() const { return socket_.localAddress(); }

    // TLS on the open connection (after the server's 234). Certificate problems
    // do not stop the handshake: they are kept for the session to judge.
    void startEncryption(const QString &peerName);
    bool isEncrypted() const { return socket_.isEncrypted(); }
    QList<QSslError> certificateErrors() const { return sslErrors_; }
    QSslCertificate peerCertificate() const { return socket_.peerCertificate(); }
    QSslConfiguration tlsConfiguration() const { return socket_.sslConfiguration(); }
    QString tlsVersion() const;
    // The last failure was a handshake with a server that offers only TLS 1.0 or 1.1.
    bool refusedOldTls() const { return refusedOldTls_; }

signals:
    void connected();
    void replied(const corvexo::ftp::FtpReply &reply);
    void failed(const QString &why);   // connecting failed, the connection broke, or the server broke the rules
    void closed();                     // the server closed the connection
    void activity();                   // bytes came in
    void encrypted();                  // the TLS handshake is done

private:
    void useTlsConfiguration(const QString &peerName);
    void readReplies();
    void onError(QAbstractSocket::SocketError error);

    QSslSocket socket_;
    QList<QSslError> sslErrors_;
    FtpReplyReader reader_;
    quint64 generation_ = 0;   // changes on abort, so a loop over old replies stops
    bool refusedOldTls_ = false;
};

} // namespace corvexo::ftp
