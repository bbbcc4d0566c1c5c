#pragma once
// Form1, the main window: local files on the left, the remote folder on the
// right, the menus, toolbar and status bar, the marks that tell the
// completion handler what a finished command was, and the transfer control.
//
// Its procedures are grouped by subsystem, each group in its own file:
//   app/main_window.cpp          start-up, menus, Exit, opening the other windows
//   app/command_states.cpp       DItem, EItem
//   app/toolbar.cpp              toolbar, tooltips, status text
//   app/window_layout.cpp        Form_Resize
//   app/click_animation.cpp      Picture1_Click, picIv
//   connection/connection.cpp    con_Click, Combo1_Click, Connect, Discon_Click
//   connection/state_events.cpp  Inet1_StateChanged
//   connection/remote_listing.cpp  d, Refr_Click, InAndOutTMFile, ADDTM
//   connection/remote_navigation.cpp  FCD, CupD_Click, ListView2 events
//   remote_ops/transfers.cpp     CopyFromFTP, CopyToFTP and their entry points
//   remote_ops/edit_commands.cpp FrDRname_Click, R, FMkD_Click, MKD, Fdelete_Click
//   remote_ops/edit_availability.cpp  eddiF, eddiT, EdDI1, EdDI2, edit_Click
//   local/local_view.cpp         Drive1, Dir1, File1, Text1, ListView1 events
//   local/file_icons.cpp         ITYPE (and the icon tables it shares with ADDTM)
//   app/main_window_queue.cpp    the transfer queue, the Transfers and Options windows
//   app/main_window_drops.cpp    drops of selections and desktop files, "upload this folder"
//   app/main_window_delete.cpp   Delete on a selection or a folder with contents

#include "app/drop_contents.h"
#include "connection/transfer_control.h"
#include "connection/transfer_session.h"

#include <QColor>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QVector>

#include <array>
#include <functional>
#include <memory>
#include <utility>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QTimer;
class QToolBar;

namespace corvexo {

struct WindowPlacements;
class ElidedLabel;
class FileListWidget;
class FolderBox;
class PictureBox;
class ImageList;
class ProgressPanel;
class Form2;
class Form3;
class Form4;
class SessionSecurityView;
class TransfersWindow;
class RemoteTreeCounter;
struct RemoteRoot;
struct TreeCount;
namespace queue { class TransferQueue; struct ExistingQuestion; struct SavedQueueRead; }
class QueueTotalsFeed;

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // The window takes ownership of the transfer control.
    explicit Form1(TransferControl *inet, QWidget *parent = nullptr);
    ~Form1() override;

    // --- controls (public so that the settings store and tests reach them) ---
    QToolBar *Toolbar1 = nullptr;
    QVector<QAction *> toolbarButtons;  // positions 1..7 at indexes 0..6; 4 is the gap
    QAction *toolbarButton(int position) const { return toolbarButtons.value(position - 1); }
    QComboBox *Combo1 = nullptr;
    QComboBox *Drive1 = nullptr;
    FolderBox *Dir1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    ElidedLabel *remotePath = nullptr;  // the remote folder, beside "Host:"
    FileListWidget *ListView1 = nullptr;
    FileListWidget *ListView2 = nullptr;
    PictureBox *Picture1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *statusLabel = nullptr;
    QTimer *Timer1 = nullptr;
    ImageList *ImageList1 = nullptr;
    TransferControl *Inet1 = nullptr;
    SessionSecurityView *securityView = nullptr;  // the lock in the status bar, the certificate question

    // --- menus ---
    QMenu *Connection = nullptr;
    QAction *con = nullptr, *Discon = nullptr, *ExitApp = nullptr;
    QMenu *edit = nullptr;
    QAction *UpL = nullptr, *DownL = nullptr, *CupD = nullptr, *Refr = nullptr;
    QAction *FrDRname = nullptr, *FMkD = nullptr, *Fdelete = nullptr, *Sett = nullptr;
    QAction *TransfersItem = nullptr, *OptionsItem = nullptr, *UploadFolderItem = nullptr;
    QMenu *help = nullptr;
    QAction *Corvexo = nullptr;

    // --- marks ---
    bool Connected = false;
    bool ListWait = false;
    bool GetWait = false;
    bool PutWait = false, PutList = false;
    bool CdWait = false, CdList = false;
    bool RenWait = false, RenList = false;
    bool MkdWait = false;
    bool DelWait = false, DelList = false;
    bool LMouseDown = false;
    bool LPopup = false;

