// Start-up, Exit and Close, and the idle, busy and ready command states of
// the main window, on the real widgets.
#include "app/about_window.h"
#include "app/file_list_widget.h"
#include "app/main_window.h"
#include "app/picture_box.h"
#include "app/strings/string_table.h"
#include "remote_ops/name_dialog.h"
#include "settings/settings_store.h"
#include "settings/settings_test_helpers.h"
#include "settings/settings_window.h"
#include "support/scripted_transfer_control.h"
#include "support/test_data_dir.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include "local/folder_box.h"
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QtTest>

#include <memory>

using namespace corvexo;

namespace {

struct Started {
    testing::TestDataDir data;
    testing::MessageLog messages;
    testing::ScriptedTransferControl *inet = nullptr;
    std::unique_ptr<Form1> window;
    void start()
    {
        testing::resetSettingsStore();
        inet = new testing::ScriptedTransferControl;
        window = std::make_unique<Form1>(inet);
    }
};

// The enabled flags of the group that the command states switch, in one line.
QString group(const Form1 &w)
{
    const std::pair<const char *, bool> items[] = {
        {"con", w.con->isEnabled()},
        {"Discon", w.Discon->isEnabled()},
        {"Refr", w.Refr->isEnabled()},
        {"edit", w.edit->menuAction()->isEnabled()},
        {"help", w.help->menuAction()->isEnabled()},
        {"Combo1", w.Combo1->isEnabled()},
        {"ListView2", w.ListView2->isEnabled()},
        {"b1", w.toolbarButton(1)->isEnabled()},
        {"b2", w.toolbarButton(2)->isEnabled()},
        {"b3", w.toolbarButton(3)->isEnabled()},
        {"b5", w.toolbarButton(5)->isEnabled()},
        {"b6", w.toolbarButton(6)->isEnabled()},
        {"b7", w.toolbarButton(7)->isEnabled()},
    };
    QStringList on;
    for (const auto &[name, enabled] : items)
        if (enabled) on << QString::fromLatin1(name);
    return on.join(u' ');
}

const QString kIdle = QStringLiteral("con edit help Combo1 b1 b7");
const QString kIdleAfterBusy = QStringLiteral("con Combo1 b1 b7");
const QString kBusy;
const QString kReady = QStringLiteral("con Discon Refr edit help Combo1 ListView2 b1 b2 b3 b5 b6 b7");

void pressCtrl(QWidget *window, Qt::Key key)
{
    QTest::keyClick(window, key, Qt::ControlModifier);
    QApplication::processEvents();
}

bool settingsShown()
{
    return existingSettingsWindow() && existingSettingsWindow()->isVisible();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startUpInAnEmptyFolder()
    {
        Started s;
        s.start();
        Form1 &w = *s.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Corvexo1.0 Beta2"));
        QCOMPARE(w.Label1->text(), QStringLiteral("Host:"));
        QCOMPARE(w.Label2->text(), QStringLiteral("Local:"));
        const QColor navy(8, 8, 83);
        QCOMPARE(w.backColor(), navy);
        QCOMPARE(w.Picture1->palette().color(QPalette::Window), navy);
        for (QLabel *label : {w.Label1, w.Label2}) {
            QCOMPARE(label->palette().color(QPalette::Window), navy);
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
        }
        QCOMPARE(w.Text1->palette().color(QPalette::Base), navy);
        QCOMPARE(w.Text1->palette().color(QPalette::Text), QColor(255, 255, 192));
        // The colour stays with those controls.
        QVERIFY(w.ListView1->palette().color(QPalette::Base) != navy);
        QVERIFY(w.menuBar()->palette().color(QPalette::Window) != navy);

        QVERIFY(!w.Connected);
        QVERIFY(w.ListWait);
        QCOMPARE(w.Combo1->count(), 0);
        QVERIFY(CurrentSetting[1].isEmpty());
        QVERIFY(!existingSettingsWindow());
        QVERIFY(!w.form3 && !w.form4);
        QVERIFY(w.statusText().isEmpty());
        QVERIFY(s.messages.seen.isEmpty());
        QCOMPARE(group(w), kIdle);
        for (QAction *item : {w.UpL, w.DownL, w.CupD, w.FrDRname, w.FMkD, w.Fdelete, w.Sett, w.Corvexo, w.ExitApp})
            QVERIFY2(item->isEnabled() && item->isVisible(), qPrintable(item->text()));
        QVERIFY(s.inet->commands.isEmpty());
    }

    void menuTreeCaptionsAndShortcuts()
    {
        Started s;
        s.start();
        Form1 &w = *s.window;
        const QList<QAction *> bar = w.menuBar()->actions();
        QCOMPARE(bar.size(), 3);
        QCOMPARE(bar.at(0)->text(), QStringLiteral("Connection(&C)"));
        QCOMPARE(bar.at(1)->text(), QStringLiteral("Edit(&E)"));
        QCOMPARE(bar.at(2)->text(), QStringLiteral("Help(&H)"));
        auto items = [](QMenu *menu) {
            QStringList lines;
            for (QAction *a : menu->actions())
                lines << (a->isSeparator() ? QStringLiteral("-") : a->text() + u' ' + a->shortcut().toString());
            return lines;
        };
        QCOMPARE(items(w.Connection), (QStringList{"Connect(&C) Ctrl+C", "Disconnect(&I) Ctrl+I", "-", "Exit(&X) Ctrl+X"}));
        QCOMPARE(items(w.edit), (QStringList{"Upload(&P) Ctrl+P", "Download(&W) Ctrl+W", "-",
                                             "Change to upper directory(&U) Ctrl+U", "Refresh(&R) Ctrl+R", "-",
                                             "Change name(&A) Ctrl+A", "Create directory(&N) Ctrl+N",
                                             "Delete(&D) Ctrl+D", "-", "Set up connection setting(&S)... Ctrl+S"}));
        QCOMPARE(items(w.help), QStringList{"About Corvexo(&H)... Ctrl+H"});
    }

    void startUpWithSettingsFiles()
    {
        Started s;
        QVERIFY(s.data.write(QStringLiteral("Sfile"), "\"ftp.example.org\",\"pw\",\"anne\",\"21\",\"Home\"\r\n"));
        QVERIFY(s.data.write(QStringLiteral("SLItems"), "\"ftp.example.org\",\"pw\",\"anne\",\"21\",\"Home\"\r\n"
                                                        "\"ftp.work.example.org\",\"pw2\",\"bob\",\"2121\",\"Work\"\r\n"));
        s.start();
        Form1 &w = *s.window;
        QCOMPARE(CurrentSetting[1], QStringLiteral("ftp.example.org"));
        QCOMPARE(CurrentSetting[3], QStringLiteral("anne"));
        QCOMPARE(CurrentSetting[5], QStringLiteral("Home"));
        QVERIFY(existingSettingsWindow());
        QVERIFY(!existingSettingsWindow()->isVisible());
        QStringList names;
        for (int i = 0; i < w.Combo1->count(); ++i) names << w.Combo1->itemText(i);
        QCOMPARE(names, (QStringList{"Home", "Work"}));
        QVERIFY(s.messages.seen.isEmpty());
        QCOMPARE(group(w), kIdle);
        QVERIFY(s.inet->commands.isEmpty());
    }

    void exitUnloadsTheWindowsInOrder()
    {
        Started s;
        s.start();
        Form1 &w = *s.window;
        w.show();
        w.Sett->trigger();
        w.Sett->trigger();
        QCOMPARE(w.findChildren<Form2 *>().size(), 1);
        QVERIFY(settingsShown() && !existingSettingsWindow()->isModal());
        w.nameDialog();
        w.Corvexo->trigger();
        QStringList gone;
        for (QObject *window : {static_cast<QObject *>(w.form4.data()), static_cast<QObject *>(w.form3.data()),
                                static_cast<QObject *>(existingSettingsWindow())})
            connect(window, &QObject::destroyed, &w, [&gone, window] { gone << window->objectName(); });
        existingSettingsWindow()->setObjectName(QStringLiteral("Form2"));
        w.form3->setObjectName(QStringLiteral("Form3"));
        w.form4->setObjectName(QStringLiteral("Form4"));
        w.ExitApp->trigger();
        QCOMPARE(gone, (QStringList{"Form2", "Form3", "Form4"}));
        QVERIFY(!w.isVisible());
        QVERIFY(!existingSettingsWindow());
    }

    void exitWhileConnectedDisconnectsFirst()
    {
        Started s;
        s.start();
        Form1 &w = *s.window;
        QCOMPARE(w.Dir1->path(), QDir::currentPath());
        CurrentSetting[1] = QStringLiteral("ftp.example.org");
        w.show();
        w.con->trigger();
        QVERIFY(w.Connected);
        QVERIFY(!s.inet->commands.isEmpty());
        w.Sett_Click();
        bool disconnectedBeforeUnload = false;
        bool savedBeforeUnload = false;
        connect(existingSettingsWindow(), &QObject::destroyed, &w, [&] {
            disconnectedBeforeUnload = s.inet->cancelCount > 0 && !w.Connected;
            savedBeforeUnload = QFile::exists(s.data.filePath(QStringLiteral("childpf")));
        });
        QVERIFY(!QFile::exists(s.data.filePath(QStringLiteral("childpf"))));
        w.close();
        QVERIFY(disconnectedBeforeUnload);
        QVERIFY(savedBeforeUnload);
        QCOMPARE(w.statusText(), QStringLiteral("Connection is stopped."));
        QVERIFY(s.data.read(QStringLiteral("childpf")).startsWith(QDir::currentPath().toUtf8()));
    }

    void errorStateLeavesEditAndHelpOff()
    {
        Started s;
        s.start();
        Form1 &w = *s.window;
        CurrentSetting[1] = QStringLiteral("ftp.example.org");
        w.con->trigger();
        s.inet->report({1, 2, 3});
        QCOMPARE(group(w), kBusy);
        s.inet->fail(530, QStringLiteral("Login incorrect."));
        QVERIFY(!w.Connected);
        QCOMPARE(group(w), kIdleAfterBusy);
        QVERIFY(w.Sett->isEnabled() && !w.edit->menuAction()->isEnabled());

        // The next connection's completion brings them back.
        w.con->trigger();
        s.inet->completeWithAnswer("pub/\r\nreadme.txt\r\n");
        // Ready, with Download and Upload waiting for a selection.
        QCOMPARE(group(w), QStringLiteral("con Discon Refr edit help Combo1 ListView2 b1 b2 b3 b7"));
        w.Discon->trigger();
        QCOMPARE(group(w), kIdle);
    }

    void button1ConnectsWithoutTheHostCheck()
    {
        Started s;
        s.start();
        Form1 &w = *s.window;
        w.con->trigger();
        QCOMPARE(w.statusText(), QStringLiteral("You have not completed the connection setting."));
        QVERIFY(!w.Connected);
        QVERIFY(s.inet->properties.isEmpty());
        w.Toolbar1_ButtonClick(1);
        QVERIFY(w.Connected);
        QVERIFY(!s.inet->properties.isEmpty());
        QCOMPARE(w.statusText(), QStringLiteral("You have not completed the connection setting."));
    }

    void closingRunsExit()
    {
        Started s;
        s.start();
        Form1 &w = *s.window;
        w.show();
        w.Sett_Click();
        w.Corvexo_Click();
        QPointer<Form4> about = w.form4;
        QVERIFY(w.close());
        QVERIFY(!about);
        QVERIFY(!existingSettingsWindow());
        QVERIFY(!w.isVisible());
    }

    void commandStatesFollowTheirTables()
    {
        Started s;
        s.start();
        Form1 &w = *s.window;
        QCOMPARE(group(w), kIdle);

        w.DItem();  // Dis omitted: busy
        QCOMPARE(group(w), kBusy);
        bool dis = true;
        w.DItem(dis);
        QVERIFY(!dis);
        QCOMPARE(group(w), kIdleAfterBusy);  // Edit and Help stay off after busy
        w.EItem();
        QCOMPARE(group(w), kReady);
        w.DItemIdle();  // the user's Disconnect in the ready state
        QCOMPARE(group(w), kIdle);
        dis = false;
        w.DItem(dis);
        QCOMPARE(group(w), kBusy);
        QVERIFY(w.toolbarButton(4)->isEnabled());  // the gap is never touched
        QVERIFY(w.Sett->isEnabled());               // nor is the settings item

        // Disabled buttons raise no click, a disabled list takes no keys.
        w.show();
        QSignalSpy connects(w.toolbarButton(1), &QAction::triggered);
        QTest::mouseClick(w.Toolbar1->widgetForAction(w.toolbarButton(1)), Qt::LeftButton);
        QCOMPARE(connects.count(), 0);
        QSignalSpy keys(w.ListView2, &FileListWidget::keyPressed);
        QTest::keyClick(w.ListView2, Qt::Key_Return);
        QCOMPARE(keys.count(), 0);
    }

    void disabledMenusTakeTheirShortcuts()
    {
        Started s;
        s.start();
        Form1 &w = *s.window;
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));

