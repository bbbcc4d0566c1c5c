// The SFTP engine against a real OpenSSH sshd: listings with links, folder
// moves, transfers byte for byte, file commands, a stopped download, host
// keys judged by known_hosts (unknown, changed), the logins ssh users know
// (key file, agent, password), names in a legacy charset, and the transfer
// queue's own commands (size, continued transfers) with a whole tree queued.

#include "connection/certificate_messages.h"
#include "connection/sftp/sftp_session.h"
#include "connection/sftp/sftp_session_factory.h"
#include "connection/sftp/ssh_config.h"
#include "queue/transfer_queue.h"
#include "connection/transfer_control.h"
#include "connection/passphrase_prompt.h"
#include "connection/session_security_view.h"
#include "support/local_files.h"
#include "support/sshd_test_server.h"
#include "support/window_fixture.h"

#include <QDirIterator>
#include <QEventLoop>
#include <QLabel>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

using namespace corvexo;
using namespace corvexo::testing;

Q_DECLARE_METATYPE(corvexo::TransferCommand)
Q_DECLARE_METATYPE(std::optional<QString>)
Q_DECLARE_METATYPE(corvexo::sftp::SshHostConfig)

namespace {

struct Ended {
    enum How { Completed, Failed, Stopped, TimedOut } how = TimedOut;
    int code = 0;
    QString text;
};

Ended runOn(TransferSession &session, const SessionLogin &login, const TransferCommand &command)
{
    Ended ended;
    QEventLoop loop;
    auto endAs = [&](Ended::How how) {
        ended.how = how;
        loop.quit();
    };
    const QList<QMetaObject::Connection> links = {
        QObject::connect(&session, &TransferSession::commandCompleted, &loop, [&] { endAs(Ended::Completed); }),
        QObject::connect(&session, &TransferSession::commandFailed, &loop, [&] { endAs(Ended::Failed); }),
        QObject::connect(&session, &TransferSession::commandStopped, &loop, [&] { endAs(Ended::Stopped); }),
    };
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    session.start(login, command);
    loop.exec();
    for (const auto &link : links) QObject::disconnect(link);
    ended.code = session.replyCode();
    ended.text = session.replyText();
    return ended;
}

SessionLogin loginTo(quint16 port, const QString &user, const QString &password)
{
    SessionLogin login;
    login.host = QStringLiteral("127.0.0.1");
    login.port = port;
    login.user = user;
    login.password = password;
    return login;
}

} // namespace

class SftpEngineTest : public QObject {
    Q_OBJECT
    QTemporaryDir home_, local_;
    SshdTestServer server_;
    std::unique_ptr<sftp::SftpSession> session_;
    SessionLogin login_;

    QString knownHosts() const { return QDir(home_.path()).filePath(".ssh/known_hosts"); }
    QString keyPath() const { return QDir(home_.path()).filePath(".ssh/id_ed25519"); }
    Ended run(const TransferCommand &command) { return runOn(*session_, login_, command); }
    QStringList listingLines()
    {
        const Ended ended = run(TransferCommand::listing());
        return ended.how == Ended::Completed ? QString::fromUtf8(session_->answer()).split(QStringLiteral("\r\n")) : QStringList();
    }
    bool trustServer()
    {
        QFile file(knownHosts());
        return file.open(QIODevice::WriteOnly) && file.write(server_.knownHostsLine() + '\n') > 0;
    }

private slots:
    void initTestCase()
    {
        qputenv("HOME", home_.path().toUtf8());
        qunsetenv("SSH_AUTH_SOCK");
        QDir().mkpath(QDir(home_.path()).filePath(".ssh"));
        QVERIFY(SshdTestServer::makeKey(keyPath()));
        QVERIFY2(server_.start(), qPrintable(server_.errorText()));
        QVERIFY(server_.authorize(keyPath()));
        login_ = loginTo(server_.port(), SshdTestServer::currentUser(), QString());
        QVERIFY(server_.writeFile("a.txt", "alpha"));
        QVERIFY(server_.writeFile("sub/inner.txt", "inner"));
        QVERIFY(QFile::link(server_.pathOf("sub"), server_.pathOf("linked")));
        QVERIFY(QFile::link(server_.pathOf("a.txt"), server_.pathOf("a-link.txt")));
    }
    void init()
    {
        QVERIFY(trustServer());
        session_ = std::make_unique<sftp::SftpSession>();
        session_->setTimeout(30000);
    }
    void cleanup() { session_.reset(); }

