// Moving through remote folders and the other events of ListView2.
#include "app/strings/string_table.h"
#include "remote_ops/name_dialog.h"
#include "tst_window_fixture.h"

#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

using namespace corvexo;
using corvexo::testing::WindowFixture;

class RemoteNavigationTest : public QObject {
    Q_OBJECT

    static void listed(WindowFixture &f)
    {
        f.connectWithListing("../\r\n./\r\nabc./\r\nmy dir/\r\npub/\r\nreadme.txt");
    }

private slots:
    void enterOpensFoldersAndGoesUp_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("command");
        QTest::newRow("pub/") << "pub/" << "CD pub";
        QTest::newRow("my dir/ keeps its blank") << "my dir/" << "CD my dir";
        QTest::newRow("../") << "../" << "CDUP ";
        QTest::newRow("./ also goes up") << "./" << "CDUP ";
        QTest::newRow("abc./ is taken for the way up") << "abc./" << "CDUP ";
    }
    void enterOpensFoldersAndGoesUp()
    {
        QFETCH(QString, entry);
        QFETCH(QString, command);
        WindowFixture f;
        listed(f);
        f.selectRemote(entry);
        QTest::keyClick(f.window->ListView2, Qt::Key_Return);
        QCOMPARE(f.inet->lastCommand(), command);
        QVERIFY(f.window->CdWait && f.window->CdList);
        if (entry == "my dir/") QCOMPARE(f.inet->sent.last().operands, QStringList({"my dir"}));
    }

    void wholeRoadOfOneFolderChange()
    {
        WindowFixture f;
        listed(f);
        f.selectRemote("pub/");
        const QRect rect = f.window->ListView2->visualItemRect(f.window->ListView2->currentItem());
        QTest::mouseDClick(f.window->ListView2->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(f.inet->lastCommand(), QStringLiteral("CD pub"));
        QTest::qWait(QApplication::doubleClickInterval() + 100);
        QVERIFY2(!f.window->form3 || !f.window->form3->isVisible(), "a double-click is no rename");
        f.inet->completeCommand();
        QCOMPARE(f.inet->lastCommand(), QStringLiteral("Dir "));
        f.inet->completeWithAnswer("../\r\ninner.txt");
        QCOMPARE(f.remoteEntries(), QStringList({"../", "inner.txt"}));
        QVERIFY(!f.window->CdWait && !f.window->CdList);
        QCOMPARE(f.caption(), text(166));
        QCOMPARE(f.inet->commands, QStringList({"dir ", "CD pub", "Dir "}));
    }

    void clickOnTheHighlightedEntryRenamesButADoubleClickOpens()
    {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        listed(f);
        QWidget *viewport = f.window->ListView2->viewport();
        f.selectRemote("pub/");
        const QPoint pub = f.window->ListView2->visualItemRect(f.window->ListView2->currentItem()).center();
        // A real double-click: press, release, then the second press arrives as a double-click.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, pub);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, pub);
        QTest::qWait(QApplication::doubleClickInterval() + 200);
        QCOMPARE(f.inet->lastCommand(), QStringLiteral("CD pub"));
        QVERIFY2(!f.window->form3 || !f.window->form3->isVisible(), "a double-click is no rename");

        f.inet->completeCommand();
        f.inet->completeWithAnswer("../\r\nfile.txt");
        f.selectRemote("file.txt");
        const QPoint file = f.window->ListView2->visualItemRect(f.window->ListView2->currentItem()).center();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, file);
        QTRY_VERIFY(f.window->form3 && f.window->form3->isVisible());
        QCOMPARE(f.window->ListView2->currentItem()->text(), QStringLiteral("file.txt"));
    }

    void enterOnAFileDownloadsIt()
    {
        WindowFixture f;
        listed(f);
        QTemporaryDir local;
        f.window->File1Path = local.path();
        f.selectRemote("readme.txt");
        QTest::keyClick(f.window->ListView2, Qt::Key_Return);
        QCOMPARE(f.inet->lastCommand(), QStringLiteral("GET readme.txt ") + local.path() + QStringLiteral("/readme.txt"));
        QVERIFY(f.window->GetWait);
        QVERIFY(!f.window->CdWait);
    }

    void upperDirectoryMenuGoesUpWhateverIsCurrent()
    {
        WindowFixture f;
        listed(f);
        f.selectRemote("readme.txt");
        f.window->CupD->trigger();
        QCOMPARE(f.inet->lastCommand(), QStringLiteral("CDUP "));
        QVERIFY(f.window->CdWait && f.window->CdList);
    }

    void emptyListOpensNothing()
    {
        WindowFixture f;
        f.window->ListView2->clear();
        f.window->FCD();
        QVERIFY(f.inet->commands.isEmpty());
    }

    void rightButtonPopsUpTheEditMenuLeftDoesNot()
    {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        listed(f);
        QWidget *viewport = f.window->ListView2->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!f.window->edit->isVisible());
        QVERIFY(f.window->ListView2->hasFocus());
        QTest::mousePress(viewport, Qt::RightButton, {}, QPoint(5, 5));
        QTRY_VERIFY(f.window->edit->isVisible());
        f.window->edit->hide();
    }

    void focusOnTheRemoteListUnhighlightsTheLocalEntry()
    {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        listed(f);
        f.window->ListView1->clear();
        f.window->ListView1->addItem("local.txt");
        f.window->ListView1->setCurrentRow(0);
        f.window->ListView1->item(0)->setSelected(true);
        f.window->ListView1->setFocus();
        f.window->ListView2->setFocus();
        QVERIFY(!f.window->ListView1->item(0)->isSelected());
        QCOMPARE(f.window->ListView1->currentRow(), 0);  // it stays the current entry
    }

    void dropAsksBeforeUploading()
    {
        WindowFixture f;
        listed(f);
        f.answer = MessageBoxAnswer::No;
        emit f.window->ListView2->droppedOn();
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.boxes[0].text, text(174));
        QCOMPARE(f.boxes[0].title, text(175));
        QVERIFY(f.boxes[0].yesNo);
        QVERIFY(!f.window->PutWait);

        QTemporaryDir local;
        f.window->File1Path = local.path();
        f.window->ListView1->clear();
        f.window->ListView1->addItem("up.txt");
        f.window->ListView1->setCurrentRow(0);
        f.answer = MessageBoxAnswer::Yes;
        emit f.window->ListView2->droppedOn();
        QCOMPARE(f.inet->lastCommand(), QStringLiteral("put ") + local.path() + QStringLiteral("/up.txt up.txt"));
        QVERIFY(f.window->PutWait && f.window->PutList);
    }

    void editingAnEntryNeverChangesItsText()
    {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        listed(f);
        f.selectRemote("../");
        QTest::keyClick(f.window->ListView2, Qt::Key_F2);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f.window->ListView2));  // no editor opened
        QCOMPARE(f.window->ListView2->currentItem()->text(), QStringLiteral("../"));
        QVERIFY(f.boxes.isEmpty());
        QCOMPARE(f.inet->commands.size(), 1);
    }
};

QTEST_MAIN(RemoteNavigationTest)
#include "tst_remote_navigation.moc"
