#pragma once
// One passive data connection: receives a listing or a file into a device, or
// sends a file from one. Driven by the socket's signals; memory stays flat
// because at most one read buffer and one write window are held. Without TLS,
// a file's bytes go between the socket and the file inside the kernel.

#include "ftp_kernel_copy.h"

#include <QHostAddress>
#include <QIODevice>
#include <QObject>
#include <QSslConfiguration>
#include <QSslSocket>

#include <memory>

namespace corvexo::ftp {

class FtpDataChannel : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 ChunkBytes = 256 * 1024;
    static constexpr qint64 WriteWindowBytes = 1024 * 1024;
    static constexpr qint64 TlsReadBufferBytes = 64 * 1024;

    explicit FtpDataChannel(QObject *parent = nullptr);
    ~FtpDataChannel() override;

    // Everything received goes into sink; more than maxBytes is a failure. At most
    // pieceBytes go into it per event, so a sink that works on what it gets (a listing's
    // parser) holds the thread for a bounded time.
    void receiveInto(QIODevice *sink, qint64 maxBytes, qint64 pieceBytes = 4 * ChunkBytes);
    // source is read to its end and sent (from now, or once connected); the connection is
    // then ended the way TLS and TCP expect (close_notify, the write side shut, the
    // server's last bytes read), so that no reset makes the server lose the end of the file.
    void sendFrom(QIODevice *source);
    // Protects the connection with TLS, resuming the control connection's session
    // (config carries its ticket). Only the control's own certificate is accepted.
    void useTls(const QSslConfiguration &config, const QSslCertificate &controlCertificate);
    // The handshake starts once this was called and the connection stands: some
    // servers drop a data connection that speaks before the transfer command came.
    void beginTls();
    void connectTo(const QHostAddress &address, quint16 port);
    // Takes a connection the server opened to us (active mode).
    void adopt(qintptr descriptor);
    void abort();   // closes at once; no signal follows
    // A plain listing's socket wakes the program only once a good share of data
    // waits, not for every small piece. A slow server's bytes may then wait below
    // that mark: true when some do; they are taken from then on as they come.
    bool takeBytesWaitingBelowMark();

    qint64 transferredBytes() const { return transferred_; }

signals:
    void activity();                  // bytes moved
    void finished();                  // all data moved and the connection closed
    void failed(const QString &why);

private:
    void receive();
    void sendMore();
    void onDisconnected();
    void closeAfterSending();
    void onError(QAbstractSocket::SocketError error);
    void fail(const QString &why);
    void onReady();
    void onConnected();
    void startHandshake();
    void startDirect();
    bool receiveDirect();

    QSslSocket socket_;
    QSslCertificate controlCertificate_;
    bool tls_ = false;
    bool tlsAllowed_ = false;
    bool secured_ = false;     // our handshake is done (the socket forgets it once closed)
    QIODevice *sink_ = nullptr;
    QByteArray buffer_;
    QIODevice *source_ = nullptr;
    qint64 maxBytes_ = 0;
    qint64 transferred_ = 0;
    bool sourceAtEnd_ = false;
    bool done_ = false;
    std::unique_ptr<KernelReceiver> receiver_;
    bool gathering_ = false;   // the socket wakes us only once GatherBytes wait
    int lingering_ = -1;       // a second descriptor of a connection we end, kept past the socket's close
};

} // namespace corvexo::ftp
