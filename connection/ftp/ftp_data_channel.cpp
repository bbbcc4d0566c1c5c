#include "ftp_data_channel.h"

#include "files/file_writing.h"
#include "ftp_messages.h"
#include "ftp_socket_drain.h"

#include <QFile>
#include <QSignalBlocker>

#include <sys/ioctl.h>
#include <sys/socket.h>
#include <fcntl.h>
#include <unistd.h>

namespace corvexo::ftp {

namespace {

// A listing arrives in many small pieces, and each wake-up costs more than
// parsing its piece: the socket is asked to wake us once this much waits
// (or the server closed the connection).
constexpr int GatherBytes = 16 * 1024;

bool setWakeMark(int fd, int bytes)
{
    return fd >= 0 && ::setsockopt(fd, SOL_SOCKET, SO_RCVLOWAT, &bytes, sizeof bytes) == 0;
}

// Moved inside the kernel per turn of the event loop, so that a fast peer cannot hold the window.
constexpr qint64 DirectRoundBytes = 1024 * 1024;
// While a download goes straight into its file, the socket itself reads only this much
// per turn. Less than that means it took all there was: a small file never needs more.
constexpr qint64 NoticeBytes = 64 * 1024;

} // namespace

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
    connect(&socket_, &QSslSocket::encryptedBytesWritten, this, [this] {
        if (!done_ && source_) sendMore();
    });
    connect(&socket_, &QTcpSocket::disconnected, this, &FtpDataChannel::onDisconnected);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &FtpDataChannel::onError);
}

FtpDataChannel::~FtpDataChannel()
{
    if (lingering_ >= 0) ::close(lingering_);
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
    if (source_ == source) return;
    source_ = source;
    sendMore();   // at once when the connection already stands
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
    if (socket_.state() == QAbstractSocket::ConnectedState) startHandshake();
}

void FtpDataChannel::startHandshake()
{
    // A TLS server says nothing before our hello: bytes already waiting are someone else's.
    int waiting = 0;
    if (socket_.bytesAvailable() > 0 || (::ioctl(int(socket_.socketDescriptor()), FIONREAD, &waiting) == 0 && waiting > 0))
        return fail(engineText(EngineText::UnencryptedData));
    socket_.startClientEncryption();
}

void FtpDataChannel::adopt(qintptr descriptor)
{
    if (!socket_.setSocketDescriptor(descriptor)) return fail(socket_.errorString());
    onConnected();
}

void FtpDataChannel::onConnected()
{
    if (!tls_) onReady();
    else if (tlsAllowed_) startHandshake();
}

void FtpDataChannel::onReady()
{
    secured_ = tls_;
    // Encrypted bytes are made in the program's memory: those are copied as ever.
    if (!tls_) startDirect();
    if (!tls_ && sink_ && !receiver_) gathering_ = setWakeMark(int(socket_.socketDescriptor()), GatherBytes);
    if (source_) sendMore();
}

bool FtpDataChannel::takeBytesWaitingBelowMark()
{
    if (!gathering_ || done_) return false;
    const int fd = int(socket_.socketDescriptor());
    int waiting = 0;
    if (::ioctl(fd, FIONREAD, &waiting) != 0 || waiting <= 0) return false;
    setWakeMark(fd, 1);
    gathering_ = false;
    return true;
}

void FtpDataChannel::startDirect()
{
    auto *into = qobject_cast<QFileDevice *>(sink_);
    if (into && into->handle() >= 0 && into->openMode().testFlag(QIODevice::Unbuffered)) {
        receiver_ = std::make_unique<KernelReceiver>();
        socket_.setReadBufferSize(NoticeBytes);
    }
}

void FtpDataChannel::connectTo(const QHostAddress &address, quint16 port)
{
    socket_.connectToHost(address, port);
}

void FtpDataChannel::abort()
{
    done_ = true;
    if (lingering_ >= 0) ::close(std::exchange(lingering_, -1));
    const QSignalBlocker quiet(&socket_);
    socket_.abort();
}

