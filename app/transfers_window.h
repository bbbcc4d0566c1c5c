#pragma once
// The Transfers window: the queue's items, one a row, and its commands (stop
// the selected items, stop all, retry the failed, clear the done, and remove
// the selected items once the queue stands still, failed ones with their parts).
// Non-modal; it only shows the queue and hands it the user's commands.

#include "queue/transfer_queue.h"

#include <QWidget>

class QPushButton;
class QTableView;

namespace corvexo {

class TransferListModel;

class TransfersWindow : public QWidget {
    Q_OBJECT
public:
    explicit TransfersWindow(queue::TransferQueue *queue, QWidget *parent = nullptr);

    QTableView *list() const { return list_; }
    QPushButton *stopButton() const { return stop_; }
    QPushButton *stopAllButton() const { return stopAll_; }
    QPushButton *retryButton() const { return retry_; }
    QPushButton *clearButton() const { return clear_; }
    QPushButton *removeButton() const { return remove_; }

private:
    void stopSelected();
    void removeSelected();
    void updateButtons();

    queue::TransferQueue *queue_;
    TransferListModel *model_;
    QTableView *list_;
    QPushButton *stop_, *stopAll_, *retry_, *clear_, *remove_;
};

} // namespace corvexo
