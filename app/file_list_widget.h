#pragma once
// A file list (ListView1, ListView2): a report view of names with their
// pictures, sizes and modification times, that reports the events the main
// window handles: focus, mouse buttons, keys, double-clicks, in-place editing,
// drags over it and drops on it. A drag out carries the highlighted entries
// and the side they come from; a drop reports what it carried.
//
// The window's routines work on one current entry, by its text; a click on a
// column title sorts by that column.

#include "drop_contents.h"
#include "file_list_model.h"

#include <QTableView>

#include <memory>

class QTimer;

namespace corvexo {

class FileListWidget : public QTableView {
    Q_OBJECT
public:
    explicit FileListWidget(QWidget *parent = nullptr);

    FileListModel *entries() const { return model_; }
    // Which side of the window the list shows, named in the drags that start from it.
    void setSide(ListSide side) { side_ = side; }
    void setImageSource(std::function<QIcon(int)> source) { model_->setImageSource(std::move(source)); }

    int count() const { return model_->rowCount(); }
    QString entryText(int row) const;
    int entryImage(int row) const;
    int rowOf(const QString &text) const { return model_->rowOf(text); }
    QRect entryRect(int row) const;

    // The current entry: the one last clicked or moved to; -1 and "" when there is none.
    int currentRow() const;
    QString currentEntryText() const;
    // Every highlighted entry, top to bottom.
    QStringList selectedEntryTexts() const;
    // Makes the row current and highlights it, as a click does.
    void setCurrentRow(int row);
    // Makes the entry with this text current and highlighted; false when no entry has it.
    bool selectEntry(const QString &text);
    bool isEntrySelected(int row) const;
    // The current entry is highlighted (selected), as the window's routines ask.
    bool currentEntrySelected() const;
    void unselectCurrentEntry();

    // A cell's tooltip: a size's exact bytes, a time in full, or a text cut to fit shown whole.
    QString toolTipFor(const QModelIndex &index) const;
    // The column widths and sort order the user chose, to be remembered across runs.
    FileListLook look() const;
    void applyLook(const FileListLook &look);

    void clear();
    void setEntries(QList<FileListEntry> entries);
    void appendEntry(const FileListEntry &entry) { model_->appendEntry(entry); }
    // Shows the rows the source makes; a source that takes long goes on between
    // events and sends fillFinished() at the end. True when the rows are shown already.
    // A refilled list is shown from its top with a current entry: the one named by
    // chooseAfterRefill(), else the first.
    bool fill(std::unique_ptr<FileListSource> source);
    void chooseAfterRefill(const QString &text) { chosenAfterRefill_ = text; }
    // Puts a file's facts in its row, or a new row in its place in the order shown.
    void putEntry(const FileListEntry &entry) { model_->putEntry(entry); }
    bool filling() const { return source_ != nullptr; }

signals:
    void focusReceived();
    void clickedAnywhere();            // a click anywhere in the list, on an entry or not
    void mouseButtonPressed(Qt::MouseButton button, const QPoint &globalPos);
    void keyPressed(int key);
    void selectionMovedByKey();        // a key moved the current entry or its highlight
    void entryActivatedByMouse();      // double-click
    void labelEditRequested();         // an in-place edit was about to start; it was cancelled
    void droppedOn(const corvexo::DropContents &contents);   // something was dropped on the list
    void fillFinished();               // a fill that went on between events has shown its rows

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
public:
    void keyboardSearch(const QString &search) override;
protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    void sortByClickedColumn(int column);
    void fillSlice();
    void showRefilled();
    void fitNameColumn();

    FileListModel *model_ = nullptr;
    // A click on the highlighted entry asks for an edit only once no double-click followed.
    QTimer *pendingEdit_ = nullptr;
    QTimer *fillTimer_ = nullptr;
    std::unique_ptr<FileListSource> source_;
    QString chosenAfterRefill_;
    ListSide side_ = ListSide::Local;
};

} // namespace corvexo
