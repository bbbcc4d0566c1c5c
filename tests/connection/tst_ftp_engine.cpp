// The FTP engine: sessions, listings, folder changes, transfers and file
// commands against a real pyftpdlib server with the states they report, what
// it does when the server misbehaves (downloads that must not replace a good
// file with a bad one among them), and sessions kept up as real servers treat
// them: idle drops, NOOPs, hosts typed with decoration, active mode.

#include "connection/ftp/ftp_messages.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "support/ftp_run.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace corvexo;
using namespace corvexo::testing;

class FtpEngineTest : public QObject {
    Q_OBJECT
    FtpTestServer server_;               // the plain server
    std::unique_ptr<FtpTestServer> odd_;  // a server started differently for one case
    std::unique_ptr<FtpTransferControl> control_;
    QTemporaryDir local_;
    QList<int> states_;

    void pointAt(const FtpTestServer &server)
    {
        control_->setRequestTimeout(5);
        corvexo::testing::pointAt(*control_, server);
    }
    FtpRun run(const TransferCommand &command) { return runOn(*control_, command); }
    void startOdd(const QStringList &options, const QString &script = QStringLiteral("ftp_server.py"))
    {
        odd_ = std::make_unique<FtpTestServer>();
        QVERIFY2(odd_->start(options, script), qPrintable(odd_->errorText()));
        pointAt(*odd_);
    }
    QString olderFile(const QString &name = "f.bin", const QByteArray &content = "older")
    {
        QFile file(local_.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() ? file.fileName() : QString();
    }
    QStringList localFiles() { return QDir(local_.path()).entryList(QDir::Files | QDir::Hidden); }
    // A slow download over an older local file, with data flowing.
    QString downloadOverOlderFile()
    {
        const QString target = olderFile("target.bin", "older content");
        states_.clear();
        if (control_->execute(TransferCommand::get("big.bin", target)) != 0) return {};
        QTest::qWaitFor([this] { return states_.contains(7); }, 10000);
        QTest::qWait(300);
        return target;
    }

private slots:
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
        connect(control_.get(), &TransferControl::stateChanged, this, [this](int s) { states_ << s; });
        pointAt(server_);
        states_.clear();
        for (const QString &name : localFiles()) QFile::remove(local_.filePath(name));
    }
    void cleanup()
    {
        control_.reset();
        odd_.reset();
    }

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
        connect(control_.get(), &TransferControl::stateChanged, this, [&](int state) {
            if (state == 12 && refusal == -1) refusal = control_->execute(TransferCommand::listing());
        });
        states_.clear();
        QCOMPARE(control_->execute(TransferCommand::changeDir("my folder")), 0);
        QTRY_COMPARE(states_.size(), 10);
        QCOMPARE(refusal, 0);
        QCOMPARE(states_, completed() + completed());
        QCOMPARE(control_->getChunk(1024), QByteArray("../\r\ninner file.txt"));
    }

    void transfersKeepEveryByteAndFileCommandsWork()
    {
        QByteArray content(6 * 1024 * 1024 + 123, Qt::Uninitialized);
        QRandomGenerator(42).fillRange(reinterpret_cast<quint32 *>(content.data()), content.size() / 4);
        QVERIFY(server_.writeFile("big.bin", content));
        run(TransferCommand::connectListing());
        QCOMPARE(run(TransferCommand::get("big.bin", local_.filePath("big.bin"))).states, completed());
        QVERIFY(contentOf(local_.filePath("big.bin")) == content);
        QCOMPARE(QDir(local_.path()).entryList(QDir::Files), QStringList{"big.bin"});
        QCOMPARE(run(TransferCommand::put(local_.filePath("big.bin"), "up load.bin")).states, completed());
        QVERIFY(server_.readFile("up load.bin") == content);

        QCOMPARE(run(TransferCommand::makeDir("new folder")).states, completed());
        QVERIFY(QFileInfo(server_.pathOf("new folder")).isDir());
        QCOMPARE(run(TransferCommand::rename("up load.bin", "my file.txt")).states, completed());
        QCOMPARE(run(TransferCommand::remove("my file.txt")).states, completed());
        QVERIFY(!QFile::exists(server_.pathOf("my file.txt")) && !QFile::exists(server_.pathOf("up load.bin")));
        QCOMPARE(run(TransferCommand::removeDir("new folder/")).states, completed());  // as listed, "/" included
        QVERIFY(!QFile::exists(server_.pathOf("new folder")));
    }

    void refusalsEndInErrorAndKeepTheSession()
    {
        run(TransferCommand::connectListing());
        const FtpRun cd = run(TransferCommand::changeDir("missing"));
        QCOMPARE(cd.states, QList<int>({5, 6, 7, 11}));
        QCOMPARE(cd.code, 550);
        QCOMPARE(run(TransferCommand::get("nothing", local_.filePath("n"))).code, 550);
        QVERIFY(!QFile::exists(local_.filePath("n")));
        QVERIFY(QDir(local_.path()).mkpath("folder"));
        QCOMPARE(run(TransferCommand::get("a.txt", local_.filePath("folder"))).info,
                 "Cannot write the local file " + local_.filePath("folder") + ": it is a folder. The file was left as it was.");
        QVERIFY(QDir(local_.filePath("folder")).removeRecursively());
        QCOMPARE(run(TransferCommand::listing()).states, completed());
        // A line break in a name would smuggle in another command: refused before sending.
        QCOMPARE(control_->execute(TransferCommand::rename("a.txt", "a\r\nDELE a.txt")), int(TransferError::FtpCommandFailed));
        QVERIFY(!control_->stillExecuting() && QFile::exists(server_.pathOf("a.txt")));

        control_->setPassword("wrong");  // changed properties open a new session
        const FtpRun wrong = run(TransferCommand::connectListing());
        QCOMPARE(wrong.states, QList<int>({1, 2, 3, 11}));
        QCOMPARE(wrong.code, 530);
    }

    void smallPiecesNeverSplitACharacter()
    {
        const QByteArray whole = run(TransferCommand::connectListing()).answer;
        control_->execute(TransferCommand::listing());
        QTRY_VERIFY(!control_->stillExecuting());
        QByteArray joined;
        for (QByteArray chunk = control_->getChunk(4); !chunk.isEmpty(); chunk = control_->getChunk(4)) {
            QVERIFY(chunk.size() <= 4);
            QCOMPARE(QString::fromUtf8(chunk).toUtf8(), chunk);
            joined += chunk;
        }
        QCOMPARE(joined, whole);
    }

    void silentServerTimesOutAndTheNextCommandStartsAfresh()
    {
        startOdd({"--silent", "CWD"});
        QVERIFY(odd_->makeFolder("d"));
        QCOMPARE(run(TransferCommand::connectListing()).states, opening());
        control_->setRequestTimeoutMilliseconds(700);
        const FtpRun cd = run(TransferCommand::changeDir("d"));
        QCOMPARE(cd.states, QList<int>({5, 6, 11}));
        QVERIFY2(cd.info.contains("did not answer"), qPrintable(cd.info));
        QCOMPARE(run(TransferCommand::listing()).states, opening());
    }

    void cancelStopsAtOnceAndAKilledServerLeavesTheOlderFile()
    {
        startOdd({"--throttle", "300000"});
        QVERIFY(odd_->writeFile("big.bin", QByteArray(4 * 1024 * 1024, 'z')));
        QCOMPARE(run(TransferCommand::connectListing()).states, opening());
        QString target = downloadOverOlderFile();
        control_->cancel();
        QVERIFY(!control_->stillExecuting());
        const qsizetype reported = states_.size();
        QTest::qWait(500);
        QCOMPARE(states_.size(), reported);
        QCOMPARE(contentOf(target), QByteArray("older content"));

        target = downloadOverOlderFile();
        QVERIFY(!target.isEmpty());
        odd_->stop();
        QTRY_VERIFY(!control_->stillExecuting());
        QCOMPARE(states_.last(), 11);
        QVERIFY(!control_->responseInfo().isEmpty());
        QCOMPARE(contentOf(target), QByteArray("older content"));
        QCOMPARE(QDir(local_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"target.bin"});
    }

    void cancelWhileConnectingThenExecuteAgain()
    {
        QCOMPARE(control_->execute(TransferCommand::connectListing()), 0);
        control_->cancel();
        QTest::qWait(300);
        QVERIFY(states_.isEmpty());
        QCOMPARE(run(TransferCommand::connectListing()).states, opening());
    }

    void idleDropReturnsToTheFolderWithoutAWord()
    {
        startOdd({"--idle-timeout", "1", "--log-commands"});
        control_->setRemoteHost("ftp://127.0.0.1");   // typed with the scheme
        QVERIFY(odd_->writeFile("sub/inner.txt", "inner"));
        QCOMPARE(run(TransferCommand::connectListing()).states, opening());
        QCOMPARE(run(TransferCommand::changeDir("sub")).states, completed());
        QCOMPARE(run(TransferCommand::listing()).states, completed());   // the idle time starts here
        states_.clear();
        QTest::qWait(2500);
        QVERIFY(states_.isEmpty());
        QCOMPARE(run(TransferCommand::get("inner.txt", local_.filePath("inner.txt"))).states, completed());
        QCOMPARE(odd_->takeOutput().count("CMD PASS"), 2);
    }

    void noopsKeepTheSessionWithoutDisturbingCommands()
    {
        startOdd({"--idle-timeout", "1", "--log-commands"});
        control_->setKeepAliveMilliseconds(300);
        QCOMPARE(run(TransferCommand::connectListing()).states, opening());
        for (int i = 0; i < 4; ++i) {
            QTest::qWait(i * 150);
            QCOMPARE(run(TransferCommand::listing()).states, completed());
        }
        QTest::qWait(1500);
        QCOMPARE(run(TransferCommand::listing()).states, completed());
        const QByteArray log = odd_->takeOutput();
        QCOMPARE(log.count("CMD PASS"), 1);
        QVERIFY(log.contains("CMD NOOP"));
    }

    void activeModeWhenPassiveIsRefused()
    {
        startOdd({"--no-passive", "--log-commands"});
        QVERIFY(odd_->writeFile("a.txt", "alpha"));
        const FtpRun listing = run(TransferCommand::connectListing());
        QCOMPARE(listing.states, opening());
        QVERIFY(listing.answer.contains("a.txt"));
        QCOMPARE(run(TransferCommand::get("a.txt", local_.filePath("a.txt"))).states, completed());
        QCOMPARE(run(TransferCommand::put(local_.filePath("a.txt"), "b.txt")).states, completed());
        QCOMPARE(odd_->readFile("b.txt"), QByteArray("alpha"));
        QVERIFY(odd_->takeOutput().contains("CMD EPRT"));
    }

    void sizeThatDoesNotMatchKeepsTheOlderFile_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("announce");
        QTest::addColumn<QStringList>("more");
        QTest::newRow("short, SIZE") << "short" << "size" << QStringList();
        QTest::newRow("short, 150 reply") << "short" << "150" << QStringList();
        QTest::newRow("three times, SIZE") << "long" << "size" << QStringList();
        QTest::newRow("three times, 150 reply") << "long" << "150" << QStringList();
        QTest::newRow("short, FEAT refused, SIZE") << "short" << "size" << QStringList{"--no-feat"};
        QTest::newRow("short, FEAT refused, 150 reply") << "short" << "150" << QStringList{"--no-feat"};
    }
    void sizeThatDoesNotMatchKeepsTheOlderFile()
    {
        QFETCH(QString, mode);
        QFETCH(QString, announce);
        QFETCH(QStringList, more);
        startOdd(QStringList{"--mode", mode, "--announce", announce} + more, "hostile_ftp_server.py");
        control_->setRequestTimeoutMilliseconds(5000);
        const QString target = olderFile();
        const FtpRun got = run(TransferCommand::get(QStringLiteral("f.bin"), target));
        QCOMPARE(got.states.last(), int(TransferState::Error));
        if (mode == u"short")
            QCOMPARE(got.info, QStringLiteral("The download of f.bin is not complete: 40000 bytes arrived of the "
                                              "100000 bytes the server announced. The local file was left as it was."));
        else
            QVERIFY2(got.info.startsWith(QStringLiteral("The download of f.bin is not complete: ")), qPrintable(got.info));
        QCOMPARE(contentOf(target), QByteArray("older"));
        QCOMPARE(localFiles(), QStringList{QStringLiteral("f.bin")});
    }

    // A size the queue's listing gave is the check, and the server is not asked again.
    void listedSizeIsTheCheck()
    {
        startOdd({"--mode", "short"}, "hostile_ftp_server.py");
        control_->setRequestTimeoutMilliseconds(5000);
        const FtpRun got = run(TransferCommand::getFrom(QStringLiteral("f.bin"), local_.filePath("part"), 0, 100000));
        QCOMPARE(got.info, QStringLiteral("The download of f.bin is not complete: 40000 bytes arrived of the "
                                          "100000 bytes the server announced. The local file was left as it was."));
        QVERIFY(!odd_->takeOutput().contains("CMD SIZE"));
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
        startOdd({"--mode", mode, "--pause", "0.1"}, "hostile_ftp_server.py");
        control_->setRequestTimeoutMilliseconds(1000);
        const FtpRun got = runOn(*control_, TransferCommand::listing(), 1024, 2200);
        QCOMPARE(got.states, (QList<int>{1, 2, 3, 11}));
        QCOMPARE(got.info, info);
    }

    void slowButMovingDataKeepsGoing()
    {
        // 16 pieces 0.1 s apart: far longer than the time-out in all.
        startOdd({"--mode", "slow", "--size", "1000", "--pause", "0.1"}, "hostile_ftp_server.py");
        control_->setRequestTimeoutMilliseconds(600);
        const QString target = olderFile();
        QCOMPARE(run(TransferCommand::get(QStringLiteral("f.bin"), target)).states.last(), 12);
        QCOMPARE(contentOf(target).size(), 1000);
        const FtpRun listing = run(TransferCommand::listing());
        QCOMPARE(listing.states.last(), 12);
        QCOMPARE(sortedLines(listing.answer).size(), 25);
    }

    void stopKeepsTheSessionAndLeavesNothingHalfDone()
    {
        startOdd({"--throttle", "100000"});
        control_->setRequestTimeoutMilliseconds(20000);
        QVERIFY(odd_->writeFile(QStringLiteral("f.bin"), QByteArray(2000000, 'x')));
        const QString target = olderFile();
        QSignalSpy stopped(control_.get(), &TransferControl::commandStopped);
        QList<TransferProgress> progress;
        connect(control_.get(), &TransferControl::progressChanged, this, [&](const TransferProgress &p) { progress << p; });
        QList<int> states;
        connect(control_.get(), &TransferControl::stateChanged, this, [&](int state) { states << state; });
        QCOMPARE(control_->execute(TransferCommand::get(QStringLiteral("f.bin"), target)), 0);
        QVERIFY(QTest::qWaitFor([&] { return control_->progress().done >= 150000; }, 10000));
        control_->stop();
        QVERIFY(stopped.wait(10000));
        QVERIFY(!control_->stillExecuting() && !states.contains(11) && !states.contains(12));
        QCOMPARE(progress.first().total, 2000000);
        QVERIFY(progress.size() < 20);   // a few a second, not one per piece
        QCOMPARE(contentOf(target), QByteArray("older"));
        QCOMPARE(localFiles(), QStringList{QStringLiteral("f.bin")});
        const FtpRun next = run(TransferCommand::listing());   // logged in, same folder
        QCOMPARE(sortedLines(next.answer), QStringList{QStringLiteral("f.bin")});

        const QString upload = olderFile("up.bin", QByteArray(2000000, 'u'));
        QCOMPARE(control_->execute(TransferCommand::put(upload, QStringLiteral("up.bin"))), 0);
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo(odd_->pathOf("up.bin")).size() >= 150000; }, 10000));
        control_->stop();
        QVERIFY(stopped.wait(10000));
        QVERIFY(!QFile::exists(odd_->pathOf("up.bin")));   // no part of it stays on the server
        QCOMPARE(run(TransferCommand::listing()).states, completed());
    }

    void uploadKeptShortByTheServerFailsAndTheSessionStays()
    {
        startOdd({"--mode", "truncstore"}, "hostile_ftp_server.py");
        const FtpRun put = run(TransferCommand::put(olderFile("up.bin", QByteArray(100000, 'u')), "up.bin"));
        QCOMPARE(put.states, (QList<int>{1, 2, 3, 4, 5, 6, 7, 11}));
        QCOMPARE(put.info, QStringLiteral("The upload of up.bin is not complete: 40000 bytes arrived of the 100000 bytes sent."));
        QCOMPARE(run(TransferCommand::listing()).states, completed());
    }

    void activeModeTakesDataOnlyFromTheServer()
    {
        startOdd({"--mode", "intruder", "--size", "80"}, "hostile_ftp_server.py");   // two lines
        const FtpRun listing = run(TransferCommand::connectListing());
        QCOMPARE(listing.states, opening());
        QCOMPARE(sortedLines(listing.answer), QStringList({"f000", "f001"}));
    }

    void stopAgainstADeafServerEndsSoonAndTheSessionComesBack()
    {
        startOdd({"--mode", "deafabor", "--pause", "0.1"}, "hostile_ftp_server.py");
        control_->setRequestTimeoutMilliseconds(60000);
        const QString target = olderFile();
        QSignalSpy stopped(control_.get(), &TransferControl::commandStopped);
        QCOMPARE(control_->execute(TransferCommand::get(QStringLiteral("f.bin"), target)), 0);
        QVERIFY(QTest::qWaitFor([&] { return control_->progress().done > 0; }, 10000));
        control_->stop();
        QVERIFY(stopped.wait(15000));   // far within the request time-out
        QVERIFY(!control_->stillExecuting() && !states_.contains(11) && !states_.contains(12));
        QCOMPARE(contentOf(target), QByteArray("older"));
        QCOMPARE(localFiles(), QStringList{QStringLiteral("f.bin")});
        QCOMPARE(run(TransferCommand::listing()).states, completed());   // logged in again without a word
        QCOMPARE(odd_->takeOutput().count("CMD PASS"), 2);
    }

    void unansweredLinkProbeLeavesTheLinkGuessed()
    {
        startOdd({"--mode", "hangcwd"}, "hostile_ftp_server.py");
        control_->setRequestTimeoutMilliseconds(60000);
        const FtpRun listing = runOn(*control_, TransferCommand::connectListing(), 1024, 20000);
        QCOMPARE(listing.states, opening());
        QCOMPARE(sortedLines(listing.answer), QStringList({"a.txt", "docs/"}));
        QCOMPARE(runOn(*control_, TransferCommand::listing(), 1024, 20000).states, completed());
    }

    void deleteAnsweredByADropIsLookedAtNotSentAgain()
    {
        startOdd({"--mode", "dropdele"}, "hostile_ftp_server.py");
        QCOMPARE(run(TransferCommand::connectListing()).states, opening());
        const FtpRun deleted = run(TransferCommand::remove(QStringLiteral("gone.txt")));
        QCOMPARE(deleted.states, completed());
        QCOMPARE(deleted.info, QStringLiteral("The server closed the connection before it answered, but the change was made."));
        const QByteArray log = odd_->takeOutput();
        QCOMPARE(log.count("CMD DELE"), 1);
        QVERIFY(log.contains("CMD SIZE"));
    }

    void ownTextsCarryTheSameFactsInJapanese()
    {
        const auto placeholders = [](const QString &text) {
            QStringList found;
            for (auto it = QRegularExpression(QStringLiteral("%\\d")).globalMatch(text); it.hasNext();)
                found << it.next().captured();
            found.sort();
            return found;
        };
        for (int i = 0; i <= int(ftp::EngineText::TrustFileTooLarge); ++i) {
            const QString english = ftp::engineTextIn(UiLanguage::English, ftp::EngineText(i));
            const QString japanese = ftp::engineTextIn(UiLanguage::Japanese, ftp::EngineText(i));
            QVERIFY2(!english.isEmpty() && japanese != english, qPrintable(english));
            QCOMPARE(placeholders(japanese), placeholders(english));
        }
    }
};

QTEST_GUILESS_MAIN(FtpEngineTest)
#include "tst_ftp_engine.moc"
