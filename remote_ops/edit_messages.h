#pragma once
// Texts of the remote commands for situations the main string table has no
// text for. English or Japanese like the table.

#include <QDateTime>
#include <QString>

namespace corvexo {

// The question before a remote file or folder (its entry ends in "/") is deleted.
QString deleteQuestion(const QString &entry);

// A rename refused because the entry stands for this folder or the one above.
QString cannotRenameEntryText(const QString &entry);

// What is known of one side of a transfer: size (-1 unknown) and modification time (invalid unknown).
struct FileFacts {
    qint64 size = -1;
    QDateTime modified;
};

// The question before a download replaces a local file, or an upload a remote one.
QString replaceLocalQuestion(const QString &name, const FileFacts &local, const FileFacts &remote);
QString replaceRemoteQuestion(const QString &name, const FileFacts &remote, const FileFacts &local);

} // namespace corvexo
