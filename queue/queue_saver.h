#pragma once
// Keeps the unfinished queue on disk without holding up the thread that runs
// it: the model is taken as it stands (its lists are shared, not copied), and
// turned into text and written on a thread of its own, one save at a time. A
// save asked for while another is written waits, replacing any older one still
// waiting, so the file always ends as the last state asked for.

#include "connection/transfer_session.h"
#include "queue_model.h"

#include <QObject>
#include <QThreadPool>
#include <optional>

namespace corvexo::queue {

class QueueSaver : public QObject {
    Q_OBJECT
public:
    explicit QueueSaver(QObject *parent = nullptr);
    // A save still waiting is written before the saver goes: no state asked for is lost.
    ~QueueSaver() override;

    void save(const SessionLogin &login, const QueueModel &model, const QString &path);
    bool idle() const { return !writing_ && !waiting_; }

signals:
    // One save ended; failure is empty on success, else the reason.
    void saved(const QString &path, const QString &failure);

private:
    struct Snapshot {
        SessionLogin login;
        QueueModel model;
        QString path;
    };
    void write(Snapshot snapshot);
    void onWritten(const QString &path, const QString &failure);

    std::optional<Snapshot> waiting_;
    bool writing_ = false;
    QThreadPool pool_;
};

} // namespace corvexo::queue
