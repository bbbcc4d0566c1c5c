#include "early_writeback.h"

#include <QThreadPool>

#include <fcntl.h>
#include <unistd.h>

namespace corvexo {

void EarlyWriteback::advance(QFileDevice &file)
{
#ifdef SYNC_FILE_RANGE_WRITE
    const qint64 written = file.pos();
    if (written - from_ < StepBytes || running_->load() || !file.flush()) return;
    const int fd = ::fcntl(file.handle(), F_DUPFD_CLOEXEC, 0);
    if (fd < 0) return;
    running_->store(true);
    QThreadPool::globalInstance()->start([fd, from = from_, to = written, running = running_] {
        ::sync_file_range(fd, from, to - from, SYNC_FILE_RANGE_WRITE);
        ::close(fd);
        running->store(false);
    });
    from_ = written;
#else
    Q_UNUSED(file);
#endif
}

} // namespace corvexo