    void listingShowsFoldersLinksAndFacts()
    {
        QSignalSpy states(session_.get(), &TransferSession::stateReached);
        const QStringList lines = listingLines();
        QCOMPARE(lines, QStringList({"../", "linked/", "sub/", "a-link.txt", "a.txt"}));
        QCOMPARE(states.size(), 8);
        const QList<RemoteEntry> entries = session_->listedEntries();
        QCOMPARE(entries.size(), 4);
        QCOMPARE(entries[3].name, QStringLiteral("a.txt"));
        QCOMPARE(entries[3].size, 5);
        QCOMPARE(entries[3].modified.toSecsSinceEpoch(), QFileInfo(server_.pathOf("a.txt")).lastModified().toSecsSinceEpoch());
        QVERIFY(entries[0].isFolder);
        const SessionSecurity security = session_->security();
        QVERIFY(security.encrypted);
        QCOMPARE(security.fingerprint, server_.fingerprint());
        QCOMPARE(security.keyType, QStringLiteral("ED25519"));
        QVERIFY(!security.cipher.isEmpty());
    }

    void folderMoves_data()
    {
        QTest::addColumn<TransferCommand>("command");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QString>("folder");
        QTest::newRow("into a folder") << TransferCommand::changeDir("sub") << true << server_.pathOf("sub");
        QTest::newRow("through a link") << TransferCommand::changeDir("linked") << true << server_.pathOf("sub");
        QTest::newRow("by full path") << TransferCommand::changeDir(server_.pathOf("sub")) << true << server_.pathOf("sub");
        QTest::newRow("up") << TransferCommand::parentDir() << true << QFileInfo(server_.root()).absolutePath();
        QTest::newRow("into a file") << TransferCommand::changeDir("a.txt") << false << server_.root();
        QTest::newRow("into nothing") << TransferCommand::changeDir("none") << false << server_.root();
    }
    void folderMoves()
    {
        QFETCH(TransferCommand, command);
        QFETCH(bool, succeeds);
        QFETCH(QString, folder);
        QCOMPARE(run(TransferCommand::listing()).how, Ended::Completed);
        const Ended ended = run(command);
        QCOMPARE(ended.how, succeeds ? Ended::Completed : Ended::Failed);
        if (!succeeds) QCOMPARE(ended.code, 550);
        QCOMPARE(session_->currentFolder(), folder);
        QVERIFY(session_->isOpenFor(login_));   // a refusal keeps the session
    }

