#include "ftp_download_file.h"

#include "files/file_writing.h"

#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>

#include <fcntl.h>

namespace corvexo::ftp {

FtpDownloadFile::FtpDownloadFile(const QString &targetPath, QObject *parent)
    : QObject(parent), file_(std::make_shared<QSaveFile>(targetPath))
{
}

FtpDownloadFile::FtpDownloadFile(const QString &partPath, qint64 keepBytes, QObject *parent)
    : QObject(parent), file_(std::make_shared<QFile>(partPath)), keepBytes_(keepBytes)
{
}

// A commit still running keeps its own reference to the file and ends by itself.
FtpDownloadFile::~FtpDownloadFile() = default;

bool FtpDownloadFile::open()
{
    if (keepBytes_ < 0) return openForWriting(static_cast<QSaveFile &>(*file_));
    if (!openContinuing(static_cast<QFile &>(*file_), keepBytes_)) return false;
    startsAt_ = file_->pos();
    return true;
}

bool FtpDownloadFile::restartFromZero()
{
    startsAt_ = 0;
    writebackFrom_ = 0;
    return file_->resize(0) && file_->seek(0);
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
    // On a pool thread: one thread per file would cost more than a small file's whole commit.
    // The watcher goes with this object, so a commit that ends after it touches nothing.
    auto promise = std::make_shared<QPromise<Outcome>>();
    auto *watcher = new QFutureWatcher<Outcome>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        const Outcome outcome = watcher->result();
        watcher->deleteLater();
        emit committed(outcome.ok, outcome.error);
    });
    watcher->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([file = file_, promise, continuing = keepBytes_ >= 0] {
        // A partial file is made durable by the caller, which names it, many files at a time.
        const bool ok = continuing ? file->flush() && file->error() == QFileDevice::NoError
                                   : commitChecked(static_cast<QSaveFile &>(*file));
        promise->addResult(Outcome {ok, file->errorString()});
        promise->finish();
    });
}

} // namespace corvexo::ftp
