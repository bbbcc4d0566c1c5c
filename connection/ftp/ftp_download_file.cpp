#include "ftp_download_file.h"

#include <QThread>

namespace corvexo::ftp {

FtpDownloadFile::FtpDownloadFile(const QString &targetPath, QObject *parent)
    : QObject(parent), file_(std::make_shared<QSaveFile>(targetPath))
{
}

// A commit still running keeps its own reference to the file and ends by itself.
FtpDownloadFile::~FtpDownloadFile() = default;

bool FtpDownloadFile::open()
{
    return file_->open(QIODevice::WriteOnly);
}

void FtpDownloadFile::commit()
{
    struct Outcome {
        bool ok = false;
        QString error;
    };
    auto outcome = std::make_shared<Outcome>();
    QThread *worker = QThread::create([file = file_, outcome] {
        outcome->ok = file->commit();
        outcome->error = file->errorString();
    });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &QThread::finished, this, [this, outcome] { emit committed(outcome->ok, outcome->error); });
    worker->start();
}

} // namespace corvexo::ftp
