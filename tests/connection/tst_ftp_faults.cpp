// The FTP engine when things go wrong or differ: no MLSD, a PASV reply naming
// another address, a silent server, a server killed during a download, cancel,
// and an answer handed out in pieces that would split a character.

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
    QTemporaryDir local_;
    FtpTestServer server_;
    FtpTransferControl control_;
    QList<int> states_;

    void start(const QStringList &options)
    {
        QVERIFY2(server_.start(options), qPrintable(server_.errorText()));
        control_.setRequestTimeout(5);
        control_.setRemotePort(server_.port());
        control_.setRemoteHost("127.0.0.1");
        control_.setUserName(server_.user());
        control_.setPassword(server_.password());
        QCOMPARE(runOn(control_, TransferCommand::connectListing()).states, opening());
        states_.clear();
    }
    // Starts a slow download over an older local file and waits until data flows.
    QString downloadOverOlderFile()
    {
        const QString target = local_.filePath("target.bin");
        QFile file(target);
        if (!file.open(QIODevice::WriteOnly) || file.write("older content") != 13) return {};
        file.close();
        if (control_.execute(TransferCommand::get("big.bin", target)) != 0) return {};
        QTest::qWaitFor([this] { return states_.contains(7); }, 10000);
        QTest::qWait(300);
        return target;
    }
    QByteArray contentOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase() { connect(&control_, &TransferControl::stateChanged, this, [this](int s) { states_ << s; }); }
    void init()
    {
        states_.clear();
        for (const QString &name : QDir(local_.path()).entryList(QDir::Files | QDir::Hidden)) QFile::remove(local_.filePath(name));
    }
    void cleanup() { server_.stop(); }

    void listParsedWithoutMlsdAndPasvAddressIgnored()
    {
        QVERIFY(server_.writeFile("name with  blanks.txt", "b"));
        QVERIFY(server_.makeFolder("日本"));
        start({"--no-mlsd", "--no-epsv", "--masquerade", "10.255.255.1"});
        QCOMPARE(sortedLines(runOn(control_, TransferCommand::listing()).answer), QStringList({"name with  blanks.txt", "日本/"}));
        QCOMPARE(runOn(control_, TransferCommand::get("name with  blanks.txt", local_.filePath("b"))).states, completed());
        QCOMPARE(contentOf(local_.filePath("b")), QByteArray("b"));
    }

    void smallPiecesNeverSplitACharacter()
    {
        QVERIFY(server_.makeFolder("日本語の長いフォルダ名"));
        start({});
        const QByteArray whole = runOn(control_, TransferCommand::listing()).answer;
        QVERIFY(whole.contains("日本語"));
        control_.execute(TransferCommand::listing());
        QTRY_VERIFY(!control_.stillExecuting());
        QByteArray joined;
        for (QByteArray chunk = control_.getChunk(4); !chunk.isEmpty(); chunk = control_.getChunk(4)) {
            QVERIFY(chunk.size() <= 4);
            QCOMPARE(QString::fromUtf8(chunk).toUtf8(), chunk);
            joined += chunk;
        }
        QCOMPARE(joined, whole);
    }

    void silentServerTimesOutAndTheNextCommandStartsAfresh()
    {
        QVERIFY(server_.makeFolder("d"));
        start({"--silent", "CWD"});
        control_.setRequestTimeoutMilliseconds(700);
        const FtpRun cd = runOn(control_, TransferCommand::changeDir("d"));
        QCOMPARE(cd.states, QList<int>({5, 6, 11}));
        QVERIFY2(cd.info.contains("did not answer"), qPrintable(cd.info));
        QCOMPARE(runOn(control_, TransferCommand::listing()).states, opening());
    }

    void serverKilledDuringDownloadLeavesTheOlderFile()
    {
        QVERIFY(server_.writeFile("big.bin", QByteArray(4 * 1024 * 1024, 'z')));
        start({"--throttle", "300000"});
        const QString target = downloadOverOlderFile();
        QVERIFY(!target.isEmpty());
        server_.stop();
        QTRY_VERIFY(!control_.stillExecuting());
        QCOMPARE(states_.last(), 11);
        QVERIFY(!control_.responseInfo().isEmpty());
        QCOMPARE(contentOf(target), QByteArray("older content"));
        QCOMPARE(QDir(local_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"target.bin"});
    }

    void cancelStopsAtOnceAndReportsNothing()
    {
        QVERIFY(server_.writeFile("big.bin", QByteArray(4 * 1024 * 1024, 'z')));
        start({"--throttle", "300000"});
        const QString target = downloadOverOlderFile();
        control_.cancel();
        QVERIFY(!control_.stillExecuting());
        const qsizetype reported = states_.size();
        QTest::qWait(500);
        QCOMPARE(states_.size(), reported);
        QCOMPARE(contentOf(target), QByteArray("older content"));
        QCOMPARE(QDir(local_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"target.bin"});

        states_.clear();
        QCOMPARE(control_.execute(TransferCommand::connectListing()), 0);  // cancelled while connecting
        control_.cancel();
        QTest::qWait(300);
        QVERIFY(states_.isEmpty());
        QCOMPARE(runOn(control_, TransferCommand::listing()).states, opening());
    }
};

QTEST_GUILESS_MAIN(FtpFaultsTest)
#include "tst_ftp_faults.moc"