        w.DItem();
        w.DItemIdle();  // as after an error state: Edit and Help stay off
        pressCtrl(&w, Qt::Key_H);
        pressCtrl(&w, Qt::Key_S);
        QVERIFY(!w.form4);
        QVERIFY(!settingsShown());

        w.EItem();
        pressCtrl(&w, Qt::Key_S);
        QVERIFY(settingsShown());
        existingSettingsWindow()->hide();
        w.activateWindow();
        QTRY_COMPARE(QGuiApplication::focusWindow(), w.windowHandle());
        pressCtrl(&w, Qt::Key_H);
        QVERIFY(w.form4 && w.form4->isVisible());
    }

    void menusInJapanese()
    {
        if (uiLanguage() != UiLanguage::Japanese) QSKIP("runs again under LANG=ja_JP.UTF-8");
        Started s;
        s.start();
        Form1 &w = *s.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Corvexo1.0 Beta2"));
        const std::pair<QMenu *, int> menus[] = {{w.Connection, 190}, {w.edit, 194}, {w.help, 203}};
        for (const auto &[menu, number] : menus) QCOMPARE(menu->title(), textIn(UiLanguage::Japanese, number));
        const std::pair<QAction *, int> items[] = {{w.con, 192}, {w.Discon, 191}, {w.ExitApp, 193}, {w.UpL, 195},
                                                   {w.DownL, 196}, {w.CupD, 197}, {w.Refr, 198}, {w.FrDRname, 199},
                                                   {w.FMkD, 200}, {w.Fdelete, 201}, {w.Sett, 202}, {w.Corvexo, 204}};
        for (const auto &[item, number] : items) QCOMPARE(item->text(), textIn(UiLanguage::Japanese, number));
        QCOMPARE(w.Label1->text(), textIn(UiLanguage::Japanese, 188));
        QVERIFY(w.con->text() != textIn(UiLanguage::English, 192));
        w.show();
        QTest::mouseClick(w.Toolbar1->widgetForAction(w.toolbarButton(2)), Qt::LeftButton);
        QCOMPARE(w.toolbarButton(7)->toolTip(), textIn(UiLanguage::Japanese, 211));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
