// The FTP engine against a real pyftpdlib server: session opening, listings,
// folder changes, transfers and remote file commands, with their states.

#include "connection/ftp/ftp_transfer_control.h"
#include "support/ftp_test_server.h"
#include "tst_ftp_support.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTcpServer>
#include <QTest>

using namespace corvexo;
using namespace corvexo::testing;

namespace {

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(42);
    generator.fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    return bytes;
}

} // namespace

class FtpEngineTest : public QObject {
    Q_OBJECT
private:
    FtpTestServer server_;
    std::unique_ptr<FtpTransferControl> control_;
    QTemporaryDir local_;

    void connectControl(FtpTransferControl &control, const QString &user, const QString &password)
    {
        control.setRequestTimeout(60);
        control.setProtocol(2);
        control.setAccessType(0);
        control.setRemotePort(server_.port());
        control.setRemoteHost(QStringLiteral("127.0.0.1"));
        control.setUserName(user);
        control.setPassword(password);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(server_.start({QStringLiteral("--anonymous")}), qPrintable(server_.errorText()));
        QVERIFY(server_.writeFile(QStringLiteral("a.txt"), "alpha"));
        QVERIFY(server_.writeFile(QStringLiteral("semi;colon name.txt"), "s"));
        QVERIFY(server_.writeFile(QStringLiteral("my folder/inner file.txt"), "inner"));
        QVERIFY(server_.makeFolder(QStringLiteral("日本語フォルダ")));
    }

    void init()
    {
        control_ = std::make_unique<FtpTransferControl>();
        connectControl(*control_, server_.user(), server_.password());
    }

    void cleanup() { control_.reset(); }

    void firstListingOpensTheSession()
    {
        const FtpRun run = runOn(*control_, TransferCommand::connectListing());
        QCOMPARE(run.refusal, 0);
        QCOMPARE(run.states, opening());
        QCOMPARE(run.code, 226);
        QCOMPARE(sortedLines(run.answer),
                 QStringList({"a.txt", "my folder/", "semi;colon name.txt", "日本語フォルダ/"}));
        QVERIFY(!run.answer.endsWith("\r\n"));   // a trailing line end would show an empty entry
        QVERIFY(!control_->stillExecuting());

        const FtpRun again = runOn(*control_, TransferCommand::listing());
        QCOMPARE(again.states, completed());
        QCOMPARE(again.answer, run.answer);
    }

    void smallChunksHandOutTheWholeListingWithoutCuttingCharacters()
    {
        const QByteArray whole = runOn(*control_, TransferCommand::connectListing()).answer;
        QCOMPARE(control_->getChunk(1024), QByteArray());   // exhausted
        const FtpRun run = runOn(*control_, TransferCommand::listing(), 7);
        QCOMPARE(run.answer, whole);
        control_->execute(TransferCommand::listing());
        QTRY_VERIFY(!control_->stillExecuting());
        for (QByteArray chunk = control_->getChunk(4); !chunk.isEmpty(); chunk = control_->getChunk(4)) {
            QVERIFY(chunk.size() <= 4);
            QCOMPARE(QString::fromUtf8(chunk).toUtf8(), chunk);
        }
    }

    void changeFolderThenUp()
    {
        runOn(*control_, TransferCommand::connectListing());
        const FtpRun cd = runOn(*control_, TransferCommand::changeDir(QStringLiteral("my folder")));
        QCOMPARE(cd.states, completed());
        QCOMPARE(cd.code, 250);
        QCOMPARE(runOn(*control_, TransferCommand::listing()).answer, QByteArray("../\r\ninner file.txt"));

        QCOMPARE(runOn(*control_, TransferCommand::parentDir()).states, completed());
        QVERIFY(!runOn(*control_, TransferCommand::listing()).answer.startsWith("../"));

        const FtpRun japanese = runOn(*control_, TransferCommand::changeDir(QStringLiteral("日本語フォルダ")));
        QCOMPARE(japanese.states, completed());
        QCOMPARE(runOn(*control_, TransferCommand::listing()).answer, QByteArray("../"));
    }

