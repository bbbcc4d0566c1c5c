// The main window on a scripted control: connecting, refusals, the error
// state, the completion dispatch over the marks, clicks on entries, icons.
#include "app/strings/string_table.h"
#include "local/file_icons.h"
#include "remote_ops/name_dialog.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

class ConnectionWindowTest : public QObject {
    Q_OBJECT
private slots:
    void iconEdgeRows_data()
    {
        QTest::addColumn<bool>("remote");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("image");
        QTest::newRow("local exactly .txt") << false << ".txt" << 13;
        QTest::newRow("local upper case") << false << "INDEX.HTML" << 15;
        QTest::newRow("local MP3 not known") << false << "song.MP3" << 3;
        QTest::newRow("remote folder shorter than four") << true << "a/" << 7;
        QTest::newRow("remote folder named like a file") << true << "x.txt/" << 7;
        QTest::newRow("remote empty") << true << "" << 3;
    }
    void iconEdgeRows()
    {
        QFETCH(bool, remote);
        QFETCH(QString, name);
        QFETCH(int, image);
        QCOMPARE(remote ? remoteImageFor(name) : localImageFor(name), image);
    }

    void refusalsWhileConnecting_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("box");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("connected");
        QTest::newRow("35752") << 35752 << 142 << 0 << true;
        QTest::newRow("35754 disconnects") << 35754 << 0 << 136 << false;
        QTest::newRow("unknown") << 12345 << 0 << 0 << true;
    }
    void refusalsWhileConnecting()
    {
        QFETCH(int, error);
        QFETCH(int, box);
        QFETCH(int, status);
        QFETCH(bool, connected);
        WindowFixture f;
        WindowFixture::useSetting("ftp.test", "", "", "");
        f.window->setStatusText("before");
        f.inet->refuseWith = error;
        f.window->Connect();
        QCOMPARE(f.texts(), box ? QStringList{text(box)} : QStringList());
        QCOMPARE(f.window->statusText(), status ? text(status) : QStringLiteral("before"));
        QCOMPARE(f.window->Connected, connected);
    }

    void errorStateTellsWhatHappenedThenDisconnects_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("info");
        QTest::addColumn<bool>("certificateRefused");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("caption");
        const QString error = text(165) + "\r\n";
        QTest::newRow("refused login") << 530 << "Login incorrect." << false
            << error + "The user name or password was not accepted.\r\n530 Login incorrect." << text(164);
        QTest::newRow("local failure: no code") << 0 << "Cannot write /tmp/x: Is a directory" << false
            << error + "Cannot write /tmp/x: Is a directory" << text(164);
        QTest::newRow("certificate not trusted") << 0 << "The server's certificate was not trusted." << true
            << "The session was not opened because the server's certificate was not trusted." << text(163);
    }
    void errorStateTellsWhatHappenedThenDisconnects()
    {
        QFETCH(int, code);
        QFETCH(QString, info);
        QFETCH(bool, certificateRefused);
        WindowFixture f;
        WindowFixture::useSetting("ftp.test", "", "", "");
        f.window->Connect();
        f.window->GetWait = true;
        if (certificateRefused) {
            f.answers = {false};
            emit f.inet->certificateQuestion(CertificateQuestion{"ftp.test", 21});
            QTRY_COMPARE(f.inet->certificateAnswers, QList<bool>{false});
            f.boxes.clear();
        }
        f.inet->fail(code, info);
        QTEST(f.texts().join("|"), "told");
        QTEST(f.window->windowTitle(), "caption");
        QVERIFY(!f.window->Connected);
        f.connectWithListing("new.txt");  // the failed attempt's marks do not take this listing
        QCOMPARE(f.remoteEntries(), QStringList({"new.txt"}));
    }

    void marksAreTakenInTheirOrder()
    {
        WindowFixture f;
        f.connectWithListing("a.txt");
        Form1 &w = *f.window;
        w.GetWait = w.PutWait = w.CdWait = w.RenWait = w.MkdWait = w.DelWait = w.ListWait = true;
        const QList<bool Form1::*> order = {&Form1::GetWait, &Form1::PutWait, &Form1::CdWait, &Form1::RenWait,
                                            &Form1::MkdWait, &Form1::CdWait, &Form1::DelWait, &Form1::ListWait};
        for (bool Form1::*mark : order) {
            QVERIFY(w.*mark);
            f.inet->completeWithAnswer("x");
            QVERIFY(!(w.*mark));  // a folder creation lists again through CdWait
        }
        QCOMPARE(f.remoteEntries(), QStringList({"x"}));
        QCOMPARE(f.inet->commands, QStringList({"dir ", "Dir "}));
    }

    void busyRefusalLeavesTheRunningCommandItsMarks()
    {
        WindowFixture f;
        f.connectWithListing("pub/\r\na.txt");
        f.select(f.window->ListView2, "pub/");
        f.window->FCD();
        f.inet->refuseWith = TransferError::StillExecuting;
        f.inet->executing = true;
        f.window->PutWait = f.window->PutList = true;
        f.window->executeCommand(TransferCommand::put("/home/u/a.txt", "a.txt"));
        QCOMPARE(f.window->statusText(), text(145));
        QVERIFY(!f.window->PutWait && !f.window->PutList);
        QVERIFY(f.window->CdWait && f.window->CdList && f.window->Connected);
        f.inet->refuseWith = 0;
        f.inet->completeCommand();
        f.inet->completeWithAnswer("../\r\ninner.txt");
        QCOMPARE(f.remoteEntries(), QStringList({"../", "inner.txt"}));
    }

    void clickOnTheHighlightedEntryRenamesADoubleClickOpens()
    {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        f.connectWithListing("pub/\r\nfile.txt");
        f.select(f.window->ListView2, "pub/");
        f.click(f.window->ListView2, "pub/");
        QTest::mouseDClick(f.window->ListView2->viewport(), Qt::LeftButton, {},
                           f.window->ListView2->entryRect(f.window->ListView2->currentRow()).center());
        QTest::qWait(QApplication::doubleClickInterval() + 200);
        QCOMPARE(f.inet->lastCommand(), QStringLiteral("CD pub"));
        QVERIFY2(!f.window->form3 || !f.window->form3->isVisible(), "a double-click is no rename");
        f.inet->completeCommand();
        f.inet->completeWithAnswer("../\r\nfile.txt");
        f.select(f.window->ListView2, "file.txt");
        f.click(f.window->ListView2, "file.txt");
        QTRY_VERIFY(f.window->form3 && f.window->form3->isVisible());
    }

};

QTEST_MAIN(ConnectionWindowTest)
#include "tst_connection_window.moc"
