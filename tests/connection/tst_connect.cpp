// Connecting and disconnecting on a scripted control: the properties handed
// over, the first listing command, refusals by error number, the disconnect.
#include "app/strings/string_table.h"
#include "connection/connection.h"
#include "tst_window_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QtTest>

using namespace corvexo;
using corvexo::testing::ScriptedTransferControl;
using corvexo::testing::WindowFixture;

namespace {

// Busy exactly once, as a control that was just finishing its previous command.
class BusyOnceControl : public ScriptedTransferControl {
public:
    bool busyOnce = true;
    int execute(const TransferCommand &command) override
    {
        if (busyOnce) {
            busyOnce = false;
            return TransferError::StillExecuting;
        }
        return ScriptedTransferControl::execute(command);
    }
};

} // namespace

class ConnectTest : public QObject {
    Q_OBJECT
private slots:
    void connectHandsOverTheSettingInOrderThenListsWithLowerCaseDir()
    {
        WindowFixture f;
        WindowFixture::useSetting("ftp.example.org", "secret", "alice", "99");
        f.window->Connect();
        QCOMPARE(f.inet->properties, QStringList({"timeout 60", "protocol 2", "access 0", "port 99",
                                                  "host ftp.example.org", "user alice", "password secret"}));
        QCOMPARE(f.inet->commands, QStringList({"dir "}));
        QVERIFY(f.window->Connected);
        QVERIFY(f.window->ListWait);
        QVERIFY(f.boxes.isEmpty());
    }

    void emptyFieldsGiveTheDefaults()
    {
        WindowFixture f;
        WindowFixture::useSetting("h", "", "", "");
        f.window->Connect();
        // The empty password is handed over too, so none of an earlier setting stays.
        QCOMPARE(f.inet->properties, QStringList({"timeout 60", "protocol 2", "access 0", "port 21", "host h",
                                                  "user Anonymous", "password "}));
        QCOMPARE(f.inet->commands, QStringList({"dir "}));
    }

    void unusablePortTextFallsBackTo21()
    {
        QCOMPARE(remotePortFor(QString()), quint16(21));
        QCOMPARE(remotePortFor("99"), quint16(99));
        QCOMPARE(remotePortFor("2121"), quint16(2121));
        QCOMPARE(remotePortFor("0"), quint16(21));
        QCOMPARE(remotePortFor("70000"), quint16(21));
        QCOMPARE(remotePortFor("2a"), quint16(21));
    }

