// TLS that cannot be stripped: a host seen with TLS that now refuses it, a
// handshake that fails after the server's 234, ftpes:// that requires TLS and
// ftps:// that speaks it from the first byte; the question in the window and
// the console's --allow-plain. Every server logs the lines it received, so
// that no password is found where it must not be.

#include "connection/certificate_messages.h"
#include "connection/ftp/ftp_certificate.h"
#include "connection/ftp/ftp_tls_hosts.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "connection/ftp/ftp_trust_store.h"
#include "connection/sftp/sftp_session_factory.h"
#include "connection/transfer_messages.h"
#include "settings/settings_messages.h"
#include "support/ftp_run.h"
#include "support/window_fixture.h"

#include <QProcess>
#include <QTest>

using namespace corvexo;
using namespace corvexo::testing;

namespace {
const QString kNotAllowed = QStringLiteral("The session ended before logging in: the password was not sent in clear text.");
}

class TlsRequiredTest : public QObject {
    Q_OBJECT
private:
    TestDataDir data_;   // the trust files go here
    QTemporaryDir keys_;
    QString fingerprint_;
    QList<PlainLoginQuestion> questions_;

    // A control for host text at server's port; answer: what the user says to a plain login.
    std::unique_ptr<FtpTransferControl> control(const FtpTestServer &server, std::optional<bool> answer,
                                                const QString &host = QStringLiteral("127.0.0.1"))
    {
        auto control = std::make_unique<FtpTransferControl>();
        pointAt(*control, server, host);
        questions_.clear();
        connect(control.get(), &TransferControl::plainLoginQuestion, this,
                [this, c = control.get(), answer](const PlainLoginQuestion &question) {
                    questions_ << question;
                    if (answer) c->answerPlainLogin(*answer);
                });
        return control;
    }