    // --- window-level texts ---
    QString RFileName;
    QString LFileName;
    QString LPath;
    QString StartPath;
    QString File1Path;  // the hidden file box: the folder whose files ListView1 lists

    // --- click animation ---
    // Seconds on animationClock; double, so that a long-running program keeps whole milliseconds.
    double StartTime = 0;
    int PauseTime = 0;
    // Seconds on a clock that never restarts; tests replace it.
    std::function<double()> animationClock;
    // Where the frames are read from; empty means the frames shipped with the program.
    QString animationFrameFolder;
    bool animationPlaying() const { return !animationRuns_.isEmpty(); }

    // --- the other windows (one each, created on first use) ---
    Form3 *nameDialog();        // created when first needed
    Form4 *aboutWindow();       // created when first needed
    QPointer<Form3> form3;
    QPointer<Form4> form4;

    // --- start-up and shutdown ---
    void Form_Load();
    QColor backColor() const;  // the window's back colour, painted behind its controls
    void ExitApp_Click();
    void Sett_Click();
    void Corvexo_Click();

    // --- command availability ---
    void DItem(bool &Dis);
    void DItem() { bool dis = false; DItem(dis); }
    void DItemIdle() { bool dis = true; DItem(dis); }
    void EItem();

    // --- toolbar and status bar ---
    void Toolbar1_ButtonClick(int position);
    void assignToolbarTooltips();
    void Text1_MouseMove();
    void setStatusText(const QString &text);
    QString statusText() const;

    // --- layout ---
    void Form_Resize();

    // --- click animation ---
    void Picture1_Click();
    bool picIv();          // one pass of the wait: true once StartTime + PauseTime has come
    void Timer1_Timer();   // Timer1's tick; it also carries the animation past its waits

    // --- connect and disconnect ---
    void con_Click();
    void Combo1_Click(int index);
    void Connect();
    void Discon_Click();
    // Starts a command on Inet1; a refusal while connected is told to the user. Returns the error number.
    int executeCommand(const TransferCommand &command);
    // Every mark that tells the completion handler what a command was (all but Connected).
    using OperationMarks = std::array<bool, 11>;
    OperationMarks operationMarks() const;
    void setOperationMarks(const OperationMarks &marks);
    void clearOperationMarks();
    void tellConnectRefusal(int error);
    void tellCommandRefusal(int error);
    // The marks as they stand for the command the control is running; a refused command puts them back.
    OperationMarks marksOfRunningCommand{};

    // --- state events ---
    void Inet1_StateChanged(int State);
    void showRemoteFolder();  // the session's folder beside "Host:", nothing while disconnected
    void dispatchCompletion();
    void listAgainOrShowListing(bool &wait, bool &list);
    void completionTail();
    void reportConnectionError();
    void readyAfterRefusal();

    // --- remote listing ---
    void d();
    void Refr_Click();
    void InAndOutTMFile();
    int ADDTM() const;
    // Once a listing is shown: a box when "tm" could not be written, and in the status
    // bar how many lines of the listing could not be read, if any.
    void tellListingOutcome(int unreadable);
    QString tmWriteFailure;   // the system's reason, while the listing that met it is shown
    // Reads the whole answer of the last command, as text or as it came.
    QString readWholeAnswer();
    QByteArray readAnswerBytes();

    // --- remote navigation ---
    void FCD(bool &UPone);
    void FCD() { bool up = false; FCD(up); }
    void CupD_Click();
    void goUp();
    void ListView2_FocusOrClick();
    void ListView2_DblClick();
    void ListView2_KeyDown(int key);
    void ListView2_MouseDown(Qt::MouseButton button, const QPoint &globalPos);
    void ListView2_BeforeLabelEdit();
    void ListView2_DragDrop(const DropContents &dropped = {});

    // --- download and upload ---
    void CopyFromFTP();
    void CopyToFTP();
    void DownL_Click();
    void UpL_Click();
    // The download handed to the control (name, local folder); listed in ListView1 when it completes.
    std::pair<QString, QString> downloadInHand;
    void listDownloadedFile();

    // --- progress and stop ---
    ProgressPanel *progressPanel = nullptr;  // beside the status bar's text while a transfer runs
    void Inet1_ProgressChanged(const TransferProgress &progress);
    bool stoppableCommandRuns() const;  // a download, upload or listing runs
    void Stop_Click();                  // Esc, or the panel's Stop button
    void Inet1_CommandStopped();

