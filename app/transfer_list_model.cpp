#include "transfer_list_model.h"

#include "queue/queue_messages.h"
#include "queue_window_texts.h"
#include "system_reasons.h"

namespace corvexo {

using queue::ItemState;

QString shortSize(qint64 bytes)
{
    if (bytes < 0) return {};
    if (bytes < 1000) return QStringLiteral("%1 B").arg(bytes);
    const char *units[] = {"KB", "MB", "GB", "TB"};
    double value = double(bytes) / 1000;
    int unit = 0;
    while (value >= 1000 && unit < 3) {
        value /= 1000;
        ++unit;
    }
    return QStringLiteral("%1 %2").arg(value, 0, 'f', 1).arg(QLatin1StringView(units[unit]));
}

TransferListModel::TransferListModel(queue::TransferQueue *queue, QObject *parent)
    : QAbstractTableModel(parent), queue_(queue), rows_(queue->model().size())
{
    connect(queue, &queue::TransferQueue::itemsAdded, this, &TransferListModel::onItemsAdded);
    connect(queue, &queue::TransferQueue::itemChanged, this, &TransferListModel::onItemChanged);
}

void TransferListModel::onItemsAdded(qsizetype first, qsizetype)
{
    const qsizetype size = queue_->model().size();
    if (first < rows_) {
        // The queue was cleared of finished items: every row moved.
        beginResetModel();
        rows_ = size;
        paces_.clear();
        endResetModel();
    } else if (size > rows_) {
        beginInsertRows({}, int(rows_), int(size - 1));
        rows_ = size;
        endInsertRows();
    }
}

void TransferListModel::onItemChanged(qsizetype index)
{
    if (index >= rows_) return;
    const queue::QueueItem &item = queue_->model().item(index);
    if (item.state == ItemState::Running) {
        Pace &pace = paces_[index];
        if (!pace.clock.isValid()) {
            pace.clock.start();
            pace.bytes = item.done;
        } else if (pace.clock.elapsed() >= 500) {
            pace.bytesPerSecond = double(item.done - pace.bytes) * 1000.0 / double(pace.clock.restart());
            pace.bytes = item.done;
        }
    } else {
        paces_.remove(index);
    }
    emit dataChanged(this->index(int(index), 0), this->index(int(index), ColumnCount - 1));
}

QVariant TransferListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_) return {};
    const queue::QueueModel &model = queue_->model();
    const queue::QueueItem &item = model.item(index.row());
    if (role == Qt::TextAlignmentRole && (index.column() == Size || index.column() == Progress || index.column() == Speed))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    const queue::Direction direction = model.direction(item);
    const bool down = direction == queue::Direction::Download;
    switch (index.column()) {
    case Direction:
        return queueWindowText(down ? QueueWindowText::Download
                               : direction == queue::Direction::Upload ? QueueWindowText::Upload : QueueWindowText::Delete);
    case Source: return down || direction == queue::Direction::Delete ? model.remotePath(item) : model.localPath(item);
    case Target: return direction == queue::Direction::Delete ? QString() : down ? model.localPath(item) : model.remotePath(item);
    case Size: return item.kind == queue::ItemKind::File ? shortSize(item.size) : QString();
    case Progress:
        if (item.size <= 0 || item.kind != queue::ItemKind::File) return {};
        return QStringLiteral("%1%").arg(std::min<qint64>(100, item.done * 100 / item.size));
    case Speed: {
        const auto pace = paces_.constFind(index.row());
        return pace == paces_.constEnd() || pace->bytesPerSecond <= 0 ? QString() : shortSize(qint64(pace->bytesPerSecond)) + QStringLiteral("/s");
    }
    case State:
        return item.reason.isEmpty() ? queue::stateText(item.state)
                                     : queue::stateText(item.state) + QStringLiteral(": ") + withSystemReasonsInUserLanguage(item.reason);
    }
    return {};
}

QVariant TransferListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    using T = QueueWindowText;
    constexpr T headers[] = {T::ColumnDirection, T::ColumnSource, T::ColumnTarget, T::ColumnSize,
                             T::ColumnProgress, T::ColumnSpeed, T::ColumnState};
    return section >= 0 && section < ColumnCount ? queueWindowText(headers[section]) : QVariant();
}

} // namespace corvexo
