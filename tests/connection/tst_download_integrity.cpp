// Downloads that must not replace a good file with a bad one: a server whose
// data falls short of or runs past the size it announced, a reply dripped byte
// by byte, a slow but moving data stream, and a download stopped by the user.

#include "connection/ftp/ftp_transfer_control.h"
#include "support/ftp_test_server.h"
#include "support/ftp_run.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace corvexo;
using namespace corvexo::testing;

class DownloadIntegrityTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir local_;

    static void point(FtpTransferControl &control, const FtpTestServer &server, int timeoutMs)
    {
        control.setRemotePort(server.port());
        control.setRemoteHost(QStringLiteral("127.0.0.1"));
        control.setUserName(server.user());
        control.setPassword(server.password());
        control.setRequestTimeoutMilliseconds(timeoutMs);
    }

    QString olderFile()
    {
        const QString path = local_.filePath(QStringLiteral("f.bin"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write("older") != 5) return {};
        return path;
    }

    QByteArray contentOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList localFiles() { return QDir(local_.path()).entryList(QDir::Files | QDir::Hidden); }

private slots:
    void sizeThatDoesNotMatchKeepsTheOlderFile_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("announce");
        QTest::newRow("short, SIZE") << "short" << "size";
        QTest::newRow("short, 150 reply") << "short" << "150";
        QTest::newRow("three times, SIZE") << "long" << "size";
        QTest::newRow("three times, 150 reply") << "long" << "150";
    }
    void sizeThatDoesNotMatchKeepsTheOlderFile()
    {
        QFETCH(QString, mode);
        QFETCH(QString, announce);
        FtpTestServer server;
        QVERIFY2(server.start({"--mode", mode, "--announce", announce}, "hostile_ftp_server.py"),
                 qPrintable(server.errorText()));
        FtpTransferControl control;
        point(control, server, 5000);
        const QString target = olderFile();
        const FtpRun run = runOn(control, TransferCommand::get(QStringLiteral("f.bin"), target));
        QCOMPARE(run.states.last(), int(TransferState::Error));
        QCOMPARE(run.code, 0);
        if (mode == u"short")
            QCOMPARE(run.info, QStringLiteral("The download of f.bin is not complete: 40000 bytes arrived of the "
                                              "100000 bytes the server announced. The local file was left as it was."));
        else
            QVERIFY2(run.info.startsWith(QStringLiteral("The download of f.bin is not complete: ")), qPrintable(run.info));
        QCOMPARE(contentOf(target), QByteArray("older"));
        QCOMPARE(localFiles(), QStringList{QStringLiteral("f.bin")});
    }

    void drippedReplyEndsWithTheTimeOut()
    {
        FtpTestServer server;
        QVERIFY2(server.start({"--mode", "drip", "--pause", "0.1"}, "hostile_ftp_server.py"), qPrintable(server.errorText()));
        FtpTransferControl control;
        point(control, server, 1000);
        // Byte by byte, the greeting alone takes 2.5 s; each byte came well within the time-out.
        const FtpRun run = runOn(control, TransferCommand::listing(), 1024, 2200);
        QCOMPARE(run.states, (QList<int>{1, 2, 3, 11}));
        QCOMPARE(run.info, QStringLiteral("The server did not answer within 1 seconds."));
    }

    void slowButMovingDataKeepsGoing()
    {
        FtpTestServer server;
        QVERIFY2(server.start({"--mode", "slow", "--size", "1000", "--pause", "0.1"}, "hostile_ftp_server.py"),
                 qPrintable(server.errorText()));
        FtpTransferControl control;
        point(control, server, 600);
        const QString target = olderFile();
        // 16 pieces 0.1 s apart: far longer than the time-out in all.
        const FtpRun run = runOn(control, TransferCommand::get(QStringLiteral("f.bin"), target));
        QCOMPARE(run.states.last(), int(TransferState::ResponseCompleted));
        QCOMPARE(contentOf(target).size(), 1000);
    }

    void stoppedDownloadKeepsTheSessionAndTheOlderFile()
    {
        FtpTestServer server;
        QVERIFY2(server.start({"--throttle", "100000"}), qPrintable(server.errorText()));
        QVERIFY(server.writeFile(QStringLiteral("f.bin"), QByteArray(2000000, 'x')));
        FtpTransferControl control;
        point(control, server, 20000);
        QCOMPARE(runOn(control, TransferCommand::listing()).states.last(), int(TransferState::ResponseCompleted));

        const QString target = olderFile();
        QSignalSpy stopped(&control, &TransferControl::commandStopped);
        QList<TransferProgress> progress;
        connect(&control, &TransferControl::progressChanged, this, [&](const TransferProgress &p) { progress << p; });
        QList<int> states;
        connect(&control, &TransferControl::stateChanged, this, [&](int state) { states << state; });
        QCOMPARE(control.execute(TransferCommand::get(QStringLiteral("f.bin"), target)), 0);
        QVERIFY(QTest::qWaitFor([&] { return control.progress().done >= 150000; }, 10000));
        control.stop();
        QVERIFY(stopped.wait(10000));
        QVERIFY(!control.stillExecuting());
        QVERIFY(!states.contains(TransferState::Error) && !states.contains(TransferState::ResponseCompleted));
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.first().total, 2000000);
        QVERIFY(progress.size() < 20);   // a few a second, not one per piece
        QCOMPARE(contentOf(target), QByteArray("older"));
        QCOMPARE(localFiles(), QStringList{QStringLiteral("f.bin")});

        // Still logged in, in the same folder.
        const FtpRun next = runOn(control, TransferCommand::listing());
        QCOMPARE(next.states, completed());
        QCOMPARE(sortedLines(next.answer), QStringList{QStringLiteral("f.bin")});
    }
};

QTEST_GUILESS_MAIN(DownloadIntegrityTest)
#include "tst_download_integrity.moc"
