// The main window itself: its idle, busy and ready states, Exit, the click
// animation on a clock in the test's hand, its texts in both languages; and
// as a user meets it: what can be seen and clicked, the port field, removing
// and choosing settings, downloads that fail, progress, stop and the question
// before an overwrite; the system's reasons in Japanese, progress figures whole
// at the fixed size, and the window at a device pixel ratio of 2.
#include "app/about_window.h"
#include "app/data_files.h"
#include "app/file_list_widget.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/picture_box.h"
#include "app/progress_panel.h"
#include "app/progress_texts.h"
#include "app/qt_translations.h"
#include "app/strings/string_table.h"
#include "app/transfer_list_model.h"
#include "app/transfers_window.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "local/folder_box.h"
#include "remote_ops/name_dialog.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"
#include "support/ftp_test_server.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QStatusBar>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <memory>

using namespace corvexo;
using namespace corvexo::testing;

namespace {
const QByteArray kTwoSettings = "\"ftp.one.test\",\"pw1\",\"ann\",\"21\",\"one\"\r\n"
                                "\"ftp://ftp.two.test\",\"pw2\",\"bob\",\"50021\",\"two\"\r\n";

// The enabled ones of the group that the command states switch.
QString group(const Form1 &w)
{
    const std::pair<const char *, bool> items[] = {
        {"con", w.con->isEnabled()}, {"Discon", w.Discon->isEnabled()}, {"Refr", w.Refr->isEnabled()},
        {"edit", w.edit->menuAction()->isEnabled()}, {"help", w.help->menuAction()->isEnabled()},
        {"Combo1", w.Combo1->isEnabled()}, {"ListView2", w.ListView2->isEnabled()}, {"b1", w.toolbarButton(1)->isEnabled()},
        {"b2", w.toolbarButton(2)->isEnabled()}, {"b3", w.toolbarButton(3)->isEnabled()},
        {"b5", w.toolbarButton(5)->isEnabled()}, {"b6", w.toolbarButton(6)->isEnabled()}, {"b7", w.toolbarButton(7)->isEnabled()}};
    QStringList on;
    for (const auto &[name, enabled] : items)
        if (enabled) on << QString::fromLatin1(name);
    return on.join(u' ');
}
} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void everyTextNumberHasBothLanguages()
    {
        for (int n = 101; n <= 213; ++n)
            for (UiLanguage lang : {UiLanguage::English, UiLanguage::Japanese})
                QVERIFY2(textIn(lang, n).isEmpty() == (n == 102), qPrintable(QString::number(n)));
    }

    void commandStatesFromIdleThroughAnErrorToReady()
    {
        WindowFixture f;
        Form1 &w = *f.window;
        QCOMPARE(group(w), QStringLiteral("con edit help Combo1 b1 b7"));
        WindowFixture::useSetting("ftp.example.org", "", "", "");
        w.con->trigger();
        f.inet->report({1, 2, 3});
        QCOMPARE(group(w), QStringLiteral("Discon b2"));  // disconnecting stays at hand
        f.inet->fail(530, "Login incorrect.");
        QCOMPARE(group(w), QStringLiteral("con edit help Combo1 b1 b7"));  // the settings stay reachable
        QVERIFY(w.Sett->isEnabled());
        w.con->trigger();
        f.inet->completeWithAnswer("pub/\r\nreadme.txt");
        QCOMPARE(group(w), QStringLiteral("con Discon Refr edit help Combo1 ListView2 b1 b2 b3 b7"));
        w.Discon->trigger();
        QCOMPARE(group(w), QStringLiteral("con edit help Combo1 b1 b7"));
    }

    void exitDisconnectsRemembersTheFolderAndUnloadsInOrder()
    {
        WindowFixture f;
        Form1 &w = *f.window;
        w.show();
        f.connectWithListing("a.txt");
        w.Sett->trigger();
        w.nameDialog();
        w.Corvexo->trigger();
        QStringList gone;
        const std::pair<QObject *, const char *> windows[] = {
            {existingSettingsWindow(), "Form2"}, {w.form3.data(), "Form3"}, {w.form4.data(), "Form4"}};
        for (const auto &[window, name] : windows)
            connect(window, &QObject::destroyed, &w, [&gone, &f, name = QString::fromLatin1(name)] {
                gone << name + (f.inet->cancelCount > 0 && f.data.read("childpf").size() ? " after" : " before");
            });
        w.close();
        QCOMPARE(gone, (QStringList{"Form2 after", "Form3 after", "Form4 after"}));
        QVERIFY(!w.Connected && !w.isVisible());
        QCOMPARE(w.statusText(), QStringLiteral("Connection is stopped."));
        QCOMPARE(f.data.read("childpf"), QDir::currentPath().toUtf8() + "\r\n");
    }

    void clickAnimationKeepsItsSchedule()
    {
        WindowFixture f;
        Form1 &w = *f.window;
        double now = 1000.0;
        w.animationClock = [&now] { return now; };
        w.show();
        QSignalSpy shown(w.Picture1, &PictureBox::pictureShown);
        const auto tickAt = [&](double time) {
            shown.clear();
            now = time;
            w.Timer1_Timer();
            QList<int> frames;
            for (const QList<QVariant> &signal : std::as_const(shown)) {
                const QString name = QFileInfo(signal.at(0).toString()).fileName();
                frames << name.mid(5, name.size() - 9).toInt();
            }
            return frames;
        };
        w.Picture1_Click();
        QCOMPARE(tickAt(1000.999), QList<int>{});
        QCOMPARE(tickAt(1001.0), (QList<int>{4, 5, 6}));
        for (int frame = 7; frame <= 11; ++frame) QCOMPARE(tickAt(995.0 + frame), QList<int>{frame});
        QCOMPARE(tickAt(1006.99), QList<int>{});
        QVERIFY(!w.form4);
        QCOMPARE(tickAt(1007.0), (QList<int>{12, 13, 14, 15, 16, 17, 18, 19, 20, 2}));
        QVERIFY(w.form4 && w.form4->isVisible() && !w.Timer1->isActive());

        w.Picture1_Click();  // played again, then stopped by Exit
        tickAt(1008.0);
        w.ExitApp_Click();
        QVERIFY(!w.animationPlaying() && !w.Timer1->isActive());
        QCOMPARE(tickAt(1020.0), QList<int>{});
        QTest::qWait(30);
        for (QWidget *top : QApplication::topLevelWidgets()) QVERIFY2(!top->isVisible(), top->metaObject()->className());
    }

    void menusInJapanese()
    {
        if (uiLanguage() != UiLanguage::Japanese) QSKIP("runs again under LANG=ja_JP.UTF-8");
        WindowFixture f;
        Form1 &w = *f.window;
        const std::pair<QString, int> texts[] = {{w.Connection->title(), 190}, {w.edit->title(), 194},
            {w.help->title(), 203}, {w.con->text(), 192}, {w.Fdelete->text(), 201}, {w.Label1->text(), 188}};
        for (const auto &[shown, number] : texts) QCOMPARE(shown, textIn(UiLanguage::Japanese, number));
        QVERIFY(w.con->text() != textIn(UiLanguage::English, 192));
        // The system's reasons come as the system translates them (libc-l10n), in every box.
        const QString translated = QString::fromLocal8Bit(strerror(ENOSPC));
        if (translated != QStringLiteral("No space left on device")) {
            showMessage(&w, QStringLiteral("tm: No space left on device"));
            QCOMPARE(f.texts().last(), QStringLiteral("tm: ") + translated);
        }
        w.show();
        QTest::mouseClick(w.Toolbar1->widgetForAction(w.toolbarButton(2)), Qt::LeftButton);
        QCOMPARE(w.toolbarButton(7)->toolTip(), textIn(UiLanguage::Japanese, 211));
        // The settings window's captions are whole before their fields.
        w.Sett_Click();
        const Form2 *settings = existingSettingsWindow();
        for (const auto &[label, field] : {std::pair{settings->Label3, settings->MaskEdBox1},
                                           {settings->Label4, settings->Text3}, {settings->Label5, settings->Text4}})
            QVERIFY(label->x() + QFontMetrics(label->font()).horizontalAdvance(label->text()) < field->x());
    }

    void systemReasonsInTheUsersLanguage()
    {
        if (uiLanguage() != UiLanguage::Japanese) QSKIP("runs again under LANG=ja_JP.UTF-8");
        const QString full = QString::fromLocal8Bit(strerror(ENOSPC));
        if (full == QStringLiteral("No space left on device")) QSKIP("the system's Japanese messages are missing (libc-l10n)");
        QTemporaryDir disk;
        const QStringList mount {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), QStringLiteral("size=64k"),
                                 QStringLiteral("tmpfs"), disk.path()};
        if (QProcess::execute(QStringLiteral("mount"), mount) != 0) QSKIP("a small tmpfs cannot be mounted here");
        const auto unmount = qScopeGuard([&disk] { QProcess::execute(QStringLiteral("umount"), {disk.path()}); });
        FtpTestServer server;
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        QVERIFY(server.writeFile(QStringLiteral("big.bin"), QByteArray(300'000, 'x')));
        QVERIFY(server.writeFile(QStringLiteral("tree/big.bin"), QByteArray(300'000, 'y')));
        WindowFixture f(WindowFixture::Start::Later);
        f.start(new FtpTransferControl);
        Form1 &w = *f.window;
        w.show();
        QVERIFY(w.Dir1->setPath(disk.path()));
        f.useServer(server);
        w.con_Click();
        QVERIFY(f.settle());

        f.click(w.ListView2, QStringLiteral("big.bin"));
        w.DownL->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!w.GetWait && !w.Inet1->stillExecuting(), 30000);
        const QString reason = QStringLiteral("（デバイスに空き領域がありません）。ファイルは変更されていません。");
        QCOMPARE(f.texts(), QStringList {QStringLiteral("ホストコンピュータとの通信中のエラーです。\r\nローカルファイル ")
                                         + disk.filePath(QStringLiteral("big.bin")) + QStringLiteral(" に書き込めませんでした") + reason});
        // The same through the queue, in the Transfers window's state column.
        f.click(w.ListView2, QStringLiteral("tree/"));
        w.DownL->trigger();
        QVERIFY(QTest::qWaitFor([&w] { return !w.transferQueue()->isRunning(); }, 60000));
        const QAbstractItemModel &rows = *w.transfersWindow()->list()->model();
        const QString state = rows.index(rows.rowCount() - 1, TransferListModel::State).data().toString();
        QVERIFY2(state.startsWith(QStringLiteral("失敗: ローカルファイル ")) && state.endsWith(reason), qPrintable(state));
        w.setStatusText(QStringLiteral("tm: No space left on device"));
        QCOMPARE(w.statusText(), QStringLiteral("tm: デバイスに空き領域がありません"));
    }

    void twiceAsLargeAndSharpAtScaleTwo()
    {
        WindowFixture f;
        Form1 &w = *f.window;
        if (w.devicePixelRatioF() != 2.0) QSKIP("runs again under QT_SCALE_FACTOR=2");
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.frameGeometry().size() * w.devicePixelRatioF(), QSize(1200, 900));
        QVERIFY(w.Picture1->showFile(resourceFilePath(QStringLiteral("pyufr2.gif"))));
        const QPixmap frame = w.Picture1->pixmap();
        QCOMPARE(frame.devicePixelRatio(), 2.0);
        QCOMPARE(frame.size(), QSize(380, 176));   // drawn from the larger file, not enlarged
        for (int position : {1, 2, 3, 5, 6, 7})
            QVERIFY(w.toolbarButton(position)->icon().availableSizes().contains(QSize(32, 32)));
    }

    void pathBoxAndCaptionsAreUncovered()
    {
        WindowFixture f;
        Form1 &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QWidget *client = w.centralWidget();
        const QRect box = w.Text1->geometry();
        for (const QPoint &point : {box.center(), QPoint(box.left() + 2, box.center().y())}) {
            QWidget *there = client->childAt(point);
            QVERIFY(there == w.Text1 || w.Text1->isAncestorOf(there));
        }
        for (QLabel *caption : {w.Label1, w.Label2}) {
            const QRect text = QFontMetrics(caption->font())
                                   .boundingRect(caption->contentsRect(), int(caption->alignment()), caption->text())
                                   .translated(caption->pos());
            QVERIFY2(text.bottom() < w.ListView1->y(), qPrintable(caption->text()));
            QVERIFY(caption->rect().contains(text.translated(-caption->pos())));
        }
        QVERIFY(!w.Label2->geometry().intersects(w.Text1->geometry()));
        QVERIFY(client->rect().contains(w.Picture1->geometry()));
    }

    void portFieldTakesAnyPortAndSettingBoxConnectsTheChosenSetting()
    {
        WindowFixture f;
        f.window->Sett_Click();
        Form2 *w = existingSettingsWindow();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        typeSetting(w, QStringLiteral("ftp.five.test"), QStringLiteral("pw5"), QStringLiteral("eve"), QString(),
                    QStringLiteral("five"));
        QTest::mouseClick(w->MaskEdBox1, Qt::LeftButton, {}, QPoint(w->MaskEdBox1->width() - 3, 8));
        QTest::keyClicks(w->MaskEdBox1, QStringLiteral("5x0021"));
        QCOMPARE(w->portValue(), QStringLiteral("50021"));
        w->Command4->click();
        QVERIFY(f.boxes.isEmpty());
        QCOMPARE(f.data.read(QStringLiteral("SLItems")),
                 QByteArray("\"ftp.five.test\",\"pw5\",\"eve\",\"50021\",\"five\"\r\n"));

        CurrentSetting = {QString(), QStringLiteral("ftp.other.test"), QStringLiteral("x"), QStringLiteral("y")};
        f.window->Combo1_Click(0);
        QVERIFY(f.inet->properties.contains(QStringLiteral("port 50021")));
        QVERIFY(f.inet->properties.contains(QStringLiteral("host ftp.five.test")));
        QCOMPARE(CurrentSetting[5], QStringLiteral("five"));
        QVERIFY(!QFile::exists(f.data.filePath(QStringLiteral("Sfile"))));

        w->MaskEdBox1->setText(QStringLiteral("70000"));
        w->Command6->click();
        QCOMPARE(f.boxes.size(), 1);
        QVERIFY(f.boxes[0].text.endsWith(
            QStringLiteral("* The port \"70000\" cannot be used. Please enter a number from 1 to 65535.\r\n")));
        QCOMPARE(CurrentSetting[4], QStringLiteral("50021"));
    }

    void removingAnotherSettingLeavesTheDefault()
    {
        const QByteArray defaultLine = "\"ftp.one.test\",\"pw1\",\"ann\",\"21\",\"one\"";
        WindowFixture f(WindowFixture::Start::Later);
        f.data.write(QStringLiteral("SLItems"), kTwoSettings);
        f.data.write(QStringLiteral("Sfile"), defaultLine);
        f.start();
        CurrentSetting[5] = QStringLiteral("typed but not saved");
        f.window->Sett_Click();
        Form2 *w = existingSettingsWindow();
        f.answers = {true};
        QCOMPARE(w->Text6->text(), QStringLiteral("one"));
        w->List1->setCurrentRow(1);
        w->Command3->click();
        QCOMPARE(w->List1->count(), 1);
        QCOMPARE(w->Text6->text(), QStringLiteral("one"));
        QCOMPARE(f.data.read(QStringLiteral("Sfile")), defaultLine);
        QCOMPARE(f.data.read(QStringLiteral("SLItems")), kTwoSettings.left(kTwoSettings.indexOf('\n') + 1));
    }

    void failedDownloadLeavesNoName()
    {
        WindowFixture f;
        QTemporaryDir local;
        f.window->Dir1->setPath(local.path());
        f.connectWithListing("readme.txt\r\n");
        f.select(f.window->ListView2, QStringLiteral("readme.txt"));
        f.window->DownL_Click();
        QVERIFY(!f.entries(f.window->ListView1).contains(QStringLiteral("readme.txt")));
        f.inet->fail(550, QStringLiteral("No such file"));
        QVERIFY(!f.entries(f.window->ListView1).contains(QStringLiteral("readme.txt")));
    }

    void progressShownEscStopsAndStoppedLeavesTheWindowReady()
    {
        WindowFixture f;
        QTemporaryDir local;
        f.window->Dir1->setPath(local.path());
        f.connectWithListing("../\r\nreadme.txt\r\n");
        f.window->show();
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.select(f.window->ListView2, QStringLiteral("readme.txt"));
        const int entries = f.window->ListView2->count();
        f.window->DownL_Click();
        f.inet->executing = true;
        emit f.inet->progressChanged({TransferProgress::Unit::Bytes, 2048, 10240});
        QVERIFY(f.window->progressPanel->isVisible());
        QCOMPARE(f.window->progressPanel->bar->value(), 200);
        QVERIFY(f.window->progressPanel->line->text().startsWith(QStringLiteral("2.0 KB of 10.0 KB")));
        QCOMPARE(progressLine({TransferProgress::Unit::Bytes, 2048, 10240}, 2000),
                 QStringLiteral("2.0 KB of 10.0 KB, 1.0 KB/s, 0:08 left"));
        QCOMPARE(progressLine({TransferProgress::Unit::Entries, 1500, -1}, 50), QStringLiteral("1500 entries received"));
        QCOMPARE(durationText(3723), QStringLiteral("1:02:03"));
        QTest::keyClick(f.window.get(), Qt::Key_Escape);
        QCOMPARE(f.inet->stopCount, 1);
        f.inet->executing = false;
        emit f.inet->commandStopped();
        QVERIFY(!f.window->progressPanel->isVisible());
        QVERIFY(f.window->Connected && f.window->ListView2->isEnabled() && !f.window->GetWait);
        QCOMPARE(f.inet->commands.size(), 2);  // nothing listed again
        QCOMPARE(f.window->ListView2->count(), entries);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Stopped."));
        QVERIFY(f.boxes.isEmpty());
    }

    void progressFiguresStayWholeAtTheFixedSize_data()
    {
        QTest::addColumn<TransferProgress>("progress");
        QTest::addColumn<qint64>("elapsedMs");
        const qint64 speed = 1048473;   // 1023.9 KB/s
        const qint64 done = 1073636966;  // 1023.9 MB
        QTest::newRow("done of total, speed, hours left")
            << TransferProgress{TransferProgress::Unit::Bytes, done, 1099403067801} << done * 1000 / speed;
        QTest::newRow("listing") << TransferProgress{TransferProgress::Unit::Entries, 999999, -1} << qint64(5000);
    }

    void progressFiguresStayWholeAtTheFixedSize()
    {
        QFETCH(TransferProgress, progress);
        QFETCH(qint64, elapsedMs);
        WindowFixture f;
        Form1 &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.setStatusText(QStringLiteral("User name: ") + QString(80, u'x'));  // a long text beside it gives way
        ProgressPanel &panel = *w.progressPanel;
        panel.report(progress);
        panel.line->setText(progressLine(progress, elapsedMs));
        const int needed = QFontMetrics(panel.line->font()).horizontalAdvance(panel.line->text());
        QTRY_VERIFY2(panel.line->contentsRect().width() >= needed, qPrintable(panel.line->text()));
        const QPushButton &stop = *panel.stopButton;
        QVERIFY(stop.width() >= QFontMetrics(stop.font()).horizontalAdvance(stop.text()));
        QVERIFY(w.StatusBar1->rect().contains(panel.geometry()));
        QVERIFY(w.statusLabel->geometry().right() < panel.geometry().left());
    }

    void escWhileConnectingDisconnectsAndLeavesNoListingToOpen()
    {
        WindowFixture f;
        Form1 &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        f.connectWithListing("pub/\r\nreadme.txt");
        w.Discon_Click();
        WindowFixture::useSetting("ftp.other.test", "pw", "ann", "");
        w.con_Click();
        f.inet->report({1, 2, 3});
        f.inet->executing = true;
        QVERIFY(w.toolbarButton(2)->isEnabled() && w.Discon->isEnabled());
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(f.inet->cancelCount == 2 && f.inet->stopCount == 0 && !w.Connected);
        QCOMPARE(w.windowTitle(), QStringLiteral("Stopped."));
        QCOMPARE(group(w), QStringLiteral("con edit help Combo1 b1 b7"));
        QCOMPARE(w.ListView2->count(), 0);  // the first server's entries are gone
        QCOMPARE(f.inet->commands, (QStringList{"dir ", "dir "}));
    }

    void maximisedFillsTheScreenAndRestoresTheFixedSize()
    {
        WindowFixture f;
        Form1 &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QSize normal = w.frameGeometry().size();
        QCOMPARE(normal, QSize(600, 450));
        const QRect localList = w.ListView1->geometry(), remoteList = w.ListView2->geometry();
        for (int round = 0; round < 2; ++round) {
            w.showMaximized();
            QTRY_VERIFY(w.frameGeometry().width() >= w.screen()->availableGeometry().width());
            QTRY_VERIFY(w.ListView2->geometry().right() >= w.centralWidget()->width() - 3);   // laid out
            QCOMPARE(w.ListView2->geometry().right() + 1, w.ListView1->width() + w.ListView2->width());
            QCOMPARE(w.ListView1->geometry().bottom() + 1, w.StatusBar1->y());
            QVERIFY(qAbs(w.ListView1->width() * 5480 - w.ListView2->width() * 3500) < 5480 * 2);
            w.showNormal();
            QTest::qWait(50);   // the platform's own geometry events of the restore arrive first
            QCOMPARE(w.frameGeometry().size(), normal);
            QCOMPARE(w.ListView1->geometry(), localList);
            QCOMPARE(w.ListView2->geometry(), remoteList);
        }
    }

    void cutTextsShowWholeInTheirTooltips()
    {
        WindowFixture f;
        Form1 &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QString longText = QStringLiteral("User name: ") + QString(120, u'x') + QStringLiteral(", Password successful");
        for (const QString &shown : {QStringLiteral("short"), longText}) {
            w.setStatusText(shown);
            QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), w.statusLabel->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(w.statusLabel, &help);
            QCOMPARE(w.statusLabel->toolTip(), shown == longText ? longText : QString());
        }
        const QString longName = QString(60, u'n') + QStringLiteral(".txt");
        w.ListView1->setEntries({{QStringLiteral("a.txt"), 13, 1234, {}}, {longName, 13, 5000000, {}}});
        const auto tip = [&](int row, int column) { return w.ListView1->toolTipFor(w.ListView1->model()->index(row, column)); };
        QCOMPARE(tip(0, NameColumn), QString());
        QCOMPARE(tip(1, NameColumn), longName);
        QCOMPARE(w.ListView1->model()->index(1, SizeColumn).data().toString(), QStringLiteral("4.8 MB"));
        QCOMPARE(tip(1, SizeColumn), QStringLiteral("5,000,000 bytes"));
    }

    void columnWidthsAndSortOrderAreRemembered()
    {
        QTemporaryDir config;
        const auto startWithConfig = [&config](WindowFixture &f) {
            qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
            f.start();
        };
        {
            WindowFixture f(WindowFixture::Start::Later);
            startWithConfig(f);
            f.window->ListView2->applyLook({90, 0, ModifiedColumn, Qt::DescendingOrder});
            f.window->ExitApp_Click();
        }
        WindowFixture f(WindowFixture::Start::Later);
        startWithConfig(f);
        const FileListLook remote = f.window->ListView2->look();
        QCOMPARE(remote.sizeWidth, 90);
        QCOMPARE(remote.sortColumn, int(ModifiedColumn));
        QCOMPARE(remote.sortOrder, Qt::DescendingOrder);
        QCOMPARE(f.window->ListView1->look().sortColumn, -1);  // each list keeps its own
    }

    void replacingAFileIsAskedFirst()
    {
        WindowFixture f;
        QTemporaryDir local;
        f.window->Dir1->setPath(local.path());
        QFile old(local.filePath(QStringLiteral("readme.txt")));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3 && old.flush());
        QVERIFY(old.setFileTime(QDateTime(QDate(2026, 11, 30), QTime(8, 0)), QFileDevice::FileModificationTime));
        old.close();
        f.window->Dir1_Change();
        f.inet->entries = {{QStringLiteral("readme.txt"), false, 10240, QDateTime(QDate(2026, 12, 1), QTime(9, 30))}};
        f.connectWithListing("readme.txt\r\n");
        f.select(f.window->ListView2, QStringLiteral("readme.txt"));
        f.window->DownL_Click();
        f.select(f.window->ListView1, QStringLiteral("readme.txt"));
        f.window->UpL_Click();
        QCOMPARE(f.inet->commands.size(), 1);
        QCOMPARE(f.boxes.size(), 2);
        QVERIFY(f.boxes[0].yesNo && f.boxes[0].noByDefault);
        QCOMPARE(f.boxes[0].text, QStringLiteral("readme.txt already exists in the local folder. Do you want to replace it?"
                                                 "\r\n\r\nExisting file: 3 bytes, 2026-11-30 08:00"
                                                 "\r\nFile to download: 10.0 KB, 2026-12-01 09:30"));
        QCOMPARE(f.boxes[1].text, QStringLiteral("readme.txt already exists on the server. Do you want to replace it?"
                                                 "\r\n\r\nExisting file: 10.0 KB, 2026-12-01 09:30"
                                                 "\r\nFile to upload: 3 bytes, 2026-11-30 08:00"));
        // A busy control is told at once, without the question.
        f.inet->executing = true;
        f.window->DownL_Click();
        QCOMPARE(f.boxes.size(), 2);
        QCOMPARE(f.window->statusText(), QStringLiteral("The last demand is being executed."));
        f.inet->executing = false;
        f.answers = {true};
        f.select(f.window->ListView2, QStringLiteral("readme.txt"));
        f.window->DownL_Click();
        QVERIFY(f.inet->lastCommand().startsWith(QStringLiteral("GET readme.txt ")));
    }

    void qtTextsInJapanese()
    {
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ja.qm")))
            QSKIP("Qt's Japanese translation is not installed (qt6-translations-l10n)");
        QVERIFY(!installQtTranslations(qApp, UiLanguage::English));
        QVERIFY(installQtTranslations(qApp, UiLanguage::Japanese));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("はい(&Y)"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
