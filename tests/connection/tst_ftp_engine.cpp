// The FTP engine: its reply reader and listing parsers, then sessions,
// listings, folder changes, transfers and file commands against a real
// pyftpdlib server, with the states they report.

#include "connection/ftp/ftp_listing.h"
#include "connection/ftp/ftp_reply.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "support/ftp_test_server.h"
#include "tst_ftp_support.h"

#include <QRandomGenerator>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace corvexo;
using namespace corvexo::ftp;
using namespace corvexo::testing;

namespace {
QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator(42).fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    return bytes;
}
} // namespace

class FtpEngineTest : public QObject {
    Q_OBJECT
    FtpTestServer server_;
    std::unique_ptr<FtpTransferControl> control_;
    QTemporaryDir local_;

    FtpRun run(const TransferCommand &command) { return runOn(*control_, command); }

private slots:
    void listingLines_data()
    {
        QTest::addColumn<bool>("mlsd");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");  // empty: no entry
        QTest::addColumn<bool>("folder");
        QTest::newRow("mlsd name with ; and blank") << true << "type=file;size=5; a b;c.txt" << "a b;c.txt" << false;
        QTest::newRow("mlsd folder") << true << "Type=DIR;perm=el; my folder" << "my folder" << true;
        QTest::newRow("mlsd cdir") << true << "type=cdir; /home/u" << "" << false;
        QTest::newRow("mlsd pdir") << true << "type=pdir; .." << "" << false;
        QTest::newRow("unix double blanks") << false << "-rw-r--r--   1 o g  1234 Dec 06 22:30 name with  blanks.txt"
                                            << "name with  blanks.txt" << false;
        QTest::newRow("unix no group") << false << "drwxr-xr-x 2 ftp 4096 Jan 1 12:00 no group" << "no group" << true;
        QTest::newRow("unix link to folder") << false << "lrwxrwxrwx 1 u g 7 Feb 29 2024 up -> ../" << "up" << true;
        QTest::newRow("unix total") << false << "total 48" << "" << false;
        QTest::newRow("unix ..") << false << "drwxr-xr-x 2 u g 4096 Jan 1 12:00 .." << "" << false;
        QTest::newRow("dos folder") << false << "12-06-26  10:30PM       <DIR>          My Documents" << "My Documents" << true;
        QTest::newRow("dos file") << false << "01-02-2026  09:05   1234 report 2026.xls" << "report 2026.xls" << false;
        QTest::newRow("garbage") << false << "not a listing line" << "" << false;
    }
    void listingLines()
    {
        QFETCH(bool, mlsd);
        QFETCH(QString, line);
        QFETCH(QString, name);
        QFETCH(bool, folder);
        const std::optional<ListingEntry> entry = mlsd ? parseMlsdLine(line) : parseListLine(line);
        QCOMPARE(entry, name.isEmpty() ? std::nullopt : std::optional<ListingEntry>(ListingEntry{name, folder}));
    }

    void replyReaderJoinsPiecesAndRefusesEndlessLines()
    {
        FtpReplyReader reader;
        for (char byte : QByteArray("220 ready\r\n211-Features:\r\n211-not the end\r\n211 end\r\n"))
            QVERIFY(reader.feed(QByteArray(1, byte)));
        QCOMPARE(reader.takeReply().code, 220);
        QCOMPARE(reader.takeReply().lines, QStringList({"Features:", "211-not the end", "end"}));
        FtpReplyReader endless;
        QVERIFY(!endless.feed(QByteArray(FtpReplyReader::MaxLineBytes + 10, 'a')));
        QVERIFY(!endless.feed("220 ok\r\n"));
    }

    void initTestCase()
    {
        QVERIFY2(server_.start(), qPrintable(server_.errorText()));
        QVERIFY(server_.writeFile("a.txt", "alpha"));
        QVERIFY(server_.writeFile("my folder/inner file.txt", "inner"));
        QVERIFY(server_.makeFolder("日本語フォルダ"));
    }
    void init()
    {
        control_ = std::make_unique<FtpTransferControl>();
        control_->setRequestTimeout(60);
        control_->setRemotePort(server_.port());
        control_->setRemoteHost("127.0.0.1");
        control_->setUserName(server_.user());
        control_->setPassword(server_.password());
    }
    void cleanup() { control_.reset(); }

