#include "ftp_download_file.h"

#include "files/file_writing.h"

#include <QThread>
#include <QThreadPool>

#include <fcntl.h>

namespace corvexo::ftp {

FtpDownloadFile::FtpDownloadFile(const QString &targetPath, QObject *parent)
    : QObject(parent), file_(std::make_shared<QSaveFile>(targetPath))
{
}

// A commit still running keeps its own reference to the file and ends by itself.
FtpDownloadFile::~FtpDownloadFile() = default;

bool FtpDownloadFile::open()
{
    return openForWriting(*file_);
}

void FtpDownloadFile::startWriteback()
{
    constexpr qint64 stepBytes = 32 * 1024 * 1024;
    const qint64 written = file_->pos();
    if (written - writebackFrom_ < stepBytes || writebackRunning_->load() || !file_->flush()) return;
#ifdef SYNC_FILE_RANGE_WRITE
    // Even starting the writing can wait for the disk's queue, so a pool thread does it;
    // it holds the file so the descriptor stays open.
    writebackRunning_->store(true);
    QThreadPool::globalInstance()->start(
        [file = file_, running = writebackRunning_, fd = file_->handle(), from = writebackFrom_, to = written] {
            ::sync_file_range(fd, from, to - from, SYNC_FILE_RANGE_WRITE);
            running->store(false);
        });
#endif
    writebackFrom_ = written;
}

void FtpDownloadFile::commit()
{
    struct Outcome {
        bool ok = false;
        QString error;
    };
    auto outcome = std::make_shared<Outcome>();
    QThread *worker = QThread::create([file = file_, outcome] {
        outcome->ok = commitChecked(*file);
        outcome->error = file->errorString();
    });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &QThread::finished, this, [this, outcome] { emit committed(outcome->ok, outcome->error); });
    worker->start();
}

} // namespace corvexo::ftp
