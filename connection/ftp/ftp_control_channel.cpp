#include "ftp_control_channel.h"

#include <QSignalBlocker>

namespace corvexo::ftp {

FtpControlChannel::FtpControlChannel(QObject *parent) : QObject(parent)
{
    connect(&socket_, &QTcpSocket::connected, this, &FtpControlChannel::connected);
    connect(&socket_, &QTcpSocket::readyRead, this, &FtpControlChannel::readReplies);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &FtpControlChannel::onError);
    connect(&socket_, &QSslSocket::encrypted, this, &FtpControlChannel::encrypted);
    connect(&socket_, &QSslSocket::sslErrors, this, [this](const QList<QSslError> &errors) {
        sslErrors_ = errors;
        socket_.ignoreSslErrors();
    });
    connect(&socket_, &QTcpSocket::disconnected, this, [this] {
        const quint64 generation = generation_;
        readReplies();
        if (generation == generation_) emit closed();
    });
}

void FtpControlChannel::connectTo(const QHostAddress &address, quint16 port)
{
    abort();
    refusedOldTls_ = false;
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket_.connectToHost(address, port);
}

void FtpControlChannel::connectEncrypted(const QHostAddress &address, quint16 port, const QString &peerName)
{
    abort();
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    useTlsConfiguration(peerName);
    socket_.connectToHostEncrypted(address.toString(), port, peerName);
}

void FtpControlChannel::startEncryption(const QString &peerName)
{
    useTlsConfiguration(peerName);
    socket_.startClientEncryption();
}

void FtpControlChannel::useTlsConfiguration(const QString &peerName)
{
    sslErrors_.clear();
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setProtocol(QSsl::TlsV1_2OrLater);
    // Kept, so the data connections can resume this session.
    config.setSslOption(QSsl::SslOptionDisableSessionPersistence, false);
    socket_.setSslConfiguration(config);
    socket_.setPeerVerifyName(peerName);
}

QString FtpControlChannel::tlsVersion() const
{
    switch (socket_.sessionProtocol()) {
    case QSsl::TlsV1_2: return QStringLiteral("TLS 1.2");
    case QSsl::TlsV1_3: return QStringLiteral("TLS 1.3");
    default: return QStringLiteral("TLS");
    }
}

void FtpControlChannel::send(const QString &line)
{
    socket_.write(line.toUtf8() + "\r\n");
}

void FtpControlChannel::send(const QByteArray &line)
{
    socket_.write(line + "\r\n");
}

void FtpControlChannel::abort()
{
    ++generation_;
    reader_ = FtpReplyReader();
    sslErrors_.clear();
    const QSignalBlocker quiet(&socket_);   // our own close is not the server's
    socket_.abort();
    socket_.setSslConfiguration(QSslConfiguration::defaultConfiguration());
}

void FtpControlChannel::readReplies()
{
    const quint64 generation = generation_;
    const QByteArray bytes = socket_.readAll();
    if (bytes.isEmpty()) return;
    emit activity();
    if (generation != generation_) return;
    const bool sound = reader_.feed(bytes);
    while (generation == generation_ && reader_.hasReply()) emit replied(reader_.takeReply());
    if (!sound && generation == generation_) {
        const QString why = reader_.errorText();
        abort();
        emit failed(why);
    }
}

void FtpControlChannel::onError(QAbstractSocket::SocketError error)
{
    // A closed connection is reported by disconnected(), after the last reply was read.
    if (error == QAbstractSocket::RemoteHostClosedError) return;
    const QString why = socket_.errorString();
    // OpenSSL's words for a server whose highest version is below our lowest (TLS 1.2).
    refusedOldTls_ = error == QAbstractSocket::SslHandshakeFailedError
        && (why.contains(u"unsupported protocol") || why.contains(u"protocol version"));
    abort();
    emit failed(why);
}

} // namespace corvexo::ftp
