#pragma once
// One of the queue's sessions: logged in once and reused for every item it
// is given. It runs one item at a time as a short chain of commands: the
// target's facts, the question about an existing target, the transfer
// itself (continuing a part where one is kept), and the finished file put in
// place under its name. It decides nothing about retries: it reports.

#include "connection/transfer_session.h"
#include "queue_item.h"
#include "queue_rules.h"

#include <QHash>
#include <QObject>
#include <functional>
#include <memory>

namespace corvexo::queue {

struct WorkOrder {
    qsizetype index = -1;
    Direction direction = Direction::Download;
    ItemKind kind = ItemKind::File;
    QString local;
    QString remote;
    FileFacts source;
    ExistingChoice existing = ExistingChoice::Ask;   // Ask: existingTarget() is asked
    bool continueParts = false;   // a part kept by an earlier attempt is continued
    bool makeParents = false;     // a folder's missing parents are made first (an upload's root)
};

enum class Outcome { Done, Skipped, Failed, Stopped };

struct WorkResult {
    Outcome outcome = Outcome::Done;
    QString reason;
    FailureFacts failure;
    // A download done into its part: it is done once the part took the target's name.
    QString part;
    QString target;
};

class QueueWorker : public QObject {
    Q_OBJECT
public:
    QueueWorker(std::unique_ptr<TransferSession> session, const SessionLogin &login, QObject *parent = nullptr);

    void run(const WorkOrder &order);
    bool busy() const { return order_.index >= 0; }
    qsizetype item() const { return order_.index; }
    // The answer to existingTarget().
    void answer(ExistingChoice choice);
    // Ends the item in hand; finishedItem() with Stopped follows. A kept part stays.
    void stop();
    void answerCertificate(bool trust);
    TransferSession *session() const { return session_.get(); }

signals:
    void existingTarget(qsizetype index, const corvexo::queue::FileFacts &source, const corvexo::queue::FileFacts &target);
    void progressed(qsizetype index, qint64 bytes);
    void finishedItem(qsizetype index, const corvexo::queue::WorkResult &result);
    void certificateQuestion(const corvexo::CertificateQuestion &question);

private:
    enum class Ended { Completed, Failed, Stopped };
    using Then = std::function<void()>;
    void command(const TransferCommand &command, Then onCompleted, std::function<void()> onFailed = {});
    void onSessionEnded(Ended how);
    void end(Outcome outcome, const QString &reason = {});
    void endFailed();
    void decide(const FileFacts &target, std::function<void(ExistingAction)> then);

    void download();
    void startDownload(const QString &target, const QString &part, qint64 offset);
    void upload();
    void uploadChecked();   // asks about an existing target first
    void lookUpRemote(std::function<void(std::optional<FileFacts>)> then);
    void startUpload(qint64 offset);
    void makeFolder();
    void makeRemoteFolders(QStringList paths);

    std::unique_ptr<TransferSession> session_;
    SessionLogin login_;
    WorkOrder order_;
    Then onCompleted_;
    std::function<void()> onFailed_;
    std::function<void(ExistingChoice)> onAnswer_;
    qint64 offset_ = 0;
    bool trustRefused_ = false;
    bool stopping_ = false;
    // Remote folders listed to learn about existing targets: name -> facts.
    QHash<QString, QHash<QString, FileFacts>> remoteFolders_;
};

} // namespace corvexo::queue

Q_DECLARE_METATYPE(corvexo::queue::FileFacts)
Q_DECLARE_METATYPE(corvexo::queue::WorkResult)