    void transfersKeepEveryByte_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::newRow("empty") << qsizetype(0);
        QTest::newRow("one byte") << qsizetype(1);
        QTest::newRow("many requests, a short last one") << qsizetype(5 * 1024 * 1024 + 3);
    }
    void transfersKeepEveryByte()
    {
        QFETCH(qsizetype, size);
        const QByteArray content = randomBytes(size);
        QFile source(local_.filePath("source.bin"));
        QVERIFY(source.open(QIODevice::WriteOnly) && source.write(content) == size);
        source.close();
        QSignalSpy progress(session_.get(), &TransferSession::progressChanged);
        QCOMPARE(run(TransferCommand::put(source.fileName(), "up load.bin")).how, Ended::Completed);
        QCOMPARE(server_.readFile("up load.bin"), content);
        QCOMPARE(session_->progress().done, size);
        QVERIFY(!progress.isEmpty());
        const QString target = local_.filePath("back.bin");
        QCOMPARE(run(TransferCommand::get("up load.bin", target)).how, Ended::Completed);
        QFile back(target);
        QVERIFY(back.open(QIODevice::ReadOnly));
        QCOMPARE(back.readAll(), content);
    }

    void queueMovesATreeDownAndUp_data()
    {
        QTest::addColumn<bool>("fromTheWindowsFolder");
        QTest::newRow("paths relative to the login folder") << false;
        QTest::newRow("paths in the folder the window shows") << true;
    }
    void queueMovesATreeDownAndUp()
    {
        QFETCH(bool, fromTheWindowsFolder);
        QVERIFY(server_.writeFile("tree/top.bin", randomBytes(300000)));
        QVERIFY(server_.writeFile("tree/deeper/inner.txt", "inner"));
        QVERIFY(server_.writeFile("tree/deeper/deepest/empty", QByteArray()));
        // The window names a folder by the browsing session's folder and the entry's name.
        QString folder;
        if (fromTheWindowsFolder) {
            QCOMPARE(run(TransferCommand::changeDir("sub")).how, Ended::Completed);
            QCOMPARE(run(TransferCommand::parentDir()).how, Ended::Completed);
            folder = session_->currentFolder() + u'/';
            QCOMPARE(folder, server_.root() + u'/');
        }
        SessionLogin login = login_;
        login.scheme = TransferScheme::Sftp;
        queue::TransferQueue queue([] { return std::unique_ptr<TransferSession>(sftp::makeSftpSession()); }, login);
        const auto runToEnd = [&queue] { return QSignalSpy(&queue, &queue::TransferQueue::finished).wait(60000); };
        const QString down = local_.filePath("tree down");
        queue.addDownload(folder + "tree", down);
        QVERIFY(runToEnd());
        QCOMPARE(queue.model().count(queue::ItemState::Failed), 0);
        QCOMPARE(treeOf(down), treeOf(server_.pathOf("tree")));
        queue.addUpload(down, folder + "tree back");
        QVERIFY(runToEnd());
        QCOMPARE(queue.model().count(queue::ItemState::Failed), 0);
        QCOMPARE(treeOf(server_.pathOf("tree back")), treeOf(down));
        QVERIFY(QDir(server_.pathOf("tree back")).removeRecursively());
        QVERIFY(QDir(down).removeRecursively());
    }

    void continuedTransfersKeepTheirFirstPart()
    {
        const QByteArray content = randomBytes(100000);
        QVERIFY(server_.writeFile("whole.bin", content));
        QCOMPARE(run(TransferCommand::size("whole.bin")).code, 213);
        QCOMPARE(session_->answer(), QByteArray("100000"));
        QCOMPARE(run(TransferCommand::size("no such.bin")).code, 550);

        // The part's own first bytes stay: only the rest comes from the server.
        const QString part = local_.filePath("whole.part");
        const QByteArray first(40000, 'x');
        QVERIFY(writeFile(part, first));
        QCOMPARE(run(TransferCommand::getFrom("whole.bin", part, first.size())).how, Ended::Completed);
        QCOMPARE(contentOf(part), first + content.mid(first.size()));
        // A part longer than the remote file is from an older file: the whole file comes again.
        QVERIFY(writeFile(part, QByteArray(150000, 'y')));
        QCOMPARE(run(TransferCommand::getFrom("whole.bin", part, 150000)).how, Ended::Completed);
        QCOMPARE(contentOf(part), content);
        // A failed continuation keeps what the part held.
        QVERIFY(writeFile(part, first));
        QCOMPARE(run(TransferCommand::getFrom("no such.bin", part, first.size())).how, Ended::Failed);
        QCOMPARE(contentOf(part), first);

        // Up: from 0 the remote file is written anew; from an offset its first bytes stay.
        const QString source = local_.filePath("source.bin");
        QVERIFY(writeFile(source, content.left(1000)));
        QCOMPARE(run(TransferCommand::putFrom(source, "whole.bin", 0)).how, Ended::Completed);
        QCOMPARE(server_.readFile("whole.bin"), content.left(1000));
        QVERIFY(writeFile(source, QByteArray(1000, 'z') + content.mid(1000)));
        QCOMPARE(run(TransferCommand::putFrom(source, "whole.bin", 1000)).how, Ended::Completed);
        QCOMPARE(server_.readFile("whole.bin"), content);
    }

    void downloadOfNothingKeepsTheOlderFile()
    {
        const QString target = local_.filePath("older.txt");
        QFile older(target);
        QVERIFY(older.open(QIODevice::WriteOnly) && older.write("older") == 5);
        older.close();
        const Ended ended = run(TransferCommand::get("missing.txt", target));
        QCOMPARE(ended.how, Ended::Failed);
        QCOMPARE(ended.code, 550);
        QVERIFY(older.open(QIODevice::ReadOnly));
        QCOMPARE(older.readAll(), QByteArray("older"));
    }

    void fileCommands_data()
    {
        QTest::addColumn<QList<TransferCommand>>("commands");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("make and remove a folder")
            << QList<TransferCommand>{TransferCommand::makeDir("new folder")} << QStringList{"new folder"} << QStringList{};
        QTest::newRow("remove it again")
            << QList<TransferCommand>{TransferCommand::removeDir("new folder")} << QStringList{} << QStringList{"new folder"};
        QTest::newRow("rename and delete")
            << QList<TransferCommand>{TransferCommand::makeDir("d"), TransferCommand::rename("d", "e"),
                                      TransferCommand::removeDir("e/")}
            << QStringList{} << QStringList{"d", "e"};
    }
    void fileCommands()
    {
        QFETCH(QList<TransferCommand>, commands);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        for (const TransferCommand &command : commands) QCOMPARE(run(command).how, Ended::Completed);
        for (const QString &name : present) QVERIFY(QFileInfo::exists(server_.pathOf(name)));
        for (const QString &name : absent) QVERIFY(!QFileInfo::exists(server_.pathOf(name)));
    }

    void deleteAndRenameRefusalsSayWhy()
    {
        QVERIFY(server_.writeFile("gone.txt", "x"));
        QCOMPARE(run(TransferCommand::remove("gone.txt")).how, Ended::Completed);
        QVERIFY(!QFileInfo::exists(server_.pathOf("gone.txt")));
        const Ended again = run(TransferCommand::remove("gone.txt"));
        QCOMPARE(again.how, Ended::Failed);
        QCOMPARE(again.code, 550);
        QCOMPARE(again.text, QStringLiteral("No such file"));
        QCOMPARE(run(TransferCommand::rename("gone.txt", "b.txt")).how, Ended::Failed);
    }

    void stoppedDownloadLeavesNothingAndTheSessionGoesOn()
    {
        QVERIFY(server_.writeFile("big.bin", QByteArray(256 * 1024 * 1024, 'b')));
        const QString target = local_.filePath("big.bin");
        connect(session_.get(), &TransferSession::progressChanged, session_.get(), [this](const TransferProgress &p) {
            if (p.done > 0) session_->stop();
        });
        QCOMPARE(run(TransferCommand::get("big.bin", target)).how, Ended::Stopped);
        session_->disconnect(this);
        QFile::remove(server_.pathOf("big.bin"));
        QCOMPARE(QDir(local_.path()).entryList({"big*"}, QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(run(TransferCommand::listing()).how, Ended::Completed);
    }

    void unknownHostKeyIsAsked_data()
    {
        QTest::addColumn<bool>("trust");
        QTest::newRow("no ends before any login") << false;
        QTest::newRow("yes is written for ssh-keygen -F") << true;
    }
    void unknownHostKeyIsAsked()
    {
        QFETCH(bool, trust);
        QFile::remove(knownHosts());
        server_.takeLog();
        QList<CertificateQuestion> questions;
        connect(session_.get(), &TransferSession::certificateQuestion, this, [&](const CertificateQuestion &q) {
            questions << q;
            session_->answerCertificate(trust);
        });
        QSignalSpy states(session_.get(), &TransferSession::stateReached);
        const Ended ended = run(TransferCommand::listing());
        QCOMPARE(questions.size(), 1);
        QCOMPARE(questions[0].keyType, QStringLiteral("ED25519"));
        QCOMPARE(questions[0].fingerprint, server_.fingerprint());
        QVERIFY(questions[0].previousFingerprint.isEmpty());
        QCOMPARE(ended.how, trust ? Ended::Completed : Ended::Failed);
        const auto found = SshdTestServer::run("ssh-keygen", {"-F", QStringLiteral("[127.0.0.1]:%1").arg(server_.port()),
                                                              "-f", knownHosts()});
        QCOMPARE(found.has_value(), trust);
        if (!trust) {
            QCOMPARE(ended.text, QStringLiteral("The host key of 127.0.0.1 was not trusted, so nothing was sent to the server."));
            QVERIFY(!states.contains(QVariantList{TransferState::Connected}));
            QTest::qWait(200);
            QVERIFY(!server_.takeLog().contains("Accepted"));
        }
    }

    void changedHostKeyIsRefusedWithBothFingerprints()
    {
        const QString otherKey = local_.filePath("other_host_key");
        QVERIFY(SshdTestServer::makeKey(otherKey));
        QFile pub(otherKey + ".pub");
        QVERIFY(pub.open(QIODevice::ReadOnly));
        QFile file(knownHosts());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("[127.0.0.1]:%1 ").arg(server_.port()).toUtf8() + pub.readAll().split(' ').mid(0, 2).join(' ') + '\n');
        file.close();
        const QString previous = SshdTestServer::run("ssh-keygen", {"-l", "-f", otherKey})->split(' ').value(1);
        QList<CertificateQuestion> questions;
        connect(session_.get(), &TransferSession::certificateQuestion, this, [&](const CertificateQuestion &q) {
            questions << q;
            session_->answerCertificate(false);
        });
        QCOMPARE(run(TransferCommand::listing()).how, Ended::Failed);
        QCOMPARE(questions.size(), 1);
        QCOMPARE(questions[0].previousFingerprint, previous);
        QCOMPARE(questions[0].fingerprint, server_.fingerprint());
        QVERIFY(!session_->isOpenFor(login_));
    }

    void givenFingerprintDecidesWithoutAQuestion()
    {
        QFile::remove(knownHosts());
        QSignalSpy questions(session_.get(), &TransferSession::certificateQuestion);
        session_->setTrustedFingerprint(server_.fingerprint());
        QCOMPARE(run(TransferCommand::listing()).how, Ended::Completed);
        session_->abort();
        session_->setTrustedFingerprint("SHA256:AAAA");
        QCOMPARE(run(TransferCommand::listing()).how, Ended::Failed);
        QCOMPARE(questions.size(), 0);
        QVERIFY(!QFile::exists(knownHosts()));
    }

    void keyFromTheAgentLogsIn()
    {
        const QString agentKey = local_.filePath("agent_key");
        QVERIFY(SshdTestServer::makeKey(agentKey, "agent pass"));
        QVERIFY(server_.authorize(agentKey));
        QFile::rename(keyPath(), keyPath() + ".away");   // only the agent holds a usable key now
        const QString socket = local_.filePath("agent.sock");
        QProcess agent;
        agent.start("ssh-agent", {"-D", "-a", socket});
        QVERIFY(QTest::qWaitFor([&] { return QFile::exists(socket); }, 10000));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("SSH_AUTH_SOCK", socket);
        environment.insert("SSH_ASKPASS_REQUIRE", "never");
        // ssh-add reads the passphrase from the key itself being decrypted first.
        QVERIFY(SshdTestServer::run("ssh-keygen", {"-p", "-P", "agent pass", "-N", "", "-f", agentKey}));
        QVERIFY(SshdTestServer::run("ssh-add", {agentKey}, environment));
        qputenv("SSH_AUTH_SOCK", socket.toUtf8());
        const Ended ended = run(TransferCommand::listing());
        qunsetenv("SSH_AUTH_SOCK");
        QFile::rename(keyPath() + ".away", keyPath());
        agent.kill();
        agent.waitForFinished();
        QCOMPARE(ended.how, Ended::Completed);
    }

    void encryptedKeyFileAsksForItsPassphrase_data()
    {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::newRow("the passphrase logs in") << std::optional<QString>("key pass");
        QTest::newRow("cancelled skips the key") << std::optional<QString>();
    }
    void encryptedKeyFileAsksForItsPassphrase()
    {
        QFETCH(std::optional<QString>, answer);
        QVERIFY(SshdTestServer::run("ssh-keygen", {"-p", "-P", "", "-N", "key pass", "-f", keyPath()}));
        auto plainAgain = qScopeGuard([&] { SshdTestServer::run("ssh-keygen", {"-p", "-P", "key pass", "-N", "", "-f", keyPath()}); });
        QStringList asked;
        connect(session_.get(), &TransferSession::passphraseQuestion, this, [&](const QString &path) {
            asked << path;
            session_->answerPassphrase(answer.value_or(QString()), answer.has_value());
        });
        const Ended ended = run(TransferCommand::listing());
        QCOMPARE(asked, QStringList{keyPath()});
        QCOMPARE(ended.how, answer ? Ended::Completed : Ended::Failed);
        if (!answer) {
            QCOMPARE(ended.code, 530);
            QCOMPARE(ended.text, QStringLiteral("The server refused the login as %1. Tried: the key %2.")
                                     .arg(SshdTestServer::currentUser(), keyPath()));
        }
    }

    void passwordLoginAndARefusalNamingWhatWasTried()
    {
        const QString user = QStringLiteral("corvexosftp");
        SshdTestServer::run("userdel", {user});
        if (!SshdTestServer::run("useradd", {"-M", "-s", "/bin/sh", user}))
            QSKIP("a test user cannot be made here (not root)");
        auto removeUser = qScopeGuard([&] { SshdTestServer::run("userdel", {user}); });
        QProcess chpasswd;
        chpasswd.start("chpasswd");
        chpasswd.write((user + ":Pass word 1\n").toUtf8());
        chpasswd.closeWriteChannel();
        QVERIFY(chpasswd.waitForFinished() && chpasswd.exitCode() == 0);
        SshdTestServer pam;
        QVERIFY2(pam.start({"UsePAM yes", "PasswordAuthentication yes", "KbdInteractiveAuthentication yes"}),
                 qPrintable(pam.errorText()));
        QFile file(knownHosts());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(pam.knownHostsLine() + '\n') > 0);
        file.close();
        SessionLogin login = loginTo(pam.port(), user, "Pass word 1");
        QCOMPARE(runOn(*session_, login, TransferCommand::listing()).how, Ended::Completed);
        session_->abort();
        login.password = "wrong";
        const Ended refused = runOn(*session_, login, TransferCommand::listing());
        QCOMPARE(refused.how, Ended::Failed);
        QCOMPARE(refused.code, 530);
        QCOMPARE(refused.text, QStringLiteral("The server refused the login as corvexosftp. Tried: the key %1, the password, "
                                              "the password by keyboard-interactive.").arg(keyPath()));
    }

    void legacyCharsetNamesTravelAsTheirBytes()
    {
        // テスト.txt in Shift_JIS, in a folder of its own so that a fresh session learns the charset there.
        const QByteArray sjisName = "\x83\x65\x83\x58\x83\x67.txt";
        QVERIFY(QDir().mkpath(server_.pathOf("sjis")));
        const QByteArray folder = QFile::encodeName(server_.pathOf("sjis")) + '/';
        const int fd = ::open((folder + sjisName).constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(fd >= 0 && ::write(fd, "shift", 5) == 5);
        ::close(fd);
        // Names Qt cannot decode are beyond QTemporaryDir's clean-up.
        auto removeNames = qScopeGuard([folder, sjisName] {
            ::unlink((folder + sjisName).constData());
            ::unlink((folder + "\x83\x52\x83\x73\x81\x5b.txt").constData());
        });
        QCOMPARE(run(TransferCommand::changeDir("sjis")).how, Ended::Completed);
        QCOMPARE(listingLines(), QStringList({"../", QStringLiteral("テスト.txt")}));
        const QString target = local_.filePath("sjis.txt");
        QCOMPARE(run(TransferCommand::get(QStringLiteral("テスト.txt"), target)).how, Ended::Completed);
        QFile back(target);
        QVERIFY(back.open(QIODevice::ReadOnly));
        QCOMPARE(back.readAll(), QByteArray("shift"));
        QCOMPARE(run(TransferCommand::put(target, QStringLiteral("コピー.txt"))).how, Ended::Completed);
        QVERIFY(::access((folder + "\x83\x52\x83\x73\x81\x5b.txt").constData(), F_OK) == 0);
    }

    void sshConfigIsReadAsSshReadsIt_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("text");
        QTest::addColumn<sftp::SshHostConfig>("expected");
        const QString text = "# mine\n"
                             "Host nas box !box\n  HostName 192.0.2.7\n  Port=2222\n  User admin\n"
                             "  IdentityFile ~/.ssh/nas=key\n"
                             "Match host nas\n  User matched\n"
                             "Host *.example.org\n  user \"web user\"\n  IdentityFile %d/keys/%h-%u\n  Port 99999\n"
                             "Host *\n  Port 2200\n  HostName %h.lan\n  IdentityFile /k/all\n";
        QTest::newRow("alias with every keyword, first values win")
            << "nas" << text << sftp::SshHostConfig {"192.0.2.7", 2222, "admin", {"/h/.ssh/nas=key", "/k/all"}};
        QTest::newRow("a negated pattern leaves its block out")
            << "box" << text << sftp::SshHostConfig {"box.lan", 2200, {}, {"/k/all"}};
        QTest::newRow("wildcard, quoted value, tokens, a port out of range passed over")
            << "www.Example.org" << text
            << sftp::SshHostConfig {"www.Example.org.lan", 2200, "web user", {"/h/keys/www.Example.org.lan-me", "/k/all"}};
        QTest::newRow("no file") << "nas" << QString() << sftp::SshHostConfig {};
    }
    void sshConfigIsReadAsSshReadsIt()
    {
        QFETCH(QString, host);
        QFETCH(QString, text);
        QFETCH(sftp::SshHostConfig, expected);
        const sftp::SshHostConfig config = sftp::sshConfigFor(host, text, "/h", "me");
        QCOMPARE(config.hostName, expected.hostName);
        QCOMPARE(config.port, expected.port);
        QCOMPARE(config.user, expected.user);
        QCOMPARE(config.identityFiles, expected.identityFiles);
    }

    void settingsWinOverTheSshConfig_data()
    {
        QTest::addColumn<quint16>("port");
        QTest::addColumn<QString>("user");
        QTest::addColumn<quint16>("usedPort");
        QTest::addColumn<QString>("usedUser");
        QTest::newRow("nothing set") << quint16(22) << "Anonymous" << quint16(2222) << "admin";
        QTest::newRow("no user at all") << quint16(22) << "" << quint16(2222) << "admin";
        QTest::newRow("both set") << quint16(2022) << "me" << quint16(2022) << "me";
    }
    void settingsWinOverTheSshConfig()
    {
        QFETCH(quint16, port);
        QFETCH(QString, user);
        QFETCH(quint16, usedPort);
        QFETCH(QString, usedUser);
        const SessionLogin used = sftp::withSshConfig({TransferScheme::Sftp, "nas", port, user, "pw"},
                                                      {"192.0.2.7", 2222, "admin", {}});
        QCOMPARE(used, (SessionLogin {TransferScheme::Sftp, "192.0.2.7", usedPort, usedUser, "pw"}));
    }

    void aliasOfTheSshConfigLogsInWithItsKey()
    {
        const QString otherKey = QDir(home_.path()).filePath("keys/only for tests");
        QVERIFY(QDir().mkpath(QFileInfo(otherKey).absolutePath()));
        QVERIFY(SshdTestServer::makeKey(otherKey));
        QVERIFY(server_.authorize(otherKey));
        // The default key is moved aside: only the configured one can log in.
        QVERIFY(QFile::rename(keyPath(), keyPath() + ".aside"));
        auto restore = qScopeGuard([&] { QFile::rename(keyPath() + ".aside", keyPath()); });
        QFile config(QDir(home_.path()).filePath(".ssh/config"));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("Host corvexo-alias\n HostName 127.0.0.1\n Port %1\n User %2\n"
                                    " IdentityFile \"~/keys/only for tests\"\n")
                         .arg(server_.port()).arg(SshdTestServer::currentUser()).toUtf8());
        config.close();
        auto removeConfig = qScopeGuard([&] { config.remove(); });
        QSignalSpy questions(session_.get(), &TransferSession::certificateQuestion);
        const SessionLogin alias {TransferScheme::Sftp, "corvexo-alias", 22, "Anonymous", QString()};
        QCOMPARE(runOn(*session_, alias, TransferCommand::listing()).how, Ended::Completed);
        QVERIFY(questions.isEmpty());   // the key is known under the real host and port
        QVERIFY(QString::fromUtf8(session_->answer()).contains("a.txt"));
    }

    void windowAsksForHostKeyAndPassphrase()
    {
        WindowFixture f;
        f.answers = {true};
        QStringList asked;
        setPassphraseAnswerer([&](const QString &text) {
            asked << text;
            return asked.size() == 1 ? std::optional<QString>("secret words") : std::nullopt;
        });
        auto restore = qScopeGuard([] { setPassphraseAnswerer({}); });
        CertificateQuestion question;
        question.host = "sftp.example.org";
        question.port = 22;
        question.keyType = "ED25519";
        question.fingerprint = "SHA256:new";
        emit f.inet->certificateQuestion(question);
        QTRY_COMPARE(f.inet->certificateAnswers, QList<bool>({true}));
        QVERIFY(f.boxes[0].yesNo && f.boxes[0].noByDefault);
        QVERIFY(f.boxes[0].text.startsWith("The host key of sftp.example.org (port 22) is not in your known hosts."));
        emit f.inet->passphraseQuestion("/home/u/.ssh/id_ed25519");
        emit f.inet->passphraseQuestion("/home/u/.ssh/id_rsa");
        QTRY_COMPARE(f.inet->passphraseAnswers, QStringList({"secret words", ""}));
        QCOMPARE(asked[0], QStringLiteral("Enter the passphrase of the key /home/u/.ssh/id_ed25519 (it is not stored)."));
        f.inet->securityNow = {true, "SSH", "SHA256:new", "ED25519", "chacha20-poly1305@openssh.com"};
        f.inet->report({4});
        QCOMPARE(f.window->securityView->lock()->toolTip(),
                 QStringLiteral("Encrypted (SSH, chacha20-poly1305@openssh.com)\nHost key: ED25519 SHA256:new"));
    }

    void hostKeyQuestionTexts()
    {
        CertificateQuestion question;
        question.host = "example.org";
        question.port = 22;
        question.keyType = "ED25519";
        question.fingerprint = "SHA256:new";
        QCOMPARE(certificateQuestionText(question),
                 QStringLiteral("The host key of example.org (port 22) is not in your known hosts.\n\n"
                                "Key type: ED25519\nFingerprint: SHA256:new\n\n"
                                "Trust this key, remember it in your known hosts and connect?"));
        question.previousFingerprint = "SHA256:old";
        QCOMPARE(certificateQuestionText(question),
                 QStringLiteral("WARNING: the host key of example.org (port 22) has changed. Someone may be "
                                "intercepting the connection (an attack), or the server's key was replaced.\n\n"
                                "Key type: ED25519\nFingerprint: SHA256:new\nKnown fingerprint: SHA256:old\n\n"
                                "Trust the new key and connect anyway?"));
    }
};

QTEST_MAIN(SftpEngineTest)
#include "tst_sftp_engine.moc"
