// The main window following the transfer control's states: texts of every
// state, the error box, and the completion dispatch over the marks.
#include "app/strings/string_table.h"
#include "connection/state_texts.h"
#include "tst_window_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QtTest>

using namespace corvexo;
using corvexo::testing::WindowFixture;

class StateEventsTest : public QObject {
    Q_OBJECT

    static bool busy(Form1 &w)
    {
        return !w.con->isEnabled() && !w.Discon->isEnabled() && !w.ListView2->isEnabled() && !w.Combo1->isEnabled()
            && !w.edit->menuAction()->isEnabled() && !w.help->menuAction()->isEnabled();
    }
    static bool ready(Form1 &w)
    {
        return w.con->isEnabled() && w.Discon->isEnabled() && w.Refr->isEnabled() && w.ListView2->isEnabled()
            && w.edit->menuAction()->isEnabled();
    }

private slots:
    void everyProgressStateHasItsCaption_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("caption");
        QTest::newRow("1") << 1 << "Checking host computer IP.";
        QTest::newRow("2") << 2 << "Found IP address.";
        QTest::newRow("3") << 3 << "Connecting...";
        QTest::newRow("4") << 4 << "Connected.";
        QTest::newRow("5") << 5 << "Sending...";
        QTest::newRow("6") << 6 << "Sent out";
        QTest::newRow("7") << 7 << "Executing...";
        QTest::newRow("8") << 8 << "Please wait few more minutes. The process is being executing.";
        QTest::newRow("9") << 9 << "The connection is stopping...";
    }
    void everyProgressStateHasItsCaption()
    {
        QFETCH(int, state);
        QFETCH(QString, caption);
        WindowFixture f;
        f.window->Connect();
        f.inet->report({state});
        QCOMPARE(f.caption(), caption);
        QVERIFY(busy(*f.window));
        QVERIFY(f.window->Connected);
        QVERIFY(f.boxes.isEmpty());
    }

    void loggedInShowsTheSettingsUserEvenWhenEmpty()
    {
        WindowFixture f;
        f.window->Connect();
        f.inet->report({4});
        QCOMPARE(f.status(), QStringLiteral("User name: joe, Password successful"));
        WindowFixture::useSetting("h", "", "", "");
        f.inet->report({4});
        QCOMPARE(f.status(), QStringLiteral("User name: , Password successful"));
    }

    void disconnectedStateDisconnects()
    {
        WindowFixture f;
        f.connectWithListing("a.txt");
        f.inet->report({9, 10});
        QCOMPARE(f.caption(), text(163));
        QCOMPARE(f.status(), text(136));
        QVERIFY(!f.window->Connected);
        QCOMPARE(f.inet->cancelCount, 1);
        // Busy came first, so Edit and Help stay off in the idle state.
        QVERIFY(f.window->con->isEnabled());
        QVERIFY(!f.window->edit->menuAction()->isEnabled());
        QVERIFY(!f.window->help->menuAction()->isEnabled());
    }

    void errorStateShowsCodeAndTextThenDisconnects()
    {
        WindowFixture f;
        f.window->Connect();
        f.inet->report({1, 2, 3});
        f.inet->fail(530, "Login incorrect.");
        QCOMPARE(f.caption(), text(164));
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.boxes[0].text, QStringLiteral("There has been an error with connecting host computer.\r\n530 Login incorrect."));
        QCOMPARE(f.boxes[0].title, QStringLiteral("Corvexo"));
        QVERIFY(!f.boxes[0].yesNo);
        QCOMPARE(f.status(), text(136));
        QVERIFY(!f.window->Connected);
        QVERIFY(f.window->ListWait);  // marks stay as they were
    }

    void errorStateWithCodeZeroAndNoText()
    {
        QCOMPARE(connectionErrorMessage(0, QString()),
                 QStringLiteral("There has been an error with connecting host computer.\r\n0 "));
    }

    void plainListingIsShownThenReady()
    {
        WindowFixture f;
        f.window->Connect();
        f.inet->report({1, 2, 3, 4, 5, 6, 7, 8});
        QVERIFY(busy(*f.window));
        f.inet->completeWithAnswer("../\r\npub/\r\nreadme.txt");
        QCOMPARE(f.remoteEntries(), QStringList({"../", "pub/", "readme.txt"}));
        QCOMPARE(f.remoteImages(), QList<int>({7, 7, 13}));
        QVERIFY(!f.window->ListWait);
        QVERIFY(ready(*f.window));
        QCOMPARE(f.caption(), text(166));
        QCOMPARE(f.inet->commands, QStringList({"dir "}));
    }

    void completionTailSwitchesTransfersOffAndFocusesTheRemoteList()
    {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.window->ListView1->setFocus();
        f.window->UpL->setEnabled(true);
        f.window->DownL->setEnabled(true);
        f.connectWithListing("a.txt");
        QVERIFY(!f.window->toolbarButton(5)->isEnabled());
        QVERIFY(!f.window->toolbarButton(6)->isEnabled());
        QVERIFY(!f.window->UpL->isEnabled());
        QVERIFY(!f.window->DownL->isEnabled());
        QVERIFY(f.window->toolbarButton(2)->isEnabled());
        QVERIFY(f.window->ListView2->hasFocus());
        QCOMPARE(f.caption(), text(166));
    }

    void completionWithoutMarksOnlyShowsCompleted()
    {
        WindowFixture f;
        f.connectWithListing("a.txt");
        f.window->UpL->setEnabled(true);
        f.window->setWindowTitle("x");
        f.inet->completeWithAnswer("ignored.txt");
        QCOMPARE(f.remoteEntries(), QStringList({"a.txt"}));
        QCOMPARE(f.caption(), text(166));
        QVERIFY(f.window->UpL->isEnabled());  // no tail
        QVERIFY(ready(*f.window));
    }

    void operationsAskForAListingThenShowIt_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("upload") << "put";
        QTest::newRow("folder change") << "cd";
        QTest::newRow("rename") << "ren";
        QTest::newRow("deletion") << "del";
    }
    void operationsAskForAListingThenShowIt()
    {
        QFETCH(QString, operation);
        WindowFixture f;
        f.connectWithListing("old.txt");
        Form1 &w = *f.window;
        bool Form1::*waitMark = operation == "put" ? &Form1::PutWait
                              : operation == "cd"  ? &Form1::CdWait
                              : operation == "ren" ? &Form1::RenWait
                                                   : &Form1::DelWait;
        bool Form1::*listMark = operation == "put" ? &Form1::PutList
                              : operation == "cd"  ? &Form1::CdList
                              : operation == "ren" ? &Form1::RenList
                                                   : &Form1::DelList;
        w.*waitMark = true;
        w.*listMark = true;
        f.inet->report({5, 6, 7, 8});
        QVERIFY(busy(w));
        f.inet->completeWithAnswer("not a listing");
        QCOMPARE(f.inet->lastCommand(), QStringLiteral("Dir "));
        QVERIFY(w.*waitMark);
        QVERIFY(!(w.*listMark));
        QCOMPARE(f.remoteEntries(), QStringList({"old.txt"}));
        QVERIFY(ready(w));  // the tail runs between the two commands
        QCOMPARE(f.caption(), text(166));
        f.inet->completeWithAnswer("new.txt\r\nsub/");
        QCOMPARE(f.remoteEntries(), QStringList({"new.txt", "sub/"}));
        QVERIFY(!(w.*waitMark));
        QCOMPARE(f.inet->commands.size(), 2);
    }

    void folderCreationListsTheFolderAgain()
    {
        WindowFixture f;
        f.connectWithListing("a.txt");
        Form1 &w = *f.window;
        w.MkdWait = true;
        w.CdList = true;
        f.inet->completeCommand();  // mkdir done
        QCOMPARE(f.inet->lastCommand(), QStringLiteral("Dir "));
        QVERIFY(!w.MkdWait && w.CdWait && !w.CdList);
        f.inet->completeWithAnswer("a.txt\r\nnew/");
        QCOMPARE(f.remoteEntries(), QStringList({"a.txt", "new/"}));
        QVERIFY(!w.CdWait);
    }

    void downloadEndsAtItsFirstCompletionAndLeavesTheList()
    {
        WindowFixture f;
        f.connectWithListing("a.txt");
        f.window->GetWait = true;
        f.inet->completeWithAnswer("some bytes");
        QVERIFY(!f.window->GetWait);
        QCOMPARE(f.remoteEntries(), QStringList({"a.txt"}));
        QVERIFY(f.inet->answer.isEmpty());  // read, so it cannot turn up later
        QCOMPARE(f.inet->commands.size(), 1);
        QCOMPARE(f.caption(), text(166));
    }

    void marksAreTakenInTheirOrder()
    {
        WindowFixture f;
        f.connectWithListing("a.txt");
        Form1 &w = *f.window;
        w.GetWait = w.PutWait = w.CdWait = w.RenWait = w.MkdWait = w.DelWait = w.ListWait = true;
        const auto step = [&] { f.inet->completeWithAnswer("x"); };
        step();
        QVERIFY(!w.GetWait && w.PutWait);
        step();  // PutList false: the listing is shown
        QVERIFY(!w.PutWait && w.CdWait);
        step();
        QVERIFY(!w.CdWait && w.RenWait);
        step();
        QVERIFY(!w.RenWait && w.MkdWait);
        step();  // FCD lists again and sets CdWait
        QVERIFY(!w.MkdWait && w.CdWait && w.DelWait);
        QCOMPARE(f.inet->lastCommand(), QStringLiteral("Dir "));
        step();
        QVERIFY(!w.CdWait && w.DelWait);
        step();
        QVERIFY(!w.DelWait && w.ListWait);
        step();
        QVERIFY(!w.ListWait);
        QCOMPARE(f.remoteEntries(), QStringList({"x"}));
    }
};

QTEST_MAIN(StateEventsTest)
#include "tst_state_events.moc"
