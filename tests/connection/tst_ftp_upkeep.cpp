// Sessions as real servers treat them: an idle session the server ended is
// logged in again and returns to its folder, NOOPs keep a session alive, hosts
// typed with brackets, and active mode when passive mode is refused.

#include "connection/ftp/ftp_transfer_control.h"
#include "support/ftp_run.h"

#include <QTemporaryDir>
#include <QTest>

using namespace corvexo;
using namespace corvexo::testing;

class FtpUpkeepTest : public QObject {
    Q_OBJECT
private slots:
    void idleDropReturnsToTheFolderWithoutAWord()
    {
        FtpTestServer server;
        QVERIFY2(server.start({"--idle-timeout", "1", "--log-commands"}), qPrintable(server.errorText()));
        QVERIFY(server.writeFile("sub/inner.txt", "inner"));
        FtpTransferControl control;
        pointAt(control, server, "ftp://127.0.0.1");
        QCOMPARE(runOn(control, TransferCommand::connectListing()).states, opening());
        QCOMPARE(runOn(control, TransferCommand::changeDir("sub")).states, completed());
        QCOMPARE(runOn(control, TransferCommand::listing()).states, completed());   // the idle time starts here
        QList<int> states;
        connect(&control, &TransferControl::stateChanged, this, [&](int s) { states << s; });
        QTest::qWait(2500);
        QVERIFY(states.isEmpty());
        QTemporaryDir local;
        QCOMPARE(runOn(control, TransferCommand::get("inner.txt", local.filePath("inner.txt"))).states, completed());
        QCOMPARE(server.takeOutput().count("CMD PASS"), 2);
    }

    void noopsKeepTheSessionWithoutDisturbingCommands()
    {
        FtpTestServer server;
        QVERIFY2(server.start({"--idle-timeout", "1", "--log-commands"}), qPrintable(server.errorText()));
        FtpTransferControl control;
        control.setKeepAliveMilliseconds(300);
        pointAt(control, server, "ftp://127.0.0.1");
        QCOMPARE(runOn(control, TransferCommand::connectListing()).states, opening());
        for (int i = 0; i < 4; ++i) {
            QTest::qWait(i * 150);
            QCOMPARE(runOn(control, TransferCommand::listing()).states, completed());
        }
        QTest::qWait(1500);
        QCOMPARE(runOn(control, TransferCommand::listing()).states, completed());
        const QByteArray log = server.takeOutput();
        QCOMPARE(log.count("CMD PASS"), 1);
        QVERIFY(log.contains("CMD NOOP"));
    }

    void typedHostsAreLookedUpWithoutDecoration()
    {
        QCOMPARE(hostToConnect("[::1]"), QStringLiteral("::1"));
        QCOMPARE(hostToConnect("ftp://[::1]"), QStringLiteral("::1"));
        QCOMPARE(hostToConnect(" localhost "), QStringLiteral("localhost"));
        QCOMPARE(hostToConnect("ftp.example.org"), QStringLiteral("ftp.example.org"));
    }

    void activeModeWhenPassiveIsRefused()
    {
        FtpTestServer server;
        QVERIFY2(server.start({"--no-passive", "--log-commands"}), qPrintable(server.errorText()));
        QVERIFY(server.writeFile("a.txt", "alpha"));
        FtpTransferControl control;
        pointAt(control, server, "ftp://127.0.0.1");
        const FtpRun listing = runOn(control, TransferCommand::connectListing());
        QCOMPARE(listing.states, opening());
        QVERIFY(listing.answer.contains("a.txt"));
        QTemporaryDir local;
        QCOMPARE(runOn(control, TransferCommand::get("a.txt", local.filePath("a.txt"))).states, completed());
        QCOMPARE(runOn(control, TransferCommand::put(local.filePath("a.txt"), "b.txt")).states, completed());
        QCOMPARE(server.readFile("b.txt"), QByteArray("alpha"));
        QVERIFY(server.takeOutput().contains("CMD EPRT"));
    }
};

QTEST_MAIN(FtpUpkeepTest)
#include "tst_ftp_upkeep.moc"
