#pragma once
// Walks a local folder tree on a pool thread and hands what it found to the
// caller's thread in batches, so a large tree never holds the window. Each
// folder comes before its contents (an upload makes it first); links to
// folders are reported, never followed, so no loop can start.

#include "queue_item.h"

#include <QList>
#include <QObject>
#include <QTimer>
#include <memory>

namespace corvexo::queue {

struct WalkedEntry {
    QString relative;     // below the root, "/" between parts
    ItemKind kind = ItemKind::File;
    qint64 size = -1;
    qint64 modified = 0;  // ms since 1970
};

class LocalWalker : public QObject {
    Q_OBJECT
public:
    explicit LocalWalker(QObject *parent = nullptr);
    ~LocalWalker() override;

    void start(const QString &root);

    struct Mailbox;   // what the walking thread hands over

signals:
    void found(const QList<corvexo::queue::WalkedEntry> &entries);
    void finished();

private:
    void collect();

    std::shared_ptr<Mailbox> mailbox_;
    QTimer poll_;
};

} // namespace corvexo::queue
