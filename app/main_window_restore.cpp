// The main window's side of an unfinished queue found at a start: offered
// once the window is shown, continued with the password of its login, or
// discarded with the parts it left; a saved queue that cannot be read is
// put aside and reported.

#include "app/main_window.h"

#include "app/event_hook.h"
#include "app/message_box.h"
#include "app/queue_restore.h"
#include "queue/queue_discard.h"
#include "queue/transfer_queue.h"
#include "settings/setting_lines.h"
#include "settings/settings_files.h"
#include "settings/settings_store.h"

#include <QEvent>
#include <QFile>
#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>

namespace corvexo {

namespace {

// The settings that may name the queue's server: the current one and the listed ones.
QList<ConnectionSetting> knownSettings(QWidget *parent)
{
    QList<ConnectionSetting> settings {{CurrentSetting[1], CurrentSetting[2], CurrentSetting[3], CurrentSetting[4], CurrentSetting[5]}};
    QByteArray bytes;
    if (readSettingsBytes(kListFileName, bytes, parent) == FileRead::Read)
        settings += readSettingsFile(bytes, kSettingSlots).records;
    return settings;
}

} // namespace

void Form1::watchForSavedQueue()
{
    // Asked once, when the window is first on the screen.
    auto *hook = new EventHook(this, [this](QObject *, QEvent *event) {
        if (event->type() != QEvent::Show || savedQueueLooked_) return false;
        savedQueueLooked_ = true;
        QMetaObject::invokeMethod(this, &Form1::lookForSavedQueue, Qt::QueuedConnection);
        return false;
    });
    hook->watch(this);
}

void Form1::lookForSavedQueue()
{
    // A long queue takes a while to read: not on the window's thread.
    auto *watcher = new QFutureWatcher<queue::SavedQueueRead>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        offerSavedQueue(watcher->result());
    });
    auto promise = std::make_shared<QPromise<queue::SavedQueueRead>>();
    watcher->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise] {
        // One queue a start; any other is offered at a later start.
        promise->addResult(queue::readSavedQueue(queue::savedQueuePaths().value(0, queue::savedQueuePath())));
        promise->finish();
    });
}

void Form1::offerSavedQueue(const queue::SavedQueueRead &read)
{
    const QString path = read.path;
    if (read.found == queue::SavedQueueRead::Found::Damaged) {
        QString reason;
        const QString aside = queue::keepDamagedQueueAside(path, &reason);
        showMessage(this, aside.isEmpty() ? damagedQueueNotMovedText(path, reason) : damagedQueueText(aside));
        return;
    }
    if (read.found != queue::SavedQueueRead::Found::Queue) return;
    if (!askYesNo(this, savedQueueQuestion(read.saved))) {
        queue::discardSavedQueue(read.saved, path, this);
        return;
    }
    SessionLogin login = read.saved.login;
    std::optional<QString> password = storedPasswordFor(login, knownSettings(this));
    if (!password) password = askQueuePassword(this, login);
    if (!password) return;   // kept, and offered again at the next start
    login.password = *password;
    const bool joining = queue_ && login == queueLogin_;
    queue::TransferQueue *queue = transferQueueFor(login);
    queue->restore(read.saved.model);
    // A new queue goes on in the file its items came from; a running one keeps its own
    // file, which holds them from its next save on.
    if (joining) QFile::remove(path);
    else queue->setSavePath(path);
    Transfers_Click();
}

} // namespace corvexo
