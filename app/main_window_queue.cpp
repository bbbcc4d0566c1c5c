// The main window's side of the transfer queue: the Transfers and Options
// windows, whole folders and selections handed to the queue of the current
// login, its questions, and the remote list listed again once it has run.

#include "app/main_window.h"

#include "app/existing_question.h"
#include "app/file_list_widget.h"
#include "app/message_box.h"
#include "app/options_window.h"
#include "app/queue_totals_feed.h"
#include "app/transfers_window.h"
#include "connection/certificate_messages.h"
#include "connection/transfer_address.h"
#include "connection/transfer_session_factory.h"
#include "local/local_paths.h"
#include "queue/queue_options.h"
#include "queue/queue_store.h"
#include "queue/transfer_queue.h"
#include "settings/settings_store.h"

#include <QFileInfo>
#include <QTimer>

#include <algorithm>

namespace corvexo {

namespace {

void applyOptions(queue::TransferQueue &queue, const queue::QueueOptions &options)
{
    queue.setParallelSessions(options.parallelSessions);
    queue.setExistingChoice(options.existingTargets);
}

} // namespace

SessionLogin Form1::queueLogin() const
{
    SessionLogin login;
    if (const auto address = parseTransferAddress(CurrentSetting[1], CurrentSetting[4])) {
        login.scheme = address->scheme;
        login.host = address->host;
        login.port = address->port;
    }
    login.user = CurrentSetting[3].isEmpty() ? QStringLiteral("Anonymous") : CurrentSetting[3];
    login.password = CurrentSetting[2];
    return login;
}

std::unique_ptr<TransferSession> Form1::newQueueSession() const
{
    return std::unique_ptr<TransferSession>(makeTransferSession(queueLogin().scheme, nullptr));
}

QString Form1::remotePathInCurrentFolder(const QString &name) const
{
    const QString folder = Inet1->currentFolder();
    if (folder.isEmpty()) return name;
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// Listed again only once the browsing session is free: its own command keeps its marks.
void Form1::refreshRemoteList()
{
    if (!Connected) return;
    if (Inet1->stillExecuting()) return QTimer::singleShot(500, this, &Form1::refreshRemoteList);
    Refr_Click();
}

queue::TransferQueue *Form1::transferQueue()
{
    return transferQueueFor(queueLogin());
}

queue::TransferQueue *Form1::transferQueueFor(const SessionLogin &login)
{
    if (queue_ && login != queueLogin_) {
        if (queue_->isRunning()) {
            // Another server's queue runs on in its own window; this server's work must never join it.
            queue_ = nullptr;
            transfers_ = nullptr;
        } else {
            // Another server's finished queue: the window showing it goes with it.
            if (transfers_) delete transfers_.data();
            delete queue_.data();
        }
    }
    if (!queue_) {
        const TransferScheme scheme = login.scheme;
        queue::TransferQueue *queue = new queue::TransferQueue(
            [scheme] { return std::unique_ptr<TransferSession>(makeTransferSession(scheme, nullptr)); }, login, this);
        queue_ = queue;
        queueLogin_ = login;
        applyOptions(*queue, queue::loadOptions());
        queue->setSavePath(queue::freeSavedQueuePath([this](const QString &path) {
            const QList<queue::TransferQueue *> queues = findChildren<queue::TransferQueue *>();
            return QFileInfo::exists(path) || std::any_of(queues.begin(), queues.end(), [&path](queue::TransferQueue *q) {
                return q->savePath() == path;
            });
        }));
        queueTotals_->watch(queue);
        connect(queue, &queue::TransferQueue::finished, this, [this] {
            if (std::exchange(refreshWhenQueueEnds_, false)) refreshRemoteList();
        });
        connect(queue, &queue::TransferQueue::started, this, [this, queue] {
            if (queue != queue_) return;
            TransfersWindow *window = transfersWindow();
            window->show();
            window->raise();
        });
        // Both questions are asked from the event loop, not inside the queue's signal, and answered to the queue that asked.
        const QPointer<queue::TransferQueue> asking = queue;
        connect(queue, &queue::TransferQueue::existingQuestion, this, [this, asking](const queue::ExistingQuestion &question) {
            QMetaObject::invokeMethod(this, [this, asking, question] { answerExistingTarget(asking, question); },
                                      Qt::QueuedConnection);
        });
        connect(queue, &queue::TransferQueue::certificateQuestion, this, [this, asking](const CertificateQuestion &question) {
            QMetaObject::invokeMethod(this, [this, asking, question] {
                const bool trust = askYesNoDefaultingToNo(this, certificateQuestionText(question));
                if (asking) asking->answerCertificate(trust);
            }, Qt::QueuedConnection);
        });
    }
    return queue_;
}

TransfersWindow *Form1::transfersWindow()
{
    // The queue at hand, even another server's that has ended, until new work replaces it.
    queue::TransferQueue *queue = queue_ ? queue_.data() : transferQueue();
    if (!transfers_) transfers_ = new TransfersWindow(queue, this);
    return transfers_;
}

void Form1::Transfers_Click()
{
    TransfersWindow *window = transfersWindow();
    window->show();
    window->raise();
    window->activateWindow();
}

void Form1::Options_Click()
{
    auto *window = new OptionsWindow(queue::optionsPath(), this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &QDialog::accepted, this, [this, window] {
        if (queue_) applyOptions(*queue_, window->chosen());
    });
    window->open();
}

bool Form1::remoteEntryIsFolder(const QString &entryText) const
{
    return entryText.endsWith(u'/');
}

void Form1::queueFolderDownload(const QString &name)
{
    transferQueue()->addDownload(remotePathInCurrentFolder(name), localFilePath(File1Path, name));
    Transfers_Click();
}

void Form1::queueFolderUpload(const QString &name)
{
    transferQueue()->addUpload(localFilePath(File1Path, name), remotePathInCurrentFolder(name));
    refreshRemoteWhenQueueEnds();
    Transfers_Click();
}

void Form1::queueSelectedDownloads()
{
    queueDownloads(ListView2->selectedEntryTexts());
}

void Form1::queueSelectedUploads()
{
    queueUploads(ListView1->selectedEntryTexts());
}

void Form1::queueDownloads(const QStringList &entries)
{
    queue::TransferQueue *queue = transferQueue();
    for (const QString &entry : entries) {
        const QString name = remoteEntryIsFolder(entry) ? entry.chopped(1) : entry;
        // The parent entry and names that would leave the local folder are passed over.
        if (!isPlainRemoteFileName(name)) continue;
        queue->addDownload(remotePathInCurrentFolder(name), localFilePath(File1Path, name));
    }
    Transfers_Click();
}

void Form1::queueUploads(const QStringList &names)
{
    queue::TransferQueue *queue = transferQueue();
    for (const QString &name : names)
        queue->addUpload(localFilePath(File1Path, name), remotePathInCurrentFolder(name));
    refreshRemoteWhenQueueEnds();
    Transfers_Click();
}

void Form1::answerExistingTarget(QPointer<queue::TransferQueue> asking, const queue::ExistingQuestion &question)
{
    QWidget *parent = transfers_ && asking == queue_ ? static_cast<QWidget *>(transfers_) : this;
    const ExistingAnswer answer = askExistingTarget(parent, question);
    if (asking) asking->answerExisting(answer.choice, answer.forTheRest);
}

} // namespace corvexo