    void completionHandlerMayExecuteTheNextCommand()
    {
        runOn(*control_, TransferCommand::connectListing());
        int refusal = -1;
        bool busyAtCompletion = true;
        QList<int> states;
        connect(control_.get(), &TransferControl::stateChanged, this, [&](int state) {
            states << state;
            if (state == 12 && refusal == -1) {
                busyAtCompletion = control_->stillExecuting();
                refusal = control_->execute(TransferCommand::listing());   // as the window does after CD
            }
        });
        QCOMPARE(control_->execute(TransferCommand::changeDir(QStringLiteral("my folder"))), 0);
        QTRY_COMPARE(states.size(), 10);
        QVERIFY(!busyAtCompletion);
        QCOMPARE(refusal, 0);
        QCOMPARE(states, completed() + completed());
        QCOMPARE(control_->getChunk(1024), QByteArray("../\r\ninner file.txt"));
    }

    void getAndPutKeepEveryByte()
    {
        const QByteArray content = randomBytes(6 * 1024 * 1024 + 123);
        QVERIFY(server_.writeFile(QStringLiteral("big.bin"), content));
        runOn(*control_, TransferCommand::connectListing());
        const QString target = local_.filePath(QStringLiteral("big.bin"));
        const FtpRun get = runOn(*control_, TransferCommand::get(QStringLiteral("big.bin"), target));
        QCOMPARE(get.states, completed());
        QFile downloaded(target);
        QVERIFY(downloaded.open(QIODevice::ReadOnly));
        QVERIFY(downloaded.readAll() == content);
        QCOMPARE(QDir(local_.path()).entryList(QDir::Files), QStringList{"big.bin"});

        const QByteArray other = randomBytes(3 * 1024 * 1024 + 7).toBase64();
        const QString source = local_.filePath(QStringLiteral("up load.bin"));
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(other) == other.size());
        file.close();
        const FtpRun put = runOn(*control_, TransferCommand::put(source, QStringLiteral("up load.bin")));
        QCOMPARE(put.states, completed());
        QCOMPARE(put.code, 226);
        QVERIFY(server_.readFile(QStringLiteral("up load.bin")) == other);
    }

    void makeRenameDeleteAndRemove()
    {
        runOn(*control_, TransferCommand::connectListing());
        QCOMPARE(runOn(*control_, TransferCommand::makeDir(QStringLiteral("new folder"))).states, completed());
        QVERIFY(QFileInfo(server_.pathOf(QStringLiteral("new folder"))).isDir());

        QVERIFY(server_.writeFile(QStringLiteral("old.txt"), "x"));
        const FtpRun rename = runOn(*control_, TransferCommand::rename(QStringLiteral("old.txt"), QStringLiteral("my file.txt")));
        QCOMPARE(rename.states, completed());
        QCOMPARE(server_.readFile(QStringLiteral("my file.txt")), QByteArray("x"));
        QVERIFY(!QFile::exists(server_.pathOf(QStringLiteral("old.txt"))));

        QCOMPARE(runOn(*control_, TransferCommand::remove(QStringLiteral("my file.txt"))).states, completed());
        QVERIFY(!QFile::exists(server_.pathOf(QStringLiteral("my file.txt"))));

        // A folder entry is removed as listed, trailing "/" included.
        QCOMPARE(runOn(*control_, TransferCommand::removeDir(QStringLiteral("new folder/"))).states, completed());
        QVERIFY(!QFile::exists(server_.pathOf(QStringLiteral("new folder"))));
    }

    void refusedCommandEndsInErrorAndKeepsTheSession()
    {
        runOn(*control_, TransferCommand::connectListing());
        const FtpRun cd = runOn(*control_, TransferCommand::changeDir(QStringLiteral("missing")));
        QCOMPARE(cd.states, QList<int>({5, 6, 7, 11}));
        QCOMPARE(cd.code, 550);
        QVERIFY(!cd.info.isEmpty());
        QVERIFY(!control_->stillExecuting());
        QCOMPARE(runOn(*control_, TransferCommand::listing()).states, completed());

        const FtpRun rename = runOn(*control_, TransferCommand::rename(QStringLiteral("nothing"), QStringLiteral("x")));
        QCOMPARE(rename.states.last(), 11);
        QCOMPARE(rename.code, 550);
        const FtpRun get = runOn(*control_, TransferCommand::get(QStringLiteral("nothing"), local_.filePath(QStringLiteral("n"))));
        QCOMPARE(get.states.last(), 11);
        QCOMPARE(get.code, 550);
        QVERIFY(!QFile::exists(local_.filePath(QStringLiteral("n"))));
    }

    void wrongPasswordEndsInError()
    {
        connectControl(*control_, server_.user(), QStringLiteral("wrong"));
        const FtpRun run = runOn(*control_, TransferCommand::connectListing());
        QCOMPARE(run.states, QList<int>({1, 2, 3, 11}));
        QCOMPARE(run.code, 530);
        // The right password opens a new session.
        control_->setPassword(server_.password());
        QCOMPARE(runOn(*control_, TransferCommand::connectListing()).states, opening());
    }

    void changedPropertiesOpenANewSession()
    {
        QCOMPARE(runOn(*control_, TransferCommand::connectListing()).states, opening());
        runOn(*control_, TransferCommand::changeDir(QStringLiteral("my folder")));
        control_->setUserName(server_.user());   // unchanged: same session, same folder
        QVERIFY(runOn(*control_, TransferCommand::listing()).answer.startsWith("../"));

        control_->setUserName(QStringLiteral("Anonymous"));
        control_->setPassword(QString());
        const FtpRun anonymous = runOn(*control_, TransferCommand::listing());
        QCOMPARE(anonymous.states, opening());
        QVERIFY(!anonymous.answer.startsWith("../"));   // a new session starts at the root
    }

    void refusalsByErrorNumber()
    {
        QCOMPARE(control_->execute(TransferCommand::connectListing()), 0);
        QVERIFY(control_->stillExecuting());
        QCOMPARE(control_->execute(TransferCommand::listing()), int(TransferError::StillExecuting));
        QTRY_VERIFY(!control_->stillExecuting());

        QList<int> states;
        connect(control_.get(), &TransferControl::stateChanged, this, [&](int s) { states << s; });
        for (const QString &name : {QStringLiteral("a\r\nDELE a.txt"), QStringLiteral("a\nb"), QStringLiteral("a") + QChar(0)}) {
            QCOMPARE(control_->execute(TransferCommand::changeDir(name)), int(TransferError::FtpCommandFailed));
            QCOMPARE(control_->execute(TransferCommand::rename(QStringLiteral("a.txt"), name)),
                     int(TransferError::FtpCommandFailed));
        }
        QTest::qWait(100);
        QVERIFY(states.isEmpty());
        QVERIFY(!control_->stillExecuting());
        QVERIFY(QFile::exists(server_.pathOf(QStringLiteral("a.txt"))));

        FtpTransferControl noHost;
        QCOMPARE(noHost.execute(TransferCommand::connectListing()), int(TransferError::HostNameWrong));
    }

    void refusedConnectionEndsInErrorWithClearText()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        control_->setRemotePort(port);
        const FtpRun run = runOn(*control_, TransferCommand::connectListing());
        QCOMPARE(run.states, QList<int>({1, 2, 3, 11}));
        QCOMPARE(run.code, 0);
        QVERIFY2(run.info.contains(QStringLiteral("refused"), Qt::CaseInsensitive), qPrintable(run.info));

        control_->setRemoteHost(QStringLiteral("no-such-host.invalid"));
        const FtpRun unknown = runOn(*control_, TransferCommand::connectListing());
        QCOMPARE(unknown.states, QList<int>({1, 11}));
        QCOMPARE(unknown.code, 0);
        QVERIFY(unknown.info.contains(QStringLiteral("no-such-host.invalid")));
    }
};

QTEST_GUILESS_MAIN(FtpEngineTest)
#include "tst_ftp_engine.moc"
