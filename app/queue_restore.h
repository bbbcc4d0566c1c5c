#pragma once
// The unfinished queue found at a start: the question that offers it again,
// the password of its login (from the stored connection settings of the same
// server and user, else asked for and never stored), and what is said of a
// saved queue that cannot be read. Decisions without widgets, beside the
// prompt that the window uses.

#include "connection/transfer_session.h"
#include "queue/queue_store.h"
#include "settings/settings_store.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace corvexo {

// "user@host", with ":port" when it is not the scheme's usual one and "sftp://" for SSH.
QString queueServerName(const SessionLogin &login);
// The files of the saved queue still to move or delete (folders not counted).
qsizetype filesRemaining(const queue::QueueModel &model);
// Asked once after a start; Yes continues the queue, No discards it.
QString savedQueueQuestion(const queue::SavedQueue &saved);
QString damagedQueueText(const QString &keptAs);
QString damagedQueueNotMovedText(const QString &path, const QString &reason);

// The password of a stored setting that names the same server and user; nothing when none does.
std::optional<QString> storedPasswordFor(const SessionLogin &login, const QList<ConnectionSetting> &settings);

QString queuePasswordQuestionText(const SessionLogin &login);
// Nothing when the user cancels.
std::optional<QString> askQueuePassword(QWidget *parent, const SessionLogin &login);
using QueuePasswordAnswerer = std::function<std::optional<QString>(const QString &text)>;
// Replaces how the question is answered (tests); an empty answerer restores the real dialog.
void setQueuePasswordAnswerer(QueuePasswordAnswerer answerer);

} // namespace corvexo
