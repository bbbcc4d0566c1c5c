#pragma once
// The rows of the Transfers window: one per queue item, read from the queue
// when shown (nothing is copied per item), with each running item's speed.

#include "queue/transfer_queue.h"

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QHash>

namespace corvexo {

class TransferListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Direction, Source, Target, Size, Progress, Speed, State, ColumnCount };

    explicit TransferListModel(queue::TransferQueue *queue, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(rows_); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : ColumnCount; }
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Pace {
        QElapsedTimer clock;
        qint64 bytes = 0;
        double bytesPerSecond = 0;
    };
    void onItemsAdded(qsizetype first, qsizetype count);
    void onItemChanged(qsizetype index);

    queue::TransferQueue *queue_;
    qsizetype rows_ = 0;
    QHash<qsizetype, Pace> paces_;   // running items only
};

// "12.3 KB", "4.0 MB": sizes and speeds as the window shows them.
QString shortSize(qint64 bytes);

} // namespace corvexo
