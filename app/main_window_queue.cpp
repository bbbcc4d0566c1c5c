// The main window's side of the transfer queue: the Transfers and Options
// windows, whole folders handed to the queue, and its existing-target question.

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

namespace corvexo {

namespace {

SessionLogin loginOfCurrentSetting()
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

QString remotePathOf(const QString &folder, const QString &name)
{
    if (folder.isEmpty()) return name;
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

void applyOptions(queue::TransferQueue &queue, const queue::QueueOptions &options)
{
    queue.setParallelSessions(options.parallelSessions);
    queue.setExistingChoice(options.existingTargets);
}

} // namespace

queue::TransferQueue *Form1::transferQueue()
{
    return transferQueueFor(loginOfCurrentSetting());
}

queue::TransferQueue *Form1::transferQueueFor(const SessionLogin &login)
{
    if (queue_ && login != queueLogin_ && !queue_->isRunning()) {
        // Another server's queue: the window showing the old one goes with it.
        if (transfers_) delete transfers_.data();
        delete queue_.data();
    }
    if (!queue_) {
        const TransferScheme scheme = login.scheme;
        queue_ = new queue::TransferQueue(
            [scheme] { return std::unique_ptr<TransferSession>(makeTransferSession(scheme, nullptr)); }, login, this);
        queueLogin_ = login;
        applyOptions(*queue_, queue::loadOptions());
        queue_->setSavePath(queue::savedQueuePath());
        queueTotals_->watch(queue_);
        connect(queue_, &queue::TransferQueue::started, this, [this] {
            TransfersWindow *window = transfersWindow();
            window->show();
            window->raise();
        });
        // Both questions are asked from the event loop, not inside the queue's signal.
        connect(queue_, &queue::TransferQueue::existingQuestion, this, &Form1::answerExistingTarget,
                Qt::QueuedConnection);
        connect(queue_, &queue::TransferQueue::certificateQuestion, this, [this](const CertificateQuestion &question) {
            QMetaObject::invokeMethod(this, [this, question] {
                const bool trust = askYesNoDefaultingToNo(this, certificateQuestionText(question));
                if (queue_) queue_->answerCertificate(trust);
            }, Qt::QueuedConnection);
        });
    }
    return queue_;
}

TransfersWindow *Form1::transfersWindow()
{
    queue::TransferQueue *queue = transferQueue();
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
    transferQueue()->addDownload(remotePathOf(Inet1->currentFolder(), name), localFilePath(File1Path, name));
    Transfers_Click();
}

void Form1::queueFolderUpload(const QString &name)
{
    transferQueue()->addUpload(localFilePath(File1Path, name), remotePathOf(Inet1->currentFolder(), name));
    Transfers_Click();
}

void Form1::queueSelectedDownloads()
{
    queue::TransferQueue *queue = transferQueue();
    for (const QString &entry : ListView2->selectedEntryTexts()) {
        const QString name = remoteEntryIsFolder(entry) ? entry.chopped(1) : entry;
        // The parent entry and names that would leave the local folder are passed over.
        if (!isPlainRemoteFileName(name)) continue;
        queue->addDownload(remotePathOf(Inet1->currentFolder(), name), localFilePath(File1Path, name));
    }
    Transfers_Click();
}

void Form1::queueSelectedUploads()
{
    queue::TransferQueue *queue = transferQueue();
    for (const QString &name : ListView1->selectedEntryTexts())
        queue->addUpload(localFilePath(File1Path, name), remotePathOf(Inet1->currentFolder(), name));
    Transfers_Click();
}

void Form1::answerExistingTarget(const queue::ExistingQuestion &question)
{
    const ExistingAnswer answer = askExistingTarget(transfers_ ? static_cast<QWidget *>(transfers_) : this, question);
    if (queue_) queue_->answerExisting(answer.choice, answer.forTheRest);
}

} // namespace corvexo