    // --- the transfer queue (app/main_window_queue.cpp) ---
    // The queue of the current setting's login, made when first needed and made
    // again for another login once the old one has nothing left to run.
    queue::TransferQueue *transferQueue();
    TransfersWindow *transfersWindow();
    void Transfers_Click();
    void Options_Click();
    // A whole folder into the queue, the Transfers window opened on it.
    void queueFolderDownload(const QString &name);
    void queueFolderUpload(const QString &name);
    // More than one highlighted entry: each goes to the queue, files and folders alike.
    void queueSelectedDownloads();
    void queueSelectedUploads();
    bool remoteEntryIsFolder(const QString &entryText) const;
    void answerExistingTarget(QPointer<queue::TransferQueue> asking, const queue::ExistingQuestion &question);
    // The queue's sessions log in as the current setting does; paths are absolute.
    SessionLogin queueLogin() const;
    std::unique_ptr<TransferSession> newQueueSession() const;
    QString remotePathInCurrentFolder(const QString &name) const;
    // The remote list is listed again once the queue has nothing left to run.
    void refreshRemoteWhenQueueEnds() { refreshWhenQueueEnds_ = true; }

    // --- drops and "upload this folder" (app/main_window_drops.cpp) ---
    // A selection from the other list or files from the desktop; false leaves
    // the drop to the single-entry route.
    bool uploadDropped(const DropContents &dropped);
    bool downloadDropped(const DropContents &dropped);
    void queueUploads(const QStringList &names);      // names in the local view's folder
    void queueDownloads(const QStringList &entries);  // entries of the remote list
    void UploadFolder_Click();

    // --- delete on a selection (app/main_window_delete.cpp) ---
    // More than one entry or a folder: counted on a queue session, asked once,
    // deleted through the queue. False leaves a single file to Fdelete_Click.
    bool deleteThroughQueue();
    queue::TransferQueue *transferQueueFor(const SessionLogin &login);
    // An unfinished queue offered once the window is shown (app/main_window_restore.cpp).
    void watchForSavedQueue();
    void lookForSavedQueue();
    void offerSavedQueue(const queue::SavedQueueRead &read);

    // --- rename, create, delete ---
    void FrDRname_Click();
    void R();
    void FMkD_Click();
    void MKD();
    void Fdelete_Click();

    // --- edit availability ---
    void eddiF();
    void eddiT();
    void EdDI1();
    void EdDI2();
    void edit_Click();

    // --- local view ---
    void Drive1_Change();
    void Dir1_Change();
    void Ftype();
    void unPathF();
    void LPathF();
    void Text1_KeyDown(int key);
    void ListView1_FocusOrClick();
    void ListView1_DblClick();
    void ListView1_KeyDown(int key);
    void ListView1_MouseDown(Qt::MouseButton button, const QPoint &globalPos);
    void ListView1_DragDrop(const DropContents &dropped = {});
    void ITYPE();
    int Drive1Shown = 0;  // the drive box's entry for the drive shown, kept when another cannot be read

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;
    void changeEvent(QEvent *event) override;

private:
    void createControls();
    void createMenus();
    void createToolbar();
    void connectSignals();
    void connectLocalViewSignals();
    void connectRemoteListSignals();
    void connectProgressAndStop();
    bool exiting_ = false;

    // --- layout ---
    void dockBars();
    void placeControls(const WindowPlacements &p);
    QSize normalFrame();
    QSize normalFrame_;  // invalid until the normal state's frame was seen
    QSize frameUsed_;    // the frame the last normal layout counted with
    bool layoutScheduled_ = false;
    bool frameCheckQueued_ = false;
    static constexpr int kFrameRemeasures = 40;   // 10 s: a loaded window manager may frame late
    int frameRemeasures_ = 0;  // times the frame was asked to be measured again
    bool frameRemeasureQueued_ = false;
    bool inNormalState() const;
    void scheduleLayout();
    void layoutIfFramed();
    void remeasureFrameSoon();

    // --- click animation ---
    void runAnimation();
    void stopAnimation();
    void showFrame(int number);
    QVector<int> animationRuns_;  // the next step of each run, innermost last

    // --- the transfer queue ---
    QPointer<queue::TransferQueue> queue_;
    SessionLogin queueLogin_;
    QPointer<TransfersWindow> transfers_;
    bool refreshWhenQueueEnds_ = false;
    void refreshRemoteList();
    QPointer<RemoteTreeCounter> deletionCount_;
    void askAndDelete(const QList<RemoteRoot> &roots, const QStringList &entries, const TreeCount &count);
    QueueTotalsFeed *queueTotals_ = nullptr;   // the queue's totals in the progress panel
    bool savedQueueLooked_ = false;
};

} // namespace corvexo
