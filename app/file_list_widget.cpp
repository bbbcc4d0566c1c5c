#include "file_list_widget.h"

#include "local/file_icons.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

namespace corvexo {

namespace {

// One slice of a long fill; the window answers other events between slices.
constexpr int kSliceMilliseconds = 20;
constexpr int kNarrowestNameColumn = 60;
constexpr int kCellPadding = 12;  // the style's margins on both sides of a cell's text

// Wide enough for the longest short size ("1023.9 MB") and both date forms, in this font.
int sizeColumnWidth(const QFontMetrics &metrics)
{
    return metrics.horizontalAdvance(QStringLiteral("1023.9 MB")) + kCellPadding;
}

int modifiedColumnWidth(const QFontMetrics &metrics)
{
    return std::max(metrics.horizontalAdvance(QStringLiteral("12-31 23:59")),
                    metrics.horizontalAdvance(QStringLiteral("2099-12-31"))) + kCellPadding;
}

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
    // Several entries for the queue; the current one stays what single-entry commands use.
    setSelectionMode(QAbstractItemView::ExtendedSelection);
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
    titles->setTextElideMode(Qt::ElideRight);
    titles->setMinimumSectionSize(24);
    titles->resizeSection(SizeColumn, sizeColumnWidth(fontMetrics()));
    titles->resizeSection(ModifiedColumn, modifiedColumnWidth(fontMetrics()));
    connect(titles, &QHeaderView::sectionClicked, this, &FileListWidget::sortByClickedColumn);
    // The name column takes the room the others leave.
    connect(titles, &QHeaderView::sectionResized, this, [this](int column) {
        if (column != NameColumn) fitNameColumn();
    });
    setTextElideMode(Qt::ElideRight);
    // The list that has the keys shows it by its frame.
    setStyleSheet(QStringLiteral("QTableView:focus { border: 2px solid palette(highlight); }"));

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

QStringList FileListWidget::selectedEntryTexts() const
{
    QStringList texts;
    for (int row = 0; row < count(); ++row)
        if (isEntrySelected(row)) texts << entryText(row);
    return texts;
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
        showRefilled();
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
    showRefilled();
    emit fillFinished();
}

// A new listing is read from its top, with a current entry for the keys (Enter, Delete).
void FileListWidget::showRefilled()
{
    const QString chosen = std::exchange(chosenAfterRefill_, {});
    scrollToTop();
    horizontalScrollBar()->setValue(0);
    if (count() == 0) return;
    const int row = chosen.isEmpty() ? -1 : rowOf(chosen);
    // Current, not highlighted: a click on it is a plain click, not the start of a rename.
    const QModelIndex current = model_->index(row >= 0 ? row : 0, NameColumn);
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    scrollTo(current);
}

// The current entry is framed across its row while the list has the keys, highlighted or not.
void FileListWidget::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    const int row = currentRow();
    if (row < 0 || !hasFocus()) return;
    const QRect frame = visualRect(model_->index(row, NameColumn))
                            .united(visualRect(model_->index(row, FileListColumnCount - 1)));
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
}

void FileListWidget::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    viewport()->update();   // the frame leaves the old row whole
}

// The title's own click has set its arrow: up on the first click, turned round on each further one.
void FileListWidget::sortByClickedColumn(int column)
{
    horizontalHeader()->setSortIndicatorShown(true);
    model_->sort(column, horizontalHeader()->sortIndicatorOrder());
}

void FileListWidget::fitNameColumn()
{
    const int rest = horizontalHeader()->sectionSize(SizeColumn) + horizontalHeader()->sectionSize(ModifiedColumn);
    horizontalHeader()->resizeSection(NameColumn, qMax(kNarrowestNameColumn, viewport()->width() - rest));
}

FileListLook FileListWidget::look() const
{
    const QHeaderView *titles = horizontalHeader();
    return {titles->sectionSize(SizeColumn), titles->sectionSize(ModifiedColumn),
            titles->isSortIndicatorShown() ? titles->sortIndicatorSection() : -1, titles->sortIndicatorOrder()};
}

void FileListWidget::applyLook(const FileListLook &look)
{
    QHeaderView *titles = horizontalHeader();
    if (look.sizeWidth > 0) titles->resizeSection(SizeColumn, look.sizeWidth);
    if (look.modifiedWidth > 0) titles->resizeSection(ModifiedColumn, look.modifiedWidth);
    if (look.sortColumn >= 0 && look.sortColumn < FileListColumnCount) {
        titles->setSortIndicator(look.sortColumn, look.sortOrder);
        sortByClickedColumn(look.sortColumn);
    }
    fitNameColumn();
}

// The list moves from entry to entry; the columns are no places of their own.
QModelIndex FileListWidget::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    switch (cursorAction) {
    case MoveLeft:
    case MoveRight:
    case MoveNext:
    case MovePrevious:
        // The focus asks for a first entry when there is none (MoveNext): it is the first row.
        if (!currentIndex().isValid()) return model_->index(0, NameColumn);
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

// A text cut to fit its cell shows whole in its tooltip; a size shows its exact bytes.
bool FileListWidget::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip) return QTableView::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString tip = toolTipFor(index);
    if (tip.isEmpty()) QToolTip::hideText();
    else QToolTip::showText(help->globalPos(), tip, viewport(), visualRect(index));
    return true;
}

QString FileListWidget::toolTipFor(const QModelIndex &index) const
{
    if (!index.isValid()) return {};
    if (const QString tip = index.data(Qt::ToolTipRole).toString(); !tip.isEmpty()) return tip;
    const QString text = index.data(Qt::DisplayRole).toString();
    int room = visualRect(index).width() - kCellPadding;
    if (index.column() == NameColumn) room -= iconSize().width() + 4;
    return fontMetrics().horizontalAdvance(text) > room ? text : QString();
}

void FileListWidget::focusOutEvent(QFocusEvent *event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void FileListWidget::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
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

bool FileListWidget::event(QEvent *event)
{
    // Ctrl+A selects every entry of the focused list, as in any file list; the rename
    // item that shares the key keeps it elsewhere and takes F2 inside the lists.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::SelectAll) && selectionMode() == ExtendedSelection) {
            event->accept();
            return true;
        }
    }
    return QTableView::event(event);
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
    // A moving key that stays on the current entry (Home on the first) highlights it all the same.
    const bool moving = key == Qt::Key_Home || key == Qt::Key_End || key == Qt::Key_Up || key == Qt::Key_Down
                        || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
    if (moving && currentRow() >= 0 && !currentEntrySelected()) setCurrentRow(currentRow());
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
    emit droppedOn(readDrop(*event->mimeData()));
}

// The whole selection goes, named as listed, so that a drop can act on all of it.
void FileListWidget::startDrag(Qt::DropActions)
{
    const QStringList selected = selectedEntryTexts();
    if (selected.isEmpty()) return;
    auto *drag = new QDrag(this);
    drag->setMimeData(makeListDragData(side_, selected));
    const QModelIndex first = model_->index(rowOf(selected.first()), NameColumn);
    drag->setPixmap(first.data(Qt::DecorationRole).value<QIcon>().pixmap(iconSize()));
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

} // namespace corvexo
