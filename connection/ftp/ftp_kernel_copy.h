#pragma once
// Moving a plain download's bytes from its socket into the local file inside
// the kernel, without passing them through the program's memory: splice()
// through a pipe. Whatever the system refuses goes back to the caller, which
// copies from there on as before; that path then meets, and reports, the same
// failure in its own words. (Uploads copy: sendfile() from a file not yet in
// the page cache read it ahead too little and took twice as long.)

#include <QByteArray>
#include <QtGlobal>

namespace corvexo::ftp {

// One round of moving: how many bytes reached their destination, and why it stopped.
struct KernelCopyStep {
    qint64 moved = 0;
    bool atEnd = false;     // the socket was closed
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

} // namespace corvexo::ftp
