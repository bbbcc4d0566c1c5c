#include "ftp_kernel_copy.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace corvexo::ftp {

namespace {

// A larger pipe means fewer calls per megabyte; the default stays where refused.
constexpr int PipeBytes = 1024 * 1024;

} // namespace

KernelReceiver::~KernelReceiver()
{
    for (const int fd : pipe_)
        if (fd >= 0) ::close(fd);
}

bool KernelReceiver::openPipe()
{
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    ::fcntl(pipe_[1], F_SETPIPE_SZ, PipeBytes);
    return true;
}

KernelCopyStep KernelReceiver::move(int socketFd, int fileFd, qint64 limit)
{
    KernelCopyStep step;
    if (pipe_[0] < 0 && !openPipe()) {
        step.refused = true;
        return step;
    }
    while (step.moved < limit) {
        const ssize_t in = ::splice(socketFd, nullptr, pipe_[1], nullptr, size_t(std::min<qint64>(limit - step.moved, PipeBytes)),
                                    SPLICE_F_MOVE | SPLICE_F_NONBLOCK);
        if (in == 0) {
            step.atEnd = true;
            break;
        }
        if (in < 0) {
            if (errno == EINTR) continue;
            // A reset is seen by the socket itself on its next read, as without this path.
            step.refused = errno != EAGAIN && errno != EWOULDBLOCK;
            break;
        }
        for (ssize_t left = in; left > 0;) {
            const ssize_t out = ::splice(pipe_[0], nullptr, fileFd, nullptr, size_t(left), SPLICE_F_MOVE);
            if (out < 0 && errno == EINTR) continue;
            if (out <= 0) {
                // The disk is full, the file too large, or the file system takes no splice:
                // what is in the pipe goes back to be written the usual way.
                step.stranded.resize(left);
                qsizetype got = 0;
                while (got < left) {
                    const ssize_t n = ::read(pipe_[0], step.stranded.data() + got, size_t(left - got));
                    if (n < 0 && errno == EINTR) continue;
                    if (n <= 0) break;
                    got += n;
                }
                step.stranded.truncate(got);
                step.refused = true;
                return step;
            }
            left -= out;
            step.moved += out;
        }
    }
    return step;
}

} // namespace corvexo::ftp
