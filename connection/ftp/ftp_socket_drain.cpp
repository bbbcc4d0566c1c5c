#include "ftp_socket_drain.h"

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace corvexo::ftp {

FtpSocketDrain::FtpSocketDrain(int descriptor, QObject *parent)
    : QObject(parent), descriptor_(descriptor), notifier_(descriptor, QSocketNotifier::Read)
{
    ::shutdown(descriptor_, SHUT_WR);
    connect(&notifier_, &QSocketNotifier::activated, this, &FtpSocketDrain::readAndDrop);
    bound_.setSingleShot(true);
    connect(&bound_, &QTimer::timeout, this, &FtpSocketDrain::end);
    bound_.start(BoundMs);
}

FtpSocketDrain::~FtpSocketDrain()
{
    notifier_.setEnabled(false);
    ::close(descriptor_);
}

void FtpSocketDrain::readAndDrop()
{
    char dropped[4096];
    for (;;) {
        const ssize_t got = ::recv(descriptor_, dropped, sizeof dropped, MSG_DONTWAIT);
        if (got > 0) continue;
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        return end();   // the server closed its side, or the connection is gone
    }
}

void FtpSocketDrain::end()
{
    notifier_.setEnabled(false);
    bound_.stop();
    deleteLater();
}

} // namespace corvexo::ftp
