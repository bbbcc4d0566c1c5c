#include "transfers_window.h"

#include "queue_window_texts.h"
#include "transfer_list_model.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace corvexo {

TransfersWindow::TransfersWindow(queue::TransferQueue *queue, QWidget *parent)
    : QWidget(parent, Qt::Window), queue_(queue), model_(new TransferListModel(queue, this)), list_(new QTableView(this)),
      stop_(new QPushButton(queueWindowText(QueueWindowText::Stop), this)),
      stopAll_(new QPushButton(queueWindowText(QueueWindowText::StopAll), this)),
      retry_(new QPushButton(queueWindowText(QueueWindowText::RetryFailed), this)),
      clear_(new QPushButton(queueWindowText(QueueWindowText::ClearDone), this)),
      remove_(new QPushButton(queueWindowText(QueueWindowText::RemoveSelected), this))
{
    setWindowTitle(queueWindowText(QueueWindowText::TransfersTitle));
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->verticalHeader()->hide();
    // Rows of one height, so a long queue is laid out without measuring each row.
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->horizontalHeader()->setStretchLastSection(true);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {stop_, stopAll_, retry_, clear_, remove_}) buttons->addWidget(button);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    resize(760, 360);

    connect(stop_, &QPushButton::clicked, this, &TransfersWindow::stopSelected);
    connect(stopAll_, &QPushButton::clicked, queue_, &queue::TransferQueue::stopAll);
    connect(retry_, &QPushButton::clicked, queue_, &queue::TransferQueue::retryFailed);
    connect(clear_, &QPushButton::clicked, queue_, &queue::TransferQueue::clearFinished);
    connect(remove_, &QPushButton::clicked, this, &TransfersWindow::removeSelected);
    connect(queue_, &queue::TransferQueue::itemFinished, this, &TransfersWindow::updateButtons);
    connect(queue_, &queue::TransferQueue::finished, this, &TransfersWindow::updateButtons);
    connect(queue_, &queue::TransferQueue::started, this, &TransfersWindow::updateButtons);
    connect(queue_, &queue::TransferQueue::itemsAdded, this, &TransfersWindow::updateButtons);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TransfersWindow::updateButtons);
    updateButtons();
}

void TransfersWindow::stopSelected()
{
    for (const QModelIndex &row : list_->selectionModel()->selectedRows()) queue_->stopItem(row.row());
}

void TransfersWindow::removeSelected()
{
    QList<qsizetype> rows;
    for (const QModelIndex &row : list_->selectionModel()->selectedRows()) rows << row.row();
    queue_->removeItems(rows);
}

void TransfersWindow::updateButtons()
{
    const queue::QueueModel &model = queue_->model();
    stop_->setEnabled(queue_->isRunning() && list_->selectionModel()->hasSelection());
    stopAll_->setEnabled(queue_->isRunning());
    retry_->setEnabled(model.count(queue::ItemState::Failed) > 0);
    // Rows keep their places while items run.
    clear_->setEnabled(!queue_->isRunning() && model.count(queue::ItemState::Done) + model.count(queue::ItemState::Skipped) > 0);
    remove_->setEnabled(!queue_->isRunning() && list_->selectionModel()->hasSelection());
}

} // namespace corvexo
