// The FTP engine when things go wrong or differ: a server without MLSD or
// EPSV, a PASV reply naming another address, a silent server, a server killed
// during a download, cancel during a transfer, a server ending an idle session.

#include "connection/ftp/ftp_transfer_control.h"
#include "support/ftp_test_server.h"
#include "tst_ftp_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace corvexo;
using namespace corvexo::testing;

class FtpFaultsTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir local_;

    static void point(FtpTransferControl &control, const FtpTestServer &server)
    {
        control.setRequestTimeout(60);
        control.setRemotePort(server.port());
        control.setRemoteHost(QStringLiteral("127.0.0.1"));
        control.setUserName(server.user());
        control.setPassword(server.password());
    }

    static void fillSampleFolder(FtpTestServer &server)
    {
        QVERIFY(server.writeFile(QStringLiteral("plain.txt"), "p"));
        QVERIFY(server.writeFile(QStringLiteral("name with  blanks.txt"), "b"));
        QVERIFY(server.writeFile(QStringLiteral("sub dir/x.txt"), "x"));
        QVERIFY(server.makeFolder(QStringLiteral("日本")));
    }

    QString oldTarget()
    {
        const QString path = local_.filePath(QStringLiteral("target.bin"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write("older content") != 13) return {};
        return path;
    }

    QByteArray contentOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList localFiles() { return QDir(local_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

private slots:
    void init()
    {
        for (const QString &name : localFiles()) QFile::remove(local_.filePath(name));
    }

    void listParsedWhenTheServerOffersNoMlsd()
    {
        FtpTestServer server;
        QVERIFY2(server.start({QStringLiteral("--no-mlsd")}), qPrintable(server.errorText()));
        fillSampleFolder(server);
        FtpTransferControl control;
        point(control, server);
        const FtpRun run = runOn(control, TransferCommand::connectListing());
        QCOMPARE(run.states, opening());
        QCOMPARE(sortedLines(run.answer), QStringList({"name with  blanks.txt", "plain.txt", "sub dir/", "日本/"}));
        runOn(control, TransferCommand::changeDir(QStringLiteral("sub dir")));
        QCOMPARE(runOn(control, TransferCommand::listing()).answer, QByteArray("../\r\nx.txt"));
    }

    void pasvAddressIsIgnored()
    {
        FtpTestServer server;
        QVERIFY2(server.start({QStringLiteral("--no-epsv"), QStringLiteral("--masquerade"), QStringLiteral("10.255.255.1")}),
                 qPrintable(server.errorText()));
        fillSampleFolder(server);
        FtpTransferControl control;
        point(control, server);
        control.setRequestTimeout(5);
        const FtpRun run = runOn(control, TransferCommand::connectListing());
        QCOMPARE(run.states, opening());
        QVERIFY(run.answer.contains("plain.txt"));
        const FtpRun get = runOn(control, TransferCommand::get(QStringLiteral("plain.txt"), local_.filePath(QStringLiteral("p.txt"))));
        QCOMPARE(get.states, completed());
        QCOMPARE(contentOf(local_.filePath(QStringLiteral("p.txt"))), QByteArray("p"));
    }

    void silentServerTimesOut()
    {
        FtpTestServer server;
        QVERIFY2(server.start({QStringLiteral("--silent"), QStringLiteral("CWD")}), qPrintable(server.errorText()));
        server.makeFolder(QStringLiteral("d"));
        FtpTransferControl control;
        point(control, server);
        control.setRequestTimeoutMilliseconds(700);
        QCOMPARE(runOn(control, TransferCommand::connectListing()).states, opening());
        const FtpRun cd = runOn(control, TransferCommand::changeDir(QStringLiteral("d")));
        QCOMPARE(cd.states, QList<int>({5, 6, 11}));
        QCOMPARE(cd.code, 0);
        QVERIFY2(cd.info.contains(QStringLiteral("did not answer")), qPrintable(cd.info));
        // The session was given up: the next command opens a new one.
        QCOMPARE(runOn(control, TransferCommand::listing()).states, opening());
    }

    void serverKilledDuringDownloadLeavesTheOlderFile()
    {
        FtpTestServer server;
        QVERIFY2(server.start({QStringLiteral("--throttle"), QStringLiteral("300000")}), qPrintable(server.errorText()));
        QVERIFY(server.writeFile(QStringLiteral("big.bin"), QByteArray(4 * 1024 * 1024, 'z')));
        FtpTransferControl control;
        point(control, server);
        QCOMPARE(runOn(control, TransferCommand::connectListing()).states, opening());
        const QString target = oldTarget();
        QVERIFY(!target.isEmpty());

        QList<int> states;
        connect(&control, &TransferControl::stateChanged, this, [&](int s) { states << s; });
        QCOMPARE(control.execute(TransferCommand::get(QStringLiteral("big.bin"), target)), 0);
        QTRY_VERIFY(states.contains(7));
        QTest::qWait(400);   // some data has been written to the temporary file
        server.stop();
        QTRY_VERIFY(!control.stillExecuting());
        QCOMPARE(states.last(), 11);
        QCOMPARE(control.responseCode(), 0);
        QVERIFY(!control.responseInfo().isEmpty());
        QCOMPARE(contentOf(target), QByteArray("older content"));
        QCOMPARE(localFiles(), QStringList{"target.bin"});
    }

    void cancelDuringTransferStopsAtOnceAndReportsNothing()
    {
        FtpTestServer server;
        QVERIFY2(server.start({QStringLiteral("--throttle"), QStringLiteral("300000")}), qPrintable(server.errorText()));
        QVERIFY(server.writeFile(QStringLiteral("big.bin"), QByteArray(4 * 1024 * 1024, 'z')));
        FtpTransferControl control;
        point(control, server);
        runOn(control, TransferCommand::connectListing());
        const QString target = oldTarget();

        QList<int> states;
        connect(&control, &TransferControl::stateChanged, this, [&](int s) { states << s; });
        QCOMPARE(control.execute(TransferCommand::get(QStringLiteral("big.bin"), target)), 0);
        QTRY_VERIFY(states.contains(7));
        QTest::qWait(300);
        control.cancel();
        QVERIFY(!control.stillExecuting());
        const qsizetype reported = states.size();
        QTest::qWait(500);
        QCOMPARE(states.size(), reported);
        QCOMPARE(contentOf(target), QByteArray("older content"));
        QCOMPARE(localFiles(), QStringList{"target.bin"});

        // Cancel during an upload, then a fresh session works.
        const QString source = local_.filePath(QStringLiteral("up.bin"));
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(4 * 1024 * 1024, 'u')) > 0);
        file.close();
        states.clear();
        QCOMPARE(control.execute(TransferCommand::put(source, QStringLiteral("up.bin"))), 0);
        QTRY_VERIFY(states.contains(6));
        QTest::qWait(300);
        control.cancel();
        QTest::qWait(300);
        QVERIFY(!states.contains(11) && !states.contains(12));
        states.clear();
        QCOMPARE(runOn(control, TransferCommand::listing()).states, opening());
    }

    void cancelWhileConnectingAndExecuteAgain()
    {
        FtpTestServer server;
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        FtpTransferControl control;
        point(control, server);
        QList<int> states;
        connect(&control, &TransferControl::stateChanged, this, [&](int s) { states << s; });
        QCOMPARE(control.execute(TransferCommand::connectListing()), 0);
        control.cancel();
        QTest::qWait(300);
        QVERIFY(states.isEmpty());
        QCOMPARE(runOn(control, TransferCommand::connectListing()).states, opening());
    }

    void serverEndingAnIdleSessionIsReconnectedSilently()
    {
        FtpTestServer server;
        QVERIFY2(server.start({QStringLiteral("--idle-timeout"), QStringLiteral("1")}), qPrintable(server.errorText()));
        FtpTransferControl control;
        point(control, server);
        QCOMPARE(runOn(control, TransferCommand::connectListing()).states, opening());
        QList<int> states;
        connect(&control, &TransferControl::stateChanged, this, [&](int s) { states << s; });
        QTest::qWait(2500);
        QVERIFY(states.isEmpty());
        QCOMPARE(runOn(control, TransferCommand::listing()).states, completed());
    }

    void unreadableUploadEndsInErrorWithClearText()
    {
        FtpTestServer server;
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        FtpTransferControl control;
        point(control, server);
        runOn(control, TransferCommand::connectListing());
        const FtpRun put = runOn(control, TransferCommand::put(local_.filePath(QStringLiteral("missing.bin")), QStringLiteral("m.bin")));
        QCOMPARE(put.states, QList<int>({5, 11}));
        QCOMPARE(put.code, 0);
        QVERIFY2(put.info.startsWith(QStringLiteral("Cannot read the local file")), qPrintable(put.info));
        QVERIFY(!QFile::exists(server.pathOf(QStringLiteral("m.bin"))));

        const FtpRun get = runOn(control, TransferCommand::get(QStringLiteral("x"), QStringLiteral("/no/such/folder/x")));
        QCOMPARE(get.states, QList<int>({5, 11}));
        QVERIFY2(get.info.startsWith(QStringLiteral("Cannot write the local file")), qPrintable(get.info));
        QCOMPARE(runOn(control, TransferCommand::listing()).states, completed());   // the session is still fine
    }
};

QTEST_GUILESS_MAIN(FtpFaultsTest)
#include "tst_ftp_faults.moc"
