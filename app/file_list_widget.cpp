#include "file_list_widget.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

namespace corvexo {

FileListWidget::FileListWidget(QWidget *parent) : QListWidget(parent)
{
    setViewMode(QListView::ListMode);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    pendingEdit_ = new QTimer(this);
    pendingEdit_->setSingleShot(true);
    connect(pendingEdit_, &QTimer::timeout, this, &FileListWidget::labelEditRequested);
}

bool FileListWidget::currentEntrySelected() const
{
    const QListWidgetItem *item = currentItem();
    return item && item->isSelected();
}

void FileListWidget::unselectCurrentEntry()
{
    if (QListWidgetItem *item = currentItem()) item->setSelected(false);
}

void FileListWidget::focusInEvent(QFocusEvent *event)
{
    QListWidget::focusInEvent(event);
    emit focusReceived();
}

void FileListWidget::mousePressEvent(QMouseEvent *event)
{
    pendingEdit_->stop();
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::RightButton) QListWidget::mousePressEvent(event);
    emit mouseButtonPressed(event->button(), event->globalPosition().toPoint());
}

void FileListWidget::mouseReleaseEvent(QMouseEvent *event)
{
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && viewport()->rect().contains(event->position().toPoint()))
        emit clickedAnywhere();
}

void FileListWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    pendingEdit_->stop();  // the first click of a double-click is no edit
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit entryActivatedByMouse();
}

void FileListWidget::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Delete) {
        emit keyPressed(key);
        return;
    }
    QListWidget::keyPressEvent(event);
    emit keyPressed(key);
}

bool FileListWidget::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // Entry texts are never changed in place: the start of an edit is handed on.
    if (trigger & editTriggers()) {
        if (trigger == SelectedClicked) pendingEdit_->start(QApplication::doubleClickInterval());
        else emit labelEditRequested();
        return false;
    }
    return QListWidget::edit(index, trigger, event);
}

void FileListWidget::dragEnterEvent(QDragEnterEvent *event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void FileListWidget::dragMoveEvent(QDragMoveEvent *event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void FileListWidget::dropEvent(QDropEvent *event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit droppedOn();
}

Qt::DropActions FileListWidget::supportedDropActions() const
{
    return Qt::CopyAction;
}

} // namespace corvexo