void FtpDataChannel::receive()
{
    if (done_) return;
    // Before our handshake a protected connection carries nothing: such bytes come from
    // someone other than the server we judged, and are never taken as data.
    if (tls_ && !secured_ && socket_.bytesAvailable() > 0) return fail(engineText(EngineText::UnencryptedData));
    if (!sink_) return;
    // One buffer for the whole transfer: no allocation per piece.
    if (buffer_.size() != ChunkBytes) buffer_.resize(ChunkBytes);
    const qint64 before = transferred_;
    while (socket_.bytesAvailable() > 0) {
        const qint64 got = socket_.read(buffer_.data(), ChunkBytes);
        if (got <= 0) break;
        transferred_ += got;
        if (transferred_ > maxBytes_) return fail(engineText(EngineText::TooMuchData));
        if (!writeAll(*sink_, buffer_.constData(), got))
            return fail(engineText(EngineText::CannotWriteReceived).arg(sink_->errorString()));
    }
    if (receiver_ && transferred_ - before >= NoticeBytes && !receiveDirect()) return;
    emit activity();
}

bool FtpDataChannel::receiveDirect()
{
    const qintptr descriptor = socket_.socketDescriptor();
    if (descriptor < 0) return true;
    auto *file = static_cast<QFileDevice *>(sink_);
    const qint64 limit = std::min(maxBytes_ - transferred_, DirectRoundBytes - 1) + 1;   // one more shows an excess
    const KernelCopyStep step = receiver_->move(int(descriptor), file->handle(), limit);
    transferred_ += step.moved;
    // The file's own idea of its position follows what was written beside it.
    if (step.moved > 0 && !file->seek(file->pos() + step.moved)) {
        fail(engineText(EngineText::CannotWriteReceived).arg(file->errorString()));
        return false;
    }
    if (step.refused) {
        receiver_.reset();
        socket_.setReadBufferSize(4 * ChunkBytes);
        transferred_ += step.stranded.size();
        if (!writeAll(*sink_, step.stranded.constData(), step.stranded.size())) {
            fail(engineText(EngineText::CannotWriteReceived).arg(sink_->errorString()));
            return false;
        }
    }
    if (transferred_ <= maxBytes_) return true;
    fail(engineText(EngineText::TooMuchData));
    return false;
}

void FtpDataChannel::sendMore()
{
    if (socket_.state() != QAbstractSocket::ConnectedState || (tls_ && !socket_.isEncrypted())) return;
    while (!sourceAtEnd_ && socket_.bytesToWrite() < WriteWindowBytes) {
        const QByteArray chunk = source_->read(ChunkBytes);
        if (chunk.isEmpty()) {
            if (!source_->atEnd()) return fail(engineText(EngineText::CannotReadLocal).arg(source_->errorString()));
            sourceAtEnd_ = true;
            break;
        }
        transferred_ += chunk.size();
        socket_.write(chunk);
    }
    // Closed only once every byte, encrypted ones included, went out: a close with a last
    // TLS record still queued lost it on some servers while the transfer was reported done.
    if (sourceAtEnd_ && socket_.bytesToWrite() == 0 && socket_.encryptedBytesToWrite() == 0)
        closeAfterSending();
}

void FtpDataChannel::closeAfterSending()
{
    if (lingering_ >= 0 || socket_.state() != QAbstractSocket::ConnectedState) return;
    // The socket's own close would close the connection at once, with whatever the server
    // sent after the handshake (a session ticket) unread: a reset. A second descriptor keeps
    // the connection open past it, so that it ends in order (see FtpSocketDrain).
    lingering_ = ::fcntl(int(socket_.socketDescriptor()), F_DUPFD_CLOEXEC, 0);
    socket_.disconnectFromHost();   // over TLS, our close_notify goes out first
}

void FtpDataChannel::onDisconnected()
{
    if (done_) return;
    if (tls_ && !secured_ && socket_.bytesAvailable() > 0) return fail(engineText(EngineText::UnencryptedData));
    if (sink_) {
        receive();
        if (done_) return;
    } else if (source_ && !sourceAtEnd_) {
        return fail(engineText(EngineText::DataClosedEarly));
    }
    if (lingering_ >= 0) new FtpSocketDrain(std::exchange(lingering_, -1), parent());   // owned by our owner: it outlives us
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
