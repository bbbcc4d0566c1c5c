// The main window as a user meets it: what can be seen and clicked, the port
// field, removing and choosing settings, downloads that fail, progress, stop
// and the question before an overwrite.
#include "app/file_list_widget.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/picture_box.h"
#include "app/progress_panel.h"
#include "app/progress_texts.h"
#include "app/qt_translations.h"
#include "local/folder_box.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"
#include "support/window_fixture.h"

#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace corvexo;
using namespace corvexo::testing;

namespace {

const QByteArray kTwoSettings = "\"ftp.one.test\",\"pw1\",\"ann\",\"21\",\"one\"\r\n"
                                "\"ftp://ftp.two.test\",\"pw2\",\"bob\",\"50021\",\"two\"\r\n";

} // namespace

class WindowFixesTest : public QObject {
    Q_OBJECT
private slots:
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
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Completed."));
        QVERIFY(f.boxes.isEmpty());
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

QTEST_MAIN(WindowFixesTest)
#include "tst_window_fixes.moc"