    static QByteArray logOf(FtpTestServer &server)
    {
        QTest::qWait(200);   // the last lines may still be on their way
        return server.takeOutput();
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(QProcess::execute("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30", "-subj",
                                               "/CN=corvexo test", "-keyout", keys_.filePath("server.key"), "-out",
                                               keys_.filePath("server.pem")}), 0);
        fingerprint_ = ftp::certificateFingerprint(QSslCertificate::fromPath(keys_.filePath("server.pem")).value(0));
    }

    void init()
    {
        QFile::remove(ftp::FtpTrustStore::defaultPath());
        QFile::remove(ftp::FtpTlsHosts::defaultPath());
    }

    void hostSeenWithTlsNowRefusingItIsAskedAbout_data()
    {
        QTest::addColumn<QString>("seen");
        QTest::newRow("certificate the user trusted") << "trusted";
        QTest::newRow("certificate the system trusted") << "system";
        QTest::newRow("fingerprint given") << "given";
    }
    void hostSeenWithTlsNowRefusingItIsAskedAbout()
    {
        QFETCH(QString, seen);
        FtpTestServer plain;   // pyftpdlib without TLS answers AUTH TLS with 500
        QVERIFY2(plain.start({"--log-lines"}), qPrintable(plain.errorText()));
        if (seen == "trusted") QVERIFY(ftp::FtpTrustStore().remember("127.0.0.1", plain.port(), fingerprint_));
        if (seen == "system") QVERIFY(ftp::FtpTlsHosts().remember("127.0.0.1", plain.port()));

        auto no = control(plain, false);
        if (seen == "given") no->setTrustedFingerprint(fingerprint_);
        const FtpRun refused = runOn(*no, TransferCommand::connectListing());
        QCOMPARE(refused.states, QList<int>({1, 2, 3, 11}));
        QCOMPARE(refused.info, kNotAllowed);
        QCOMPARE(questions_.size(), 1);
        QCOMPARE(questions_[0].reason, PlainLoginQuestion::Reason::TlsRefused);
        QCOMPARE(questions_[0].port, plain.port());
        QVERIFY2(questions_[0].detail.startsWith("500 "), qPrintable(questions_[0].detail));
        QCOMPARE(logOf(plain), QByteArray("CMD AUTH TLS\n"));

        auto yes = control(plain, true);
        if (seen == "given") yes->setTrustedFingerprint(fingerprint_);
        QCOMPARE(runOn(*yes, TransferCommand::connectListing()).states, opening());
        QCOMPARE(runOn(*yes, TransferCommand::listing()).states, completed());
        QCOMPARE(questions_.size(), 1);
        QVERIFY(logOf(plain).startsWith("CMD AUTH TLS\nCMD USER user\nCMD PASS secret\n"));
    }

    void ftpesRefusedIsNeverLoggedInTo()
    {
        FtpTestServer plain;
        QVERIFY2(plain.start({"--log-lines"}), qPrintable(plain.errorText()));
        auto c = control(plain, true, "ftpes://127.0.0.1");
        const FtpRun run = runOn(*c, TransferCommand::connectListing());
        QCOMPARE(run.states, QList<int>({1, 2, 3, 11}));
        QVERIFY2(run.info.startsWith("The server refused encryption (500 "), qPrintable(run.info));
        QVERIFY(questions_.isEmpty());
        QCOMPARE(logOf(plain), QByteArray("CMD AUTH TLS\n"));
    }

    void handshakeFailingAfter234AsksBeforeAPlainSession()
    {
        FtpTestServer broken;
        QVERIFY2(broken.start({}, "tls_breaking_server.py"), qPrintable(broken.errorText()));
        auto no = control(broken, false);
        const FtpRun refused = runOn(*no, TransferCommand::connectListing());
        QCOMPARE(refused.states, QList<int>({1, 2, 3, 11}));
        QCOMPARE(refused.info, kNotAllowed);
        QCOMPARE(questions_.size(), 1);
        QCOMPARE(questions_[0].reason, PlainLoginQuestion::Reason::HandshakeFailed);
        QCOMPARE(logOf(broken), QByteArray("CMD AUTH TLS\n"));

        // Yes: a new connection in clear text, and no second question for this session.
        auto yes = control(broken, true);
        QCOMPARE(runOn(*yes, TransferCommand::connectListing()).states, opening());
        QCOMPARE(runOn(*yes, TransferCommand::listing()).states, completed());
        QCOMPARE(questions_.size(), 1);
        QVERIFY(!yes->security().encrypted);
        QVERIFY(logOf(broken).startsWith("CMD AUTH TLS\nCMD USER user\nCMD PASS secret\n"));
    }

    void handshakeFailingWhereTlsIsExpectedEndsWithoutAQuestion_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("seenBefore");
        QTest::newRow("host seen with TLS") << "127.0.0.1" << true;
        QTest::newRow("ftpes") << "ftpes://127.0.0.1" << false;
    }
    void handshakeFailingWhereTlsIsExpectedEndsWithoutAQuestion()
    {
        QFETCH(QString, host);
        QFETCH(bool, seenBefore);
        FtpTestServer broken;
        QVERIFY2(broken.start({}, "tls_breaking_server.py"), qPrintable(broken.errorText()));
        if (seenBefore) QVERIFY(ftp::FtpTrustStore().remember("127.0.0.1", broken.port(), fingerprint_));
        auto c = control(broken, true, host);
        const FtpRun run = runOn(*c, TransferCommand::connectListing());
        QCOMPARE(run.states, QList<int>({1, 2, 3, 11}));
        QVERIFY2(run.info.startsWith("The encrypted connection could not be set up"), qPrintable(run.info));
        QVERIFY(questions_.isEmpty());
        QCOMPARE(logOf(broken), QByteArray("CMD AUTH TLS\n"));
    }

    void implicitTlsFromTheFirstByte()
    {
        FtpTestServer server;
        QVERIFY2(server.start({"--log-commands", "--implicit-tls", keys_.filePath("server.pem"), keys_.filePath("server.key")}),
                 qPrintable(server.errorText()));
        QVERIFY(server.writeFile("a.txt", "alpha"));
        auto c = control(server, false, "ftps://127.0.0.1");
        c->setTrustedFingerprint(fingerprint_);
        const FtpRun listing = runOn(*c, TransferCommand::connectListing());
        QCOMPARE(listing.states, opening());
        QVERIFY(listing.answer.contains("a.txt"));
        QVERIFY(c->security().encrypted);
        QCOMPARE(c->security().fingerprint, fingerprint_);
        QTemporaryDir local;
        QCOMPARE(runOn(*c, TransferCommand::get("a.txt", local.filePath("a.txt"))).states, completed());
        QCOMPARE(contentOf(local.filePath("a.txt")), QByteArray("alpha"));
        // The server requires protected data connections; no AUTH was needed.
        QVERIFY(logOf(server).startsWith("CMD USER\nCMD PASS\nCMD PBSZ\nCMD PROT\n"));
    }

    void sftpWithoutItsSessionFailsClearly()
    {
        if (auto *session = sftp::makeSftpSession(nullptr)) {
            delete session;
            QSKIP("this build speaks SFTP");
        }
        FtpTestServer server;
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        auto c = control(server, false, "sftp://127.0.0.1");
        const FtpRun run = runOn(*c, TransferCommand::connectListing());
        QCOMPARE(run.states, QList<int>({11}));
        QCOMPARE(run.info, QStringLiteral("This version of the program cannot connect with sftp://."));
    }

    void consoleLogsInInClearTextOnlyWhenAllowed()
    {
        FtpTestServer broken;
        QVERIFY2(broken.start({}, "tls_breaking_server.py"), qPrintable(broken.errorText()));
        const QStringList login = {"127.0.0.1", QString::number(broken.port()), "user", "secret"};
        for (const bool allow : {false, true}) {
            QProcess console;
            console.start(CORVEXO_CONSOLE, (allow ? QStringList{"--allow-plain"} : QStringList{}) + login);
            console.write("dir\n");
            console.closeWriteChannel();
            QVERIFY(console.waitForFinished(30000));
            const QByteArray output = console.readAllStandardOutput();
            QCOMPARE(console.exitCode(), allow ? 0 : 1);
            QVERIFY2(output.contains(allow ? "completed" : kNotAllowed.toUtf8()), output.constData());
            const QByteArray log = logOf(broken);
            QCOMPARE(log.contains("CMD PASS secret"), allow);
        }
    }

    void windowAsksWithNoAsDefault()
    {
        WindowFixture f;
        f.answers = {false};
        emit f.inet->plainLoginQuestion({PlainLoginQuestion::Reason::TlsRefused, "ftp.example.org", 21,
                                         "500 Command not understood."});
        QTRY_COMPARE(f.inet->plainLoginAnswers, QList<bool>({false}));
        QCOMPARE(f.boxes.size(), 1);
        QVERIFY(f.boxes[0].yesNo && f.boxes[0].noByDefault);
        QCOMPARE(f.boxes[0].text, QStringLiteral(
            "ftp.example.org (port 21) used encryption before, but now refuses it (500 Command not understood.).\n\n"
            "This may be an attack: someone between you and the server may be trying to read your password.\n\n"
            "Without encryption, the password and everything else travel in clear text, readable by anyone on the way."
            "\n\nLog in without encryption anyway?"));
        f.answers = {true};
        emit f.inet->plainLoginQuestion({PlainLoginQuestion::Reason::HandshakeFailed, "ftp.example.org", 21, "closed"});
        QTRY_COMPARE(f.inet->plainLoginAnswers, QList<bool>({false, true}));
        QVERIFY(f.boxes[1].text.startsWith("ftp.example.org (port 21) offered encryption, but the encrypted connection "
                                           "could not be set up (closed)."));
        QVERIFY(f.boxes[1].text.endsWith("Connect without encryption for this session?"));
    }

    void textsInJapanese()
    {
        if (uiLanguage() != UiLanguage::Japanese) QSKIP("runs again under LANG=ja_JP.UTF-8");
        QVERIFY(plainLoginQuestionText({PlainLoginQuestion::Reason::TlsRefused, "h", 21, "500 no"})
                    .startsWith(QStringLiteral("h（ポート 21）は以前は暗号化を使っていましたが、今は拒否しています（500 no）。")));
        QVERIFY(plainLoginQuestionText({PlainLoginQuestion::Reason::HandshakeFailed, "h", 21, "x"})
                    .endsWith(QStringLiteral("この接続に限り、暗号化せずに接続しますか？")));
        QCOMPARE(transferText(TransferText::PlainLoginNotAllowed),
                 QStringLiteral("ログインする前に接続を終えました。パスワードを平文で送信していません。"));
        QVERIFY(hostProblem("a b").startsWith(QStringLiteral("ホストアドレス \"a b\" は使えません。ホスト名かアドレスを入力してください。例: ftp.example.org")));
    }
};

QTEST_MAIN(TlsRequiredTest)
#include "tst_tls_required.moc"
