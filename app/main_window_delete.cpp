// Delete on more than one remote entry, or on a folder: what would go is
// counted on a session of the queue's (the browsing session stays free and
// the window never waits), the user is asked once with the counts, No being
// the default, and the queue deletes each tree from the bottom up. A single
// file keeps the single-entry question and route.

#include "app/main_window.h"

#include "app/file_list_widget.h"
#include "app/message_box.h"
#include "app/remote_tree_count.h"
#include "app/selection_texts.h"
#include "connection/certificate_messages.h"
#include "local/local_messages.h"
#include "local/local_paths.h"
#include "queue/transfer_queue.h"
#include "remote_ops/edit_availability_table.h"
#include "remote_ops/edit_messages.h"

namespace corvexo {

namespace {

// The highlighted entries, or the current one when none is highlighted.
QStringList entriesToDelete(const FileListWidget &list)
{
    QStringList entries;
    for (const QString &entry : list.selectedEntryTexts())
        if (!isSelfOrParentEntry(entry)) entries << entry;
    const QString current = list.currentEntryText();
    if (entries.isEmpty() && !current.isEmpty() && !isSelfOrParentEntry(current)) entries << current;
    return entries;
}

bool listedAsLink(const TransferControl &control, const QString &name)
{
    for (const RemoteEntry &entry : control.listedEntries())
        if (entry.name == name) return entry.isLink;
    return false;
}

} // namespace

bool Form1::deleteThroughQueue()
{
    const QStringList entries = entriesToDelete(*ListView2);
    if (!Connected || entries.isEmpty() || (entries.size() == 1 && !remoteEntryIsFolder(entries.first())))
        return false;
    if (deletionCount_) return true;   // still counting the last request
    QList<RemoteRoot> roots;
    for (const QString &entry : entries) {
        const bool folder = remoteEntryIsFolder(entry);
        const QString name = folder ? entry.chopped(1) : entry;
        if (!isPlainRemoteFileName(name)) {
            showMessage(this, unsafeRemoteNameText(entry));
            return true;
        }
        roots << RemoteRoot {remotePathInCurrentFolder(name), folder, listedAsLink(*Inet1, name)};
    }

    const SessionLogin login = queueLogin();
    auto *counter = new RemoteTreeCounter(newQueueSession(), login, this);
    deletionCount_ = counter;
    const QString statusBefore = statusText();
    setStatusText(countingText());
    const auto done = [this, counter, statusBefore] {
        deletionCount_ = nullptr;
        counter->deleteLater();
        if (statusText() == countingText()) setStatusText(statusBefore);
    };
    // The question is asked from the event loop, not inside the walk's signal.
    connect(counter, &RemoteTreeCounter::counted, this, [=, this](const TreeCount &count) {
        done();
        // The server the entries were counted on is no longer the one in view: nothing goes.
        if (!Connected || queueLogin() != login) return;
        QMetaObject::invokeMethod(this, [=, this] { askAndDelete(roots, entries, count); }, Qt::QueuedConnection);
    });
    connect(counter, &RemoteTreeCounter::failed, this, [=, this](const QString &path, const QString &reason) {
        done();
        QMetaObject::invokeMethod(this, [=, this] { showMessage(this, countFailedText(path, reason)); },
                                  Qt::QueuedConnection);
    });
    connect(counter, &RemoteTreeCounter::certificateQuestion, this, [this, counter](const CertificateQuestion &question) {
        QMetaObject::invokeMethod(this, [this, counter = QPointer(counter), question] {
            const bool trust = askYesNoDefaultingToNo(this, certificateQuestionText(question));
            if (counter) counter->answerCertificate(trust);
        }, Qt::QueuedConnection);
    });
    counter->start(roots);
    return true;
}

void Form1::askAndDelete(const QList<RemoteRoot> &roots, const QStringList &entries, const TreeCount &count)
{
    // An empty folder is asked about by name, as a single entry is.
    const bool emptyFolder = roots.size() == 1 && !roots.first().isLink && count.files == 0 && count.folders == 1;
    const QString question = emptyFolder ? deleteQuestion(entries.first()) : deleteCountQuestion(count.files, count.folders);
    if (!askYesNoDefaultingToNo(this, question)) return;
    queue::TransferQueue *queue = transferQueue();
    for (const RemoteRoot &root : roots) {
        if (root.isLink) queue->addLinkDelete(root.path);
        else queue->addDelete(root.path);
    }
    refreshRemoteWhenQueueEnds();
}

} // namespace corvexo
