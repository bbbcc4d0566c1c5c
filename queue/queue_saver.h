#pragma once
// Keeps the unfinished queue on disk without holding up the thread that runs
// it. The text is made from the live model a slice of items per turn of the
// event loop (a copy of a long queue would cost as much as one long pause),
// then written on a thread of its own, one file at a time. A save asked for
// meanwhile starts the text again; one asked for while a file is written
// waits for it, so the file always ends as the last state asked for.

#include "connection/transfer_session.h"
#include "queue_model.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <optional>

namespace corvexo::queue {

class QueueSaver : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype ItemsPerSlice = 4000;

    // model must outlive the saver.
    explicit QueueSaver(const QueueModel *model, QObject *parent = nullptr);
    // A save still being made or waiting is finished and written before the saver goes.
    ~QueueSaver() override;

    void save(const SessionLogin &login, const QString &path);
    bool idle() const { return !making_ && !writing_ && !waiting_; }

signals:
    // One file was written or removed; failure is empty on success, else the reason.
    void saved(const QString &path, const QString &failure);

private:
    struct Written {
        QByteArray text;   // null: nothing to keep, the file goes
        QString path;
    };
    void makeSlice();
    void finishMaking();
    void write(Written file);
    void onWritten(const QString &path, const QString &failure);

    const QueueModel *model_;
    QTimer slices_;
    bool making_ = false;
    QByteArray text_;
    QString path_;
    qsizetype next_ = 0;
    bool writing_ = false;
    std::optional<Written> waiting_;
    QThreadPool pool_;
};

} // namespace corvexo::queue
