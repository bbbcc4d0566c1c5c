#include "file_list_widget.h"

#include "local/file_icons.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

namespace corvexo {

namespace {

// One slice of a long fill; the window answers other events between slices.
constexpr int kSliceMilliseconds = 20;
constexpr int kSizeColumnWidth = 76;
constexpr int kModifiedColumnWidth = 112;
constexpr int kNarrowestNameColumn = 100;

} // namespace

FileListWidget::FileListWidget(QWidget *parent) : QTableView(parent), model_(new FileListModel(this))
{
    // A table of rows of one height: a list of a million entries is shown without measuring each.
    setModel(model_);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(qMax(18, fontMetrics().height() + 4));
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);

    QHeaderView *titles = horizontalHeader();
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titles->setHighlightSections(false);
    titles->setStretchLastSection(false);
    titles->setSectionsMovable(false);
    titles->setSectionsClickable(true);
    titles->setSortIndicatorShown(false);  // the listing's own order until a title is clicked
    titles->setSortIndicator(-1, Qt::DescendingOrder);
    titles->resizeSection(SizeColumn, kSizeColumnWidth);
    titles->resizeSection(ModifiedColumn, kModifiedColumnWidth);
    connect(titles, &QHeaderView::sectionClicked, this, &FileListWidget::sortByClickedColumn);
    // The name column takes the room the others leave, until the user sizes a column.
    connect(titles, &QHeaderView::sectionResized, this, [this] {
        if (!fittingNameColumn_) nameColumnFitted_ = false;
    });

    pendingEdit_ = new QTimer(this);
    pendingEdit_->setSingleShot(true);
    connect(pendingEdit_, &QTimer::timeout, this, &FileListWidget::labelEditRequested);
    fillTimer_ = new QTimer(this);
    fillTimer_->setInterval(0);
    connect(fillTimer_, &QTimer::timeout, this, &FileListWidget::fillSlice);
}

QString FileListWidget::entryText(int row) const
{
    return row >= 0 && row < count() ? model_->entry(row).text : QString();
}

int FileListWidget::entryImage(int row) const
{
    return row >= 0 && row < count() ? model_->entry(row).image : 0;
}

QRect FileListWidget::entryRect(int row) const
{
    return visualRect(model_->index(row, NameColumn));
}

int FileListWidget::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

QString FileListWidget::currentEntryText() const
{
    return entryText(currentRow());
}

void FileListWidget::setCurrentRow(int row)
{
    const QModelIndex index = model_->index(row, NameColumn);
    if (!index.isValid()) return;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

bool FileListWidget::selectEntry(const QString &text)
{
    const int row = rowOf(text);
    if (row < 0) return false;
    setCurrentRow(row);
    return true;
}

bool FileListWidget::isEntrySelected(int row) const
{
    return row >= 0 && row < count() && selectionModel()->isRowSelected(row, {});
}

bool FileListWidget::currentEntrySelected() const
{
    return isEntrySelected(currentRow());
}

void FileListWidget::unselectCurrentEntry()
{
    const int row = currentRow();
    if (row < 0) return;
    selectionModel()->select(model_->index(row, NameColumn),
                             QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
}

void FileListWidget::clear()
{
    fillTimer_->stop();
    source_.reset();
    model_->clear();
}

void FileListWidget::setEntries(QList<FileListEntry> entries)
{
    fillTimer_->stop();
    source_.reset();
    model_->setEntries(std::move(entries));
}

bool FileListWidget::fill(std::unique_ptr<FileListSource> source)
{
    clear();
    if (source->work(QDeadlineTimer(kSliceMilliseconds))) {
        model_->setEntries(source->takeRows());
        return true;
    }
    source_ = std::move(source);
    fillTimer_->start();
    return false;
}

void FileListWidget::fillSlice()
{
    if (!source_ || !source_->work(QDeadlineTimer(kSliceMilliseconds))) return;
    fillTimer_->stop();
    const std::unique_ptr<FileListSource> done = std::move(source_);
    model_->setEntries(done->takeRows());
    emit fillFinished();
}

// The title's own click has set its arrow: up on the first click, turned round on each further one.
void FileListWidget::sortByClickedColumn(int column)
{
    horizontalHeader()->setSortIndicatorShown(true);
    model_->sort(column, horizontalHeader()->sortIndicatorOrder());
}

void FileListWidget::fitNameColumn()
{
    if (!nameColumnFitted_) return;
    const int rest = horizontalHeader()->sectionSize(SizeColumn) + horizontalHeader()->sectionSize(ModifiedColumn);
    fittingNameColumn_ = true;
    horizontalHeader()->resizeSection(NameColumn, qMax(kNarrowestNameColumn, viewport()->width() - rest));
    fittingNameColumn_ = false;
}

// The list moves from entry to entry; the columns are no places of their own.
QModelIndex FileListWidget::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    switch (cursorAction) {
    case MoveLeft:
    case MoveRight:
    case MoveNext:
    case MovePrevious:
        return currentIndex();
    case MoveEnd:
        if (!currentIndex().isValid()) return model_->index(count() - 1, NameColumn);
        [[fallthrough]];
    case MoveHome:
        modifiers |= Qt::ControlModifier;  // the first or last entry, not the first or last column
        break;
    default:
        break;
    }
    const QModelIndex moved = QTableView::moveCursor(cursorAction, modifiers);
    return moved.sibling(moved.row(), NameColumn);
}

// Typed letters find a name, whichever column was clicked last.
void FileListWidget::keyboardSearch(const QString &search)
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.column() != NameColumn)
        selectionModel()->setCurrentIndex(current.sibling(current.row(), NameColumn), QItemSelectionModel::NoUpdate);
    QTableView::keyboardSearch(search);
}

void FileListWidget::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    fitNameColumn();
}

void FileListWidget::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    emit focusReceived();
}

void FileListWidget::mousePressEvent(QMouseEvent *event)
{
    pendingEdit_->stop();
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::RightButton) {
        QTableView::mousePressEvent(event);
    } else {
        // The pop-up menu acts on the entry under the pointer, so that entry is chosen first.
        const QModelIndex under = indexAt(event->position().toPoint());
        if (under.isValid()) setCurrentRow(under.row());
    }
    emit mouseButtonPressed(event->button(), event->globalPosition().toPoint());
}

void FileListWidget::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && viewport()->rect().contains(event->position().toPoint()))
        emit clickedAnywhere();
}

void FileListWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    pendingEdit_->stop();  // the first click of a double-click is no edit
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit entryActivatedByMouse();
}

void FileListWidget::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Delete) {
        emit keyPressed(key);
        return;
    }
    const int rowBefore = currentRow();
    const bool selectedBefore = currentEntrySelected();
    QTableView::keyPressEvent(event);
    emit keyPressed(key);
    if (currentRow() != rowBefore || currentEntrySelected() != selectedBefore) emit selectionMovedByKey();
}

bool FileListWidget::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // Entry texts are never changed in place: the start of an edit is handed on.
    if (trigger & editTriggers()) {
        if (trigger == SelectedClicked) pendingEdit_->start(QApplication::doubleClickInterval());
        else emit labelEditRequested();
        return false;
    }
    return QTableView::edit(index, trigger, event);
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

} // namespace corvexo
