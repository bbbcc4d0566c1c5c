// Transfers that must not replace a good file with a bad one: data short of or
// past the size the server announced, replies that cannot be read (dripped byte
// by byte, or no FTP at all), a slow but moving data stream, and a download and
// an upload stopped by the user.

#include "connection/ftp/ftp_transfer_control.h"
#include "support/ftp_run.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace corvexo;
using namespace corvexo::testing;

class DownloadIntegrityTest : public QObject {
    Q_OBJECT
    QTemporaryDir local_;
    FtpTestServer server_;
    FtpTransferControl control_;

    void serve(const QStringList &arguments, int timeoutMs, const QString &script = "hostile_ftp_server.py")
    {
        server_.stop();
        QVERIFY2(server_.start(arguments, script), qPrintable(server_.errorText()));
        pointAt(control_, server_);
        control_.setRequestTimeoutMilliseconds(timeoutMs);
    }
    QString olderFile(const QString &name = "f.bin", const QByteArray &content = "older")
    {
        QFile file(local_.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() ? file.fileName() : QString();
    }
    QStringList localFiles() { return QDir(local_.path()).entryList(QDir::Files | QDir::Hidden); }

private slots:
    void cleanup() { control_.cancel(); }

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
        serve({"--mode", mode, "--announce", announce}, 5000);
        const QString target = olderFile();
        const FtpRun run = runOn(control_, TransferCommand::get(QStringLiteral("f.bin"), target));
        QCOMPARE(run.states.last(), int(TransferState::Error));
        if (mode == u"short")
            QCOMPARE(run.info, QStringLiteral("The download of f.bin is not complete: 40000 bytes arrived of the "
                                              "100000 bytes the server announced. The local file was left as it was."));
        else
            QVERIFY2(run.info.startsWith(QStringLiteral("The download of f.bin is not complete: ")), qPrintable(run.info));
        QCOMPARE(contentOf(target), QByteArray("older"));
        QCOMPARE(localFiles(), QStringList{QStringLiteral("f.bin")});
    }

    void replyThatCannotBeRead_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("info");
        // Byte by byte the greeting takes 2.5 s, each byte well within the time-out.
        QTest::newRow("dripped") << "drip" << "The server did not answer within 1 seconds.";
        // Once connected, this is no reason to try the host's next address.
        QTest::newRow("no FTP") << "garbage" << "The connection to the server broke: The server sent a malformed reply.";
    }
    void replyThatCannotBeRead()
    {
        QFETCH(QString, mode);
        QFETCH(QString, info);
        serve({"--mode", mode, "--pause", "0.1"}, 1000);
        const FtpRun run = runOn(control_, TransferCommand::listing(), 1024, 2200);
        QCOMPARE(run.states, (QList<int>{1, 2, 3, 11}));
        QCOMPARE(run.info, info);
    }

    void slowButMovingDataKeepsGoing()
    {
        // 16 pieces 0.1 s apart: far longer than the time-out in all.
        serve({"--mode", "slow", "--size", "1000", "--pause", "0.1"}, 600);
        const QString target = olderFile();
        QCOMPARE(runOn(control_, TransferCommand::get(QStringLiteral("f.bin"), target)).states.last(), 12);
        QCOMPARE(contentOf(target).size(), 1000);
    }

    void stopKeepsTheSessionAndLeavesNothingHalfDone()
    {
        serve({"--throttle", "100000"}, 20000, "ftp_server.py");
        QVERIFY(server_.writeFile(QStringLiteral("f.bin"), QByteArray(2000000, 'x')));
        const QString target = olderFile();
        QSignalSpy stopped(&control_, &TransferControl::commandStopped);
        QList<TransferProgress> progress;
        connect(&control_, &TransferControl::progressChanged, this, [&](const TransferProgress &p) { progress << p; });
        QList<int> states;
        connect(&control_, &TransferControl::stateChanged, this, [&](int state) { states << state; });
        QCOMPARE(control_.execute(TransferCommand::get(QStringLiteral("f.bin"), target)), 0);
        QVERIFY(QTest::qWaitFor([&] { return control_.progress().done >= 150000; }, 10000));
        control_.stop();
        QVERIFY(stopped.wait(10000));
        QVERIFY(!control_.stillExecuting() && !states.contains(11) && !states.contains(12));
        QCOMPARE(progress.first().total, 2000000);
        QVERIFY(progress.size() < 20);   // a few a second, not one per piece
        QCOMPARE(contentOf(target), QByteArray("older"));
        QCOMPARE(localFiles(), QStringList{QStringLiteral("f.bin")});
        const FtpRun next = runOn(control_, TransferCommand::listing());   // logged in, same folder
        QCOMPARE(sortedLines(next.answer), QStringList{QStringLiteral("f.bin")});

        const QString upload = olderFile("up.bin", QByteArray(2000000, 'u'));
        QCOMPARE(control_.execute(TransferCommand::put(upload, QStringLiteral("up.bin"))), 0);
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo(server_.pathOf("up.bin")).size() >= 150000; }, 10000));
        control_.stop();
        QVERIFY(stopped.wait(10000));
        QVERIFY(!QFile::exists(server_.pathOf("up.bin")));   // no part of it stays on the server
        QCOMPARE(runOn(control_, TransferCommand::listing()).states, completed());
    }
};

QTEST_GUILESS_MAIN(DownloadIntegrityTest)
#include "tst_download_integrity.moc"
