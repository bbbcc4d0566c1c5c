#include "main_window.h"

#include "about_window.h"
#include "client_area.h"
#include "elided_label.h"
#include "list_looks.h"
#include "event_hook.h"
#include "file_list_widget.h"
#include "image_list.h"
#include "picture_box.h"
#include "queue_totals_feed.h"
#include "queue_window_texts.h"
#include "selection_texts.h"
#include "connection/session_security_view.h"
#include "local/folder_box.h"
#include "remote_ops/name_dialog.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"
#include "strings/string_table.h"

#include <QAction>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace corvexo {

namespace {

const QColor kNavy(8, 8, 83);

// Colours one control of its own; its palette reaches no other control.
void paintBackground(QWidget *widget, const QColor &back, const QColor &fore = QColor())
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::Base, back);
    if (fore.isValid()) {
        palette.setColor(QPalette::WindowText, fore);
        palette.setColor(QPalette::Text, fore);
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QAction *addItem(QMenu *menu, Qt::Key key)
{
    QAction *action = menu->addAction(QString());
    action->setShortcut(QKeySequence(Qt::CTRL | key));
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

} // namespace

Form1::Form1(TransferControl *inet, QWidget *parent) : QMainWindow(parent), Inet1(inet)
{
    Inet1->setParent(this);
    // The window keeps one size in its normal state; maximised, it fills the screen.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    QElapsedTimer epoch;
    epoch.start();
    animationClock = [epoch] { return static_cast<double>(epoch.nsecsElapsed()) / 1e9; };
    createControls();
    createMenus();
    createToolbar();
    connectSignals();
    attachSettingsStore(this, Combo1);
    Form_Load();
}

Form1::~Form1()
{
    attachSettingsStore(nullptr, nullptr);
}

void Form1::createControls()
{
    // Toolbar, status bar and controls all sit on the client area, placed by
    // the layout step, so that the picture box can overlap the toolbar.
    auto *client = new ClientArea(this);
    setCentralWidget(client);
    Combo1 = new QComboBox(client);
    Drive1 = new QComboBox(client);
    Dir1 = new FolderBox(client);
    Text1 = new QLineEdit(client);
    Label1 = new QLabel(client);
    Label2 = new QLabel(client);
    for (QLabel *caption : {Label1, Label2}) caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    remotePath = new ElidedLabel(Qt::ElideMiddle, client);
    remotePath->setObjectName(QStringLiteral("remotePath"));
    remotePath->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ListView1 = new FileListWidget(client);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView2 = new FileListWidget(client);
    ListView2->setSide(ListSide::Remote);
    ListView2->setObjectName(QStringLiteral("ListView2"));
    Picture1 = new PictureBox(client);
    Picture1->setToolTip(QStringLiteral("Click me!"));
    Text1->setMouseTracking(true);
    StatusBar1 = new QStatusBar(client);
    statusLabel = new ElidedLabel(Qt::ElideRight, StatusBar1);
    statusLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StatusBar1->addWidget(statusLabel, 1);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setAutoFillBackground(true);  // the bars keep the system's colours
    Timer1 = new QTimer(this);
    Timer1->setTimerType(Qt::PreciseTimer);
    ImageList1 = new ImageList(this);
}

void Form1::createMenus()
{
    Connection = menuBar()->addMenu(QString());
    con = addItem(Connection, Qt::Key_C);
    Discon = addItem(Connection, Qt::Key_I);
    Connection->addSeparator();
    ExitApp = addItem(Connection, Qt::Key_X);

    edit = menuBar()->addMenu(QString());
    UpL = addItem(edit, Qt::Key_P);
    DownL = addItem(edit, Qt::Key_W);
    UploadFolderItem = edit->addAction(QString());
    edit->addSeparator();
    CupD = addItem(edit, Qt::Key_U);
    Refr = addItem(edit, Qt::Key_R);
    edit->addSeparator();
    FrDRname = addItem(edit, Qt::Key_A);
    FrDRname->setShortcuts({FrDRname->shortcut(), QKeySequence(Qt::Key_F2)});
    FMkD = addItem(edit, Qt::Key_N);
    Fdelete = addItem(edit, Qt::Key_D);
    edit->addSeparator();
    Sett = addItem(edit, Qt::Key_S);
    TransfersItem = addItem(edit, Qt::Key_T);
    OptionsItem = edit->addAction(QString());

    help = menuBar()->addMenu(QString());
    Corvexo = addItem(help, Qt::Key_H);
}

void Form1::createToolbar()
{
    Toolbar1 = new QToolBar(centralWidget());
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setAutoFillBackground(true);
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->setContextMenuPolicy(Qt::PreventContextMenu);
    for (int position = 1; position <= 7; ++position) {
        QAction *button = position == 4 ? Toolbar1->addSeparator()
                                        : Toolbar1->addAction(ImageList1->toolbarIcon(position), QString());
        toolbarButtons.append(button);
        if (position != 4)
            connect(button, &QAction::triggered, this, [this, position] { Toolbar1_ButtonClick(position); });
    }
    // The tooltips come with the first mouse button over the toolbar, and again with every one.
    auto *tooltips = new EventHook(Toolbar1, [this](QObject *, QEvent *event) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)
            assignToolbarTooltips();
        return false;
    });
    tooltips->watch(Toolbar1);
    for (QAction *button : std::as_const(toolbarButtons))
        if (QWidget *widget = Toolbar1->widgetForAction(button)) tooltips->watch(widget);
}

