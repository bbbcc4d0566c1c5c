#include "ftp_data_channel.h"

#include "files/file_writing.h"

#include <QSignalBlocker>

namespace corvexo::ftp {

FtpDataChannel::FtpDataChannel(QObject *parent) : QObject(parent)
{
    connect(&socket_, &QTcpSocket::connected, this, &FtpDataChannel::onConnected);
    connect(&socket_, &QSslSocket::encrypted, this, &FtpDataChannel::onReady);
    connect(&socket_, &QSslSocket::sslErrors, this, [this](const QList<QSslError> &) {
        // The user judged the control connection's certificate; the data must come from the same one.
        if (!controlCertificate_.isNull() && socket_.peerCertificate() == controlCertificate_) socket_.ignoreSslErrors();
    });
    connect(&socket_, &QTcpSocket::readyRead, this, &FtpDataChannel::receive);
    connect(&socket_, &QTcpSocket::bytesWritten, this, [this] {
        emit activity();
        if (!done_) sendMore();
    });
    connect(&socket_, &QTcpSocket::disconnected, this, &FtpDataChannel::onDisconnected);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &FtpDataChannel::onError);
}

void FtpDataChannel::receiveInto(QIODevice *sink, qint64 maxBytes, qint64 pieceBytes)
{
    sink_ = sink;
    maxBytes_ = maxBytes;
    // Bounded, so a slow disk cannot make the socket buffer grow without end.
    // Over TLS smaller: each read of the encrypted bytes gets a fresh buffer of that size, and
    // below the allocator's mmap threshold those come from reused memory, not new pages.
    socket_.setReadBufferSize(tls_ ? qMin(TlsReadBufferBytes, pieceBytes) : pieceBytes);
}

void FtpDataChannel::sendFrom(QIODevice *source)
{
    source_ = source;
}

void FtpDataChannel::useTls(const QSslConfiguration &config, const QSslCertificate &controlCertificate)
{
    tls_ = true;
    controlCertificate_ = controlCertificate;
    if (sink_) socket_.setReadBufferSize(TlsReadBufferBytes);
    socket_.setSslConfiguration(config);
}

void FtpDataChannel::beginTls()
{
    if (!tls_ || tlsAllowed_) return;
    tlsAllowed_ = true;
    if (socket_.state() == QAbstractSocket::ConnectedState) socket_.startClientEncryption();
}

void FtpDataChannel::adopt(qintptr descriptor)
{
    if (!socket_.setSocketDescriptor(descriptor)) return fail(socket_.errorString());
    onConnected();
}

void FtpDataChannel::onConnected()
{
    if (!tls_) onReady();
    else if (tlsAllowed_) socket_.startClientEncryption();
}

void FtpDataChannel::onReady()
{
    if (source_) sendMore();
}

void FtpDataChannel::connectTo(const QHostAddress &address, quint16 port)
{
    socket_.connectToHost(address, port);
}

void FtpDataChannel::abort()
{
    done_ = true;
    const QSignalBlocker quiet(&socket_);
    socket_.abort();
}

void FtpDataChannel::receive()
{
    if (done_ || !sink_) return;
    // One buffer for the whole transfer: no allocation per piece.
    if (buffer_.size() != ChunkBytes) buffer_.resize(ChunkBytes);
    while (socket_.bytesAvailable() > 0) {
        const qint64 got = socket_.read(buffer_.data(), ChunkBytes);
        if (got <= 0) break;
        transferred_ += got;
        if (transferred_ > maxBytes_) return fail(QStringLiteral("The server sent more data than expected."));
        if (!writeAll(*sink_, buffer_.constData(), got))
            return fail(QStringLiteral("Cannot write the received data: ") + sink_->errorString());
    }
    emit activity();
}

void FtpDataChannel::sendMore()
{
    if (socket_.state() != QAbstractSocket::ConnectedState || (tls_ && !socket_.isEncrypted())) return;
    while (!sourceAtEnd_ && socket_.bytesToWrite() < WriteWindowBytes) {
        const QByteArray chunk = source_->read(ChunkBytes);
        if (chunk.isEmpty()) {
            if (!source_->atEnd()) return fail(QStringLiteral("Cannot read the local file: ") + source_->errorString());
            sourceAtEnd_ = true;
            break;
        }
        transferred_ += chunk.size();
        socket_.write(chunk);
    }
    // disconnectFromHost sends what is still queued, then closes.
    if (sourceAtEnd_) socket_.disconnectFromHost();
}

void FtpDataChannel::onDisconnected()
{
    if (done_) return;
    if (sink_) {
        receive();
        if (done_) return;
    } else if (source_ && !sourceAtEnd_) {
        return fail(QStringLiteral("The server closed the data connection before the file was sent."));
    }
    done_ = true;
    emit finished();
}

void FtpDataChannel::onError(QAbstractSocket::SocketError error)
{
    // The normal end of a transfer the server sends: handled by onDisconnected().
    if (error == QAbstractSocket::RemoteHostClosedError) {
        // Over TLS this is the server's close_notify; some servers (vsftpd) wait for ours
        // before they close, and the socket would never report the close by itself.
        if (tls_ && !done_) {
            if (sink_) receive();
            socket_.disconnectFromHost();
            onDisconnected();
        }
        return;
    }
    fail(socket_.errorString());
}

void FtpDataChannel::fail(const QString &why)
{
    if (done_) return;
    abort();
    emit failed(why);
}

} // namespace corvexo::ftp
