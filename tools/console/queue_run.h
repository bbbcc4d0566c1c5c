#pragma once
// Runs one queue line on a transfer queue of its own and prints each item's
// result as it ends ("done", "skipped" or "failed", the direction, the path
// and the size or the reason), then a summary line.

#include "queue/transfer_queue.h"
#include "queue_line.h"

#include <QTextStream>

namespace corvexo::console {

class QueueRun : public QObject {
    Q_OBJECT
public:
    QueueRun(const QueueLine &line, queue::SessionFactory factory, const SessionLogin &login, QTextStream &output,
             QObject *parent = nullptr);
    void start();

signals:
    void done(bool allWell);

private:
    void printItem(qsizetype index);
    void printSummary();

    QueueLine line_;
    queue::TransferQueue queue_;
    QTextStream &output_;
};

} // namespace corvexo::console
