#pragma once
// Counts what deleting some remote entries would remove, walking each
// folder's tree on a session of its own (never the browsing session), so
// that the question before a deletion can name how many files and folders
// go. A link is counted as one entry and never entered. Knows no widgets.

#include "connection/transfer_session.h"
#include "queue/remote_walker.h"

#include <QList>
#include <QObject>
#include <memory>

namespace corvexo {

struct RemoteRoot {
    QString path;          // absolute
    bool isFolder = false;
    bool isLink = false;   // deleted as itself, whatever it points at
};

struct TreeCount {
    qint64 files = 0;      // links included: each goes as one entry
    qint64 folders = 0;    // the chosen folders themselves included
};

class RemoteTreeCounter : public QObject {
    Q_OBJECT
public:
    RemoteTreeCounter(std::unique_ptr<TransferSession> session, const SessionLogin &login, QObject *parent = nullptr);

    void start(const QList<RemoteRoot> &roots);
    void answerCertificate(bool trust);

signals:
    void counted(const corvexo::TreeCount &count);
    // A folder could not be listed: the count would be short, so none is given.
    void failed(const QString &path, const QString &reason);
    void certificateQuestion(const corvexo::CertificateQuestion &question);

private:
    void countNext();

    queue::RemoteWalker walker_;
    QList<RemoteRoot> pending_;
    QString walking_;
    TreeCount count_;
    bool failed_ = false;
};

} // namespace corvexo
