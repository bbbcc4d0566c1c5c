#pragma once
// The transfer queue: items found by the walkers, handed to its own sessions
// (each logged in once and reused), passing faults tried again after a
// growing pause, the existing-target question asked one at a time, and the
// unfinished queue kept on disk. Any protocol's session can be plugged in
// through the factory. Knows nothing of windows: they watch its signals.

#include "connection/transfer_session.h"
#include "file_placer.h"
#include "local_walker.h"
#include "queue_model.h"
#include "queue_rules.h"
#include "queue_saver.h"
#include "queue_worker.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

namespace corvexo::queue {

using SessionFactory = std::function<std::unique_ptr<TransferSession>()>;

class RemoteWalker;

// A target that exists, and what is known of both files.
struct ExistingQuestion {
    qsizetype index = -1;
    QString source;
    QString target;
    FileFacts sourceFacts;
    FileFacts targetFacts;
};

class TransferQueue : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultRetryPauseMs = 2000;

    TransferQueue(SessionFactory factory, const SessionLogin &login, QObject *parent = nullptr);
    ~TransferQueue() override;

    void setParallelSessions(int sessions);
    void setExistingChoice(ExistingChoice choice) { existing_ = choice; }   // Ask: the question is asked
    void setRetryPauseMs(int ms) { retryPauseMs_ = ms; }
    // Parts kept by an earlier run are continued rather than started again.
    void setContinueParts(bool on) { continueParts_ = on; }
    // Where the unfinished queue is kept while it runs; empty: not kept.
    void setSavePath(const QString &path) { savePath_ = path; }
    QString savePath() const { return savePath_; }

    // A remote file or folder (its whole tree) to a local path.
    void addDownload(const QString &remote, const QString &local);
    // A local file or folder (its whole tree) to a remote path.
    void addUpload(const QString &local, const QString &remote);
    // A remote file, or a folder with everything in it (bottom-up).
    void addDelete(const QString &remote);
    // A remote link, deleted as itself: it is never entered, so what it points at stays.
    void addLinkDelete(const QString &remote);
    // The jobs and items of a saved queue; parts of it are continued.
    void restore(const QueueModel &saved);

    void stopItem(qsizetype index);
    void stopAll();        // nothing waiting starts; running items end
    void retryFailed();
    // Both leave the parts of downloads they let go of nowhere: those are removed.
    void clearFinished();
    // Finished items (failed ones among them) leave the queue; only while it stands still.
    void removeItems(const QList<qsizetype> &indexes);
    void answerExisting(ExistingChoice choice, bool forTheRest);
    void answerCertificate(bool trust);

    const QueueModel &model() const { return model_; }
    bool isRunning() const { return !idle_; }
    // How many sessions have run at least one item.
    int sessionsUsed() const { return sessionsUsed_; }

signals:
    void started();   // the queue runs (again): the Transfers window opens on it
    void itemsAdded(qsizetype first, qsizetype count);
    void itemChanged(qsizetype index);
    void existingQuestion(const corvexo::queue::ExistingQuestion &question);
    void certificateQuestion(const corvexo::CertificateQuestion &question);
    void itemFinished(qsizetype index);
    void finished();

private:
    quint32 addJob(Direction direction, const QString &local, const QString &remote);
    void walkNext();
    void onFound(quint32 job, const QList<WalkedEntry> &entries);
    void onWalkFailed(quint32 job, const QString &reason, const WalkedEntry &entry);
    void onWalked(quint32 job);
    void append(const QueueItem &item);
    void pump();
    qsizetype nextRunnable();
    QueueWorker *idleWorker();
    void give(QueueWorker *worker, qsizetype index);
    void onItemFinished(QueueWorker *worker, qsizetype index, const WorkResult &result);
    void onPlaced(qsizetype index, const QString &reason);
    void onExistingTarget(QueueWorker *worker, qsizetype index, const FileFacts &source, const FileFacts &target);
    void askNext();
    void setState(qsizetype index, ItemState state, const QString &reason = {});
    void checkFinished();
    void afterRemoval();
    void markRunning();
    void save();

    SessionFactory factory_;
    SessionLogin login_;
    QueueModel model_;
    int parallel_ = 2;
    ExistingChoice existing_ = ExistingChoice::Ask;
    int retryPauseMs_ = DefaultRetryPauseMs;
    bool continueParts_ = false;
    bool stopped_ = false;
    bool idle_ = true;
    QString savePath_;
    QTimer saveTimer_;
    QueueSaver saver_;   // a long queue takes a while to write: never in one go on this thread

    std::vector<std::unique_ptr<QueueWorker>> workers_;
    FilePlacer placer_;
    int sessionsUsed_ = 0;
    QSet<QueueWorker *> pausedWorkers_;   // holding an item until its next attempt
    QList<quint32> walksPending_;
    std::unique_ptr<LocalWalker> localWalker_;
    std::unique_ptr<RemoteWalker> remoteWalker_;
    QList<QueueItem> heldFolders_;        // a deletion's folders, removed once their contents went
    qsizetype cursor_ = 0;                // items before it are all started
    qsizetype runningBarrier_ = -1;       // an upload's folder being made: nothing after it starts
    QList<QPointer<QueueWorker>> asking_; // workers waiting for the existing-target answer, first asked first
};

} // namespace corvexo::queue

Q_DECLARE_METATYPE(corvexo::queue::ExistingQuestion)