void Form1::connectSignals()
{
    connect(con, &QAction::triggered, this, &Form1::con_Click);
    connect(Discon, &QAction::triggered, this, &Form1::Discon_Click);
    connect(ExitApp, &QAction::triggered, this, &Form1::ExitApp_Click);
    connect(UpL, &QAction::triggered, this, &Form1::UpL_Click);
    connect(DownL, &QAction::triggered, this, &Form1::DownL_Click);
    connect(CupD, &QAction::triggered, this, &Form1::CupD_Click);
    connect(Refr, &QAction::triggered, this, &Form1::Refr_Click);
    connect(FrDRname, &QAction::triggered, this, &Form1::FrDRname_Click);
    connect(FMkD, &QAction::triggered, this, &Form1::FMkD_Click);
    connect(Fdelete, &QAction::triggered, this, &Form1::Fdelete_Click);
    connect(Sett, &QAction::triggered, this, &Form1::Sett_Click);
    connect(TransfersItem, &QAction::triggered, this, &Form1::Transfers_Click);
    connect(OptionsItem, &QAction::triggered, this, &Form1::Options_Click);
    connect(UploadFolderItem, &QAction::triggered, this, &Form1::UploadFolder_Click);
    connect(Corvexo, &QAction::triggered, this, &Form1::Corvexo_Click);
    connect(edit, &QMenu::aboutToShow, this, &Form1::edit_Click);
    connect(Combo1, qOverload<int>(&QComboBox::activated), this, &Form1::Combo1_Click);
    connect(Inet1, &TransferControl::stateChanged, this, &Form1::Inet1_StateChanged);
    securityView = new SessionSecurityView(Inet1, StatusBar1, this);
    connect(Picture1, &PictureBox::clicked, this, &Form1::Picture1_Click);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(static_cast<ClientArea *>(centralWidget()), &ClientArea::resized, this, &Form1::dockBars);
    auto *pathBoxMoves = new EventHook(Text1, [this](QObject *, QEvent *event) {
        if (event->type() == QEvent::MouseMove) Text1_MouseMove();
        return false;
    });
    pathBoxMoves->watch(Text1);
    connectLocalViewSignals();
    connectRemoteListSignals();
    connectProgressAndStop();
    queueTotals_ = new QueueTotalsFeed(progressPanel, this);
    watchForSavedQueue();
}

void Form1::Form_Load()
{
    static_cast<ClientArea *>(centralWidget())->setBackColor(kNavy);
    paintBackground(Picture1, backColor());
    paintBackground(Label1, kNavy, Qt::white);
    paintBackground(Label2, kNavy, Qt::white);
    paintBackground(remotePath, kNavy, Qt::white);
    paintBackground(Text1, kNavy, QColor(255, 255, 192));
    setWindowTitle(QStringLiteral("Corvexo1.0 Beta2"));
    Label1->setText(text(188));
    Label2->setText(text(189));
    const std::pair<QMenu *, int> menus[] = {{Connection, 190}, {edit, 194}, {help, 203}};
    const std::pair<QAction *, int> items[] = {{con, 192}, {Discon, 191}, {ExitApp, 193}, {UpL, 195},
                                               {DownL, 196}, {CupD, 197}, {Refr, 198}, {FrDRname, 199},
                                               {FMkD, 200}, {Fdelete, 201}, {Sett, 202}, {Corvexo, 204}};
    for (const auto &[menu, number] : menus) menu->setTitle(text(number));
    for (const auto &[action, number] : items) action->setText(text(number));
    TransfersItem->setText(queueWindowText(QueueWindowText::MenuTransfers));
    OptionsItem->setText(queueWindowText(QueueWindowText::MenuOptions));
    UploadFolderItem->setText(uploadThisFolderMenuText());
    Connected = false;
    ListWait = true;
    for (FileListWidget *list : {ListView1, ListView2}) list->applyLook(readListLook(list->objectName()));
    LoadDefault();
    Dir1_Change();
    LPathF();
    DItemIdle();
    if (!StartPath.isEmpty()) Dir1->setPath(StartPath);
}

QColor Form1::backColor() const
{
    return static_cast<const ClientArea *>(centralWidget())->backColor();
}

void Form1::ExitApp_Click()
{
    if (exiting_) return;  // the close below runs Exit once more; nothing is left to do
    exiting_ = true;
    stopAnimation();  // a running animation must not open the about window after the others are gone
    if (Connected) Discon_Click();
    unPathF();
    for (const FileListWidget *list : {ListView1, ListView2}) writeListLook(list->objectName(), list->look());
    unloadSettingsWindow();
    if (form3) delete form3.data();
    if (form4) delete form4.data();
    close();
}

void Form1::closeEvent(QCloseEvent *event)
{
    ExitApp_Click();
    event->accept();
}

void Form1::Sett_Click()
{
    settingsWindow();
    ShowSettings();
    Form2 *window = settingsWindow();
    window->show();
    window->raise();
}

Form3 *Form1::nameDialog()
{
    if (!form3) form3 = new Form3(this);
    return form3;
}

Form4 *Form1::aboutWindow()
{
    if (!form4) form4 = new Form4(this);
    return form4;
}

void Form1::Corvexo_Click()
{
    Form4 *window = aboutWindow();
    // Over the middle of the main window, where the user is looking.
    window->move(frameGeometry().center() - QPoint(window->width() / 2, window->height() / 2));
    window->show();
    window->raise();
}

} // namespace corvexo
