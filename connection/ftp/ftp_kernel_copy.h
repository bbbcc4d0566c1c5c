#pragma once
// Moving a plain data connection's bytes between its socket and a local file
// inside the kernel, without passing them through the program's memory:
// splice() through a pipe for downloads, sendfile() for uploads. Whatever the
// system refuses goes back to the caller, which copies from there on as
// before; that path then meets, and reports, the same failure in its own words.

#include <QByteArray>
#include <QtGlobal>

namespace corvexo::ftp {

// One round of moving: how many bytes reached their destination, and why it stopped.
struct KernelCopyStep {
    qint64 moved = 0;
    bool atEnd = false;     // the socket was closed (download) or the file read to its end (upload)
    bool refused = false;   // the system refused a call: copy from here on
    QByteArray stranded;    // received bytes the file refused; they are still to be written
};

// Socket -> pipe -> file, at the file descriptor's own position.
class KernelReceiver {
public:
    KernelReceiver() = default;
    KernelReceiver(const KernelReceiver &) = delete;
    KernelReceiver &operator=(const KernelReceiver &) = delete;
    ~KernelReceiver();

    // Moves what the socket holds now, at most limit bytes; never waits for the socket.
    // The pipe is made on first use, so a transfer that never needs it costs none.
    KernelCopyStep move(int socketFd, int fileFd, qint64 limit);

private:
    bool openPipe();

    int pipe_[2] = {-1, -1};
};

// File -> socket from a given offset; the file descriptor's own position stays.
class KernelSender {
public:
    explicit KernelSender(int fileFd, qint64 offset) : fileFd_(fileFd), offset_(offset) {}

    // Sends until the socket is full, the file ends, or limit bytes went.
    KernelCopyStep send(int socketFd, qint64 limit);
    qint64 offset() const { return offset_; }

private:
    int fileFd_;
    qint64 offset_;
};

} // namespace corvexo::ftp