    void listingsAndFolderChanges()
    {
        const FtpRun first = run(TransferCommand::connectListing());
        QCOMPARE(first.states, opening());
        QCOMPARE(first.code, 226);
        QCOMPARE(sortedLines(first.answer), QStringList({"a.txt", "my folder/", "日本語フォルダ/"}));
        QCOMPARE(run(TransferCommand::changeDir("my folder")).states, completed());
        QCOMPARE(run(TransferCommand::listing()).answer, QByteArray("../\r\ninner file.txt"));
        QCOMPARE(run(TransferCommand::parentDir()).states, completed());
        QCOMPARE(run(TransferCommand::changeDir("日本語フォルダ")).states, completed());
        QCOMPARE(run(TransferCommand::listing()).answer, QByteArray("../"));
    }

    void completionHandlerMayExecuteTheNextCommand()
    {
        run(TransferCommand::connectListing());
        int refusal = -1;
        QList<int> states;
        connect(control_.get(), &TransferControl::stateChanged, this, [&](int state) {
            states << state;
            if (state == 12 && refusal == -1) refusal = control_->execute(TransferCommand::listing());
        });
        QCOMPARE(control_->execute(TransferCommand::changeDir("my folder")), 0);
        QTRY_COMPARE(states.size(), 10);
        QCOMPARE(refusal, 0);
        QCOMPARE(states, completed() + completed());
        QCOMPARE(control_->getChunk(1024), QByteArray("../\r\ninner file.txt"));
    }

    void getAndPutKeepEveryByte()
    {
        const QByteArray content = randomBytes(6 * 1024 * 1024 + 123);
        QVERIFY(server_.writeFile("big.bin", content));
        run(TransferCommand::connectListing());
        const QString target = local_.filePath("big.bin");
        QCOMPARE(run(TransferCommand::get("big.bin", target)).states, completed());
        QFile downloaded(target);
        QVERIFY(downloaded.open(QIODevice::ReadOnly) && downloaded.readAll() == content);
        QCOMPARE(QDir(local_.path()).entryList(QDir::Files), QStringList{"big.bin"});

        const QString source = local_.filePath("up load.bin");
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content.left(3000001)) == 3000001);
        file.close();
        QCOMPARE(run(TransferCommand::put(source, "up load.bin")).states, completed());
        QVERIFY(server_.readFile("up load.bin") == content.left(3000001));
    }

    void makeRenameDeleteAndRemove()
    {
        run(TransferCommand::connectListing());
        QCOMPARE(run(TransferCommand::makeDir("new folder")).states, completed());
        QVERIFY(QFileInfo(server_.pathOf("new folder")).isDir());
        QVERIFY(server_.writeFile("old.txt", "x"));
        QCOMPARE(run(TransferCommand::rename("old.txt", "my file.txt")).states, completed());
        QCOMPARE(server_.readFile("my file.txt"), QByteArray("x"));
        QCOMPARE(run(TransferCommand::remove("my file.txt")).states, completed());
        QVERIFY(!QFile::exists(server_.pathOf("my file.txt")));
        QCOMPARE(run(TransferCommand::removeDir("new folder/")).states, completed());  // as listed, "/" included
        QVERIFY(!QFile::exists(server_.pathOf("new folder")));
    }

    void refusedCommandsEndInErrorAndKeepTheSession()
    {
        run(TransferCommand::connectListing());
        const FtpRun cd = run(TransferCommand::changeDir("missing"));
        QCOMPARE(cd.states, QList<int>({5, 6, 7, 11}));
        QCOMPARE(cd.code, 550);
        QCOMPARE(run(TransferCommand::listing()).states, completed());
        const FtpRun get = run(TransferCommand::get("nothing", local_.filePath("n")));
        QCOMPARE(get.code, 550);
        QVERIFY(!QFile::exists(local_.filePath("n")));
        // A line break in a name would smuggle in another command: refused before sending.
        QCOMPARE(control_->execute(TransferCommand::rename("a.txt", "a\r\nDELE a.txt")), int(TransferError::FtpCommandFailed));
        QVERIFY(!control_->stillExecuting());
        QVERIFY(QFile::exists(server_.pathOf("a.txt")));
    }

    void loginAndConnectionFailures()
    {
        control_->setPassword("wrong");
        const FtpRun wrong = run(TransferCommand::connectListing());
        QCOMPARE(wrong.states, QList<int>({1, 2, 3, 11}));
        QCOMPARE(wrong.code, 530);
        control_->setPassword(server_.password());  // changed properties open a new session
        QCOMPARE(run(TransferCommand::connectListing()).states, opening());

        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        control_->setRemotePort(closed.serverPort());
        closed.close();
        const FtpRun refused = run(TransferCommand::connectListing());
        QCOMPARE(refused.states, QList<int>({1, 2, 3, 11}));
        QVERIFY2(refused.info.contains("refused", Qt::CaseInsensitive), qPrintable(refused.info));
    }
};

QTEST_GUILESS_MAIN(FtpEngineTest)
#include "tst_ftp_engine.moc"
