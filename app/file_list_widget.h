#pragma once
// An icon list (ListView1, ListView2) that reports the events the main window
// handles: focus, mouse buttons, keys, double-clicks, in-place editing,
// drags over it and drops on it. Dragging an entry out is the list's own.

#include <QListWidget>

class QTimer;

namespace corvexo {

class FileListWidget : public QListWidget {
    Q_OBJECT
public:
    explicit FileListWidget(QWidget *parent = nullptr);

    // The current entry is highlighted (selected), as the window's routines ask.
    bool currentEntrySelected() const;
    void unselectCurrentEntry();

signals:
    void focusReceived();
    void clickedAnywhere();            // a click anywhere in the list, on an entry or not
    void mouseButtonPressed(Qt::MouseButton button, const QPoint &globalPos);
    void keyPressed(int key);
    void entryActivatedByMouse();      // double-click
    void labelEditRequested();         // an in-place edit was about to start; it was cancelled
    void droppedOn();                  // something was dropped; its data is not read

protected:
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    Qt::DropActions supportedDropActions() const override;

private:
    // A click on the highlighted entry asks for an edit only once no double-click followed.
    QTimer *pendingEdit_ = nullptr;
};

} // namespace corvexo