    void emptyHostStopsWithMessage141()
    {
        WindowFixture f;
        WindowFixture::useSetting("", "pw", "joe", "");
        f.window->Connect();
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.boxes[0].text, text(141));
        QCOMPARE(f.boxes[0].title, QStringLiteral("Corvexo"));
        QVERIFY(!f.boxes[0].yesNo);
        QVERIFY(f.inet->commands.isEmpty());
        QVERIFY(f.window->Connected);  // left set, as the connect began
        QVERIFY(!f.inet->properties.join(',').contains("host"));
    }

    void connectMenuNeedsAHost()
    {
        WindowFixture f;
        WindowFixture::useSetting("", "", "", "");
        f.window->con_Click();
        QCOMPARE(f.status(), text(135));
        QVERIFY(f.inet->properties.isEmpty());
        QVERIFY(!f.window->Connected);

        WindowFixture::useSetting("ftp.test", "", "", "");
        f.window->con->trigger();
        QCOMPARE(f.status(), QStringLiteral("ftp.testStart the connecttion"));
        QCOMPARE(f.inet->commands, QStringList({"dir "}));
    }

    void comboConnectsWithTheCurrentSettingAndIgnoresEmptyNames()
    {
        WindowFixture f;
        f.window->Combo1->addItem(QString());
        f.window->Combo1->addItem("other");
        f.window->Combo1_Click(0);
        QVERIFY(f.inet->commands.isEmpty());
        QVERIFY(!f.window->Connected);
        f.window->Combo1_Click(1);
        QVERIFY(f.inet->properties.contains("host ftp.test"));
        QCOMPARE(f.inet->commands, QStringList({"dir "}));
        QCOMPARE(CurrentSetting[5], QStringLiteral("test"));
    }

    void refusalsWhileConnectingAreToldByNumber_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("boxText");
        QTest::addColumn<int>("statusText");
        QTest::addColumn<bool>("stillConnected");
        QTest::newRow("35752") << 35752 << 142 << 0 << true;
        QTest::newRow("35795") << 35795 << 143 << 0 << true;
        QTest::newRow("35761") << 35761 << 0 << 144 << true;
        QTest::newRow("35758") << 35758 << 0 << 146 << true;
        QTest::newRow("35754 disconnects") << 35754 << 0 << 136 << false;
        QTest::newRow("35759") << 35759 << 0 << 149 << true;
        QTest::newRow("35808") << 35808 << 0 << 150 << true;
        QTest::newRow("35796") << 35796 << 0 << 151 << true;
        QTest::newRow("unknown") << 12345 << 0 << 0 << true;
    }
    void refusalsWhileConnectingAreToldByNumber()
    {
        QFETCH(int, error);
        QFETCH(int, boxText);
        QFETCH(int, statusText);
        QFETCH(bool, stillConnected);
        WindowFixture f;
        f.window->setStatusText("before");
        f.inet->refuseWith = error;
        f.window->Connect();
        QCOMPARE(f.boxes.size(), boxText ? 1 : 0);
        if (boxText) QCOMPARE(f.boxes[0].text, text(boxText));
        QCOMPARE(f.status(), statusText ? text(statusText) : QStringLiteral("before"));
        QCOMPARE(f.window->Connected, stillConnected);
        QCOMPARE(f.inet->cancelCount, stillConnected ? 0 : 1);
        QCOMPARE(f.caption(), QStringLiteral("Corvexo1.0 Beta2"));
    }

    void busyWhileExecutingShowsCaption145AndDisconnects()
    {
        WindowFixture f;
        f.inet->refuseWith = TransferError::StillExecuting;
        f.inet->executing = true;
        f.window->Connect();
        QCOMPARE(f.caption(), text(145));
        QCOMPARE(f.status(), text(136));
        QVERIFY(!f.window->Connected);
        QVERIFY(f.boxes.isEmpty());
    }

    void busyJustFinishingSendsTheListingOnceMore()
    {
        testing::TestDataDir data;
        auto *inet = new BusyOnceControl;
        CurrentSetting = {};
        Form1 window(inet);
        WindowFixture::useSetting("h", "", "u", "");
        window.Connect();
        QCOMPARE(inet->commands, QStringList({"dir "}));
        QVERIFY(window.Connected);
        QCOMPARE(window.windowTitle(), QStringLiteral("Corvexo1.0 Beta2"));
        CurrentSetting = {};
    }

    void newConnectionStartsWithCleanMarks()
    {
        WindowFixture f;
        f.connectWithListing("a.txt");
        // A download that failed leaves its mark behind.
        f.window->GetWait = true;
        f.window->RenWait = true;
        f.window->DelList = true;
        f.inet->fail(550, "No such file");
        QVERIFY(!f.window->Connected);
        f.connectWithListing("new.txt\r\npub/");
        QCOMPARE(f.remoteEntries(), QStringList({"new.txt", "pub/"}));
        QVERIFY(!f.window->GetWait && !f.window->RenWait && !f.window->DelList && !f.window->ListWait);
    }

    void disconnectCancelsAndGoesIdle()
    {
        WindowFixture f;
        f.connectWithListing("a.txt");
        QVERIFY(f.window->Discon->isEnabled());
        f.window->Discon->trigger();
        QCOMPARE(f.inet->cancelCount, 1);
        QCOMPARE(f.status(), text(136));
        QVERIFY(!f.window->Connected);
        QVERIFY(f.window->con->isEnabled());
        QVERIFY(!f.window->Discon->isEnabled());
        QVERIFY(!f.window->ListView2->isEnabled());
        QCOMPARE(f.remoteEntries(), QStringList({"a.txt"}));  // the last listing stays on view
    }

    void busyRefusalAfterConnectingChangesNothingElse()
    {
        WindowFixture f;
        f.connectWithListing("pub/\r\na.txt");
        f.selectRemote("pub/");
        f.window->FCD();  // CD pub runs
        QCOMPARE(f.inet->lastCommand(), QStringLiteral("CD pub"));
        const QString caption = f.caption();
        f.inet->refuseWith = TransferError::StillExecuting;
        f.inet->executing = true;
        // Another command tried while CD runs: its marks must not take CD's completion.
        f.window->PutWait = true;
        f.window->PutList = true;
        f.window->executeCommand(TransferCommand::put("/home/u/a.txt", "a.txt"));
        QCOMPARE(f.status(), text(145));
        QCOMPARE(f.caption(), caption);
        QVERIFY(f.window->Connected);
        QVERIFY(!f.window->PutWait && !f.window->PutList);
        QVERIFY(f.window->CdWait && f.window->CdList);
        QVERIFY(f.boxes.isEmpty());
        QCOMPARE(f.inet->cancelCount, 0);

        f.inet->refuseWith = 0;
        f.inet->executing = false;
        f.inet->completeCommand();
        QCOMPARE(f.inet->lastCommand(), QStringLiteral("Dir "));
        f.inet->completeWithAnswer("../\r\ninner.txt");
        QCOMPARE(f.remoteEntries(), QStringList({"../", "inner.txt"}));
    }

    void otherRefusalAfterConnectingIsToldButKeepsTheConnection()
    {
        WindowFixture f;
        f.connectWithListing("pub/");
        f.inet->refuseWith = TransferError::FtpCommandFailed;
        f.window->Refr_Click();
        QCOMPARE(f.status(), text(149));
        QVERIFY(f.window->Connected);
        QVERIFY(!f.window->ListWait);  // nothing runs that could answer it
    }
};

QTEST_MAIN(ConnectTest)
#include "tst_connect.moc"
