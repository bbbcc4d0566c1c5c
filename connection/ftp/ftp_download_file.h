#pragma once
// The file a download is written into: a temporary file beside the target
// that replaces the target only on commit. Until then the target is
// untouched; destroying an uncommitted file leaves nothing behind.
// A continuing download writes into a partial file named by its caller
// instead, after the part it already holds; that file stays, whatever
// happens; commit only checks that every byte was written, and the caller
// makes it durable when it gives the file its name.

#include "files/early_writeback.h"

#include <QFile>
#include <QObject>
#include <QSaveFile>
#include <memory>

namespace corvexo::ftp {

class FtpDownloadFile : public QObject {
    Q_OBJECT
public:
    explicit FtpDownloadFile(const QString &targetPath, QObject *parent = nullptr);
    // Continues partPath after its first keepBytes.
    FtpDownloadFile(const QString &partPath, qint64 keepBytes, QObject *parent = nullptr);
    ~FtpDownloadFile() override;

    bool open();
    // Bytes already in the file before this download (0 unless continuing).
    qint64 startsAt() const { return startsAt_; }
    // Throws away what the partial file held, so the download starts from its beginning.
    bool restartFromZero();
    QString errorString() const { return file_->errorString(); }
    QIODevice *device() { return file_.get(); }
    // The system's reason when a write into the file failed; empty otherwise.
    QString writeError() const { return file_->error() == QFileDevice::NoError ? QString() : file_->errorString(); }

    // Starts the disk's writing of what was received so far, without waiting
    // for it, so that the flush at commit has little left to do.
    void startWriteback();

    // Flushes the data to disk and puts the file in place of the target. The
    // flush of a large file can take a long time, so it runs on a pool
    // thread and committed() reports the end on this object's thread. A part
    // (keepBytes given) is only checked, and committed() comes at once.
    void commit();

signals:
    void committed(bool ok, const QString &error);

private:
    struct Outcome {
        bool ok = false;
        QString error;
    };

    std::shared_ptr<QFileDevice> file_;
    qint64 keepBytes_ = -1;   // -1: a temporary file that replaces the target
    qint64 startsAt_ = 0;
    EarlyWriteback writeback_;
};

} // namespace corvexo::ftp
