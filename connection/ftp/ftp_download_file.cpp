#include "ftp_download_file.h"

#include "files/file_writing.h"

#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>

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
    writeback_.restartAt(startsAt_);
    return true;
}

bool FtpDownloadFile::restartFromZero()
{
    startsAt_ = 0;
    writeback_.restartAt(0);
    return file_->resize(0) && file_->seek(0);
}

void FtpDownloadFile::startWriteback()
{
    writeback_.advance(*file_);
}

void FtpDownloadFile::commit()
{
    if (keepBytes_ >= 0) {
        // A part is written unbuffered, and made durable by the caller, which names it, many
        // files at a time: nothing is left to wait for.
        const bool ok = file_->flush() && file_->error() == QFileDevice::NoError;
        return emit committed(ok, file_->errorString());
    }
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
    QThreadPool::globalInstance()->start([file = file_, promise] {
        const bool ok = commitChecked(static_cast<QSaveFile &>(*file));
        promise->addResult(Outcome {ok, file->errorString()});
        promise->finish();
    });
}

} // namespace corvexo::ftp
