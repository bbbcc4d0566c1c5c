// TLS that cannot be stripped: a host seen with TLS that now refuses it, a
// handshake that fails after the server's 234, ftpes:// that requires TLS and
// ftps:// that speaks it from the first byte; the question in the window and
// the console's --allow-plain. The servers log every line they receive, so
// that no password is found where it must not be.

#include "connection/certificate_messages.h"
#include "connection/ftp/ftp_certificate.h"
#include "connection/ftp/ftp_tls_hosts.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "connection/ftp/ftp_trust_store.h"
#include "connection/transfer_messages.h"
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

    // pyftpdlib without TLS refuses AUTH TLS; "--broken-tls" accepts it and fails the handshake.
    void start(FtpTestServer &server, const QString &tls = {})
    {
        QStringList arguments{"--log-lines"};
        if (!tls.isEmpty()) arguments += {tls, keys_.filePath("server.pem"), keys_.filePath("server.key")};
        QVERIFY2(server.start(arguments), qPrintable(server.errorText()));
    }

    // answer: what the user says to a login in clear text.
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
        FtpTestServer plain;
        start(plain);
        if (seen == "trusted") QVERIFY(ftp::FtpTrustStore().remember("127.0.0.1", plain.port(), fingerprint_));
        if (seen == "system") QVERIFY(ftp::FtpTlsHosts().remember("127.0.0.1", plain.port()));
        for (const bool answer : {false, true}) {
            auto c = control(plain, answer);
            if (seen == "given") c->setTrustedFingerprint(fingerprint_);
            const FtpRun run = runOn(*c, TransferCommand::connectListing());
            QCOMPARE(run.states, answer ? opening() : QList<int>({1, 2, 3, 11}));
            QCOMPARE(questions_.size(), 1);
            QCOMPARE(questions_[0].reason, PlainLoginQuestion::Reason::TlsRefused);
            QCOMPARE(questions_[0].detail, QStringLiteral("500 Command \"AUTH\" not understood."));
            const QByteArray log = logOf(plain);
            QVERIFY2(answer ? log.startsWith("CMD AUTH TLS\nCMD USER user\nCMD PASS secret\n")
                            : run.info == kNotAllowed && log == "CMD AUTH TLS\n", log.constData());
        }
    }

    void whereTlsIsExpectedNothingIsAskedOrSent_data()
    {
        QTest::addColumn<QString>("tls");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("info");
        QTest::newRow("ftpes refused") << "" << "ftpes://127.0.0.1" << "The server refused encryption (500 ";
        QTest::newRow("ftpes handshake") << "--broken-tls" << "ftpes://127.0.0.1" << "The encrypted connection could not";
        QTest::newRow("seen host handshake") << "--broken-tls" << "127.0.0.1" << "The encrypted connection could not";
    }
    void whereTlsIsExpectedNothingIsAskedOrSent()
    {
        QFETCH(QString, tls);
        QFETCH(QString, host);
        QFETCH(QString, info);
        FtpTestServer server;
        start(server, tls);
        QVERIFY(ftp::FtpTlsHosts().remember("127.0.0.1", server.port()));
        const FtpRun run = runOn(*control(server, true, host), TransferCommand::connectListing());
        QCOMPARE(run.states, QList<int>({1, 2, 3, 11}));
        QVERIFY2(run.info.startsWith(info), qPrintable(run.info));
        QVERIFY(questions_.isEmpty());
        QCOMPARE(logOf(server), QByteArray("CMD AUTH TLS\n"));
    }

    void implicitTlsFromTheFirstByte()
    {
        FtpTestServer server;
        start(server, "--implicit-tls");
        QVERIFY(server.writeFile("a.txt", "alpha"));
        auto c = control(server, false, "ftps://127.0.0.1");
        c->setTrustedFingerprint(fingerprint_);
        const FtpRun listing = runOn(*c, TransferCommand::connectListing());
        QCOMPARE(listing.states, opening());
        QVERIFY(listing.answer.contains("a.txt"));   // the server takes protected data connections only
        QCOMPARE(c->security().fingerprint, fingerprint_);
        QVERIFY(logOf(server).startsWith("CMD USER user\nCMD PASS secret\nCMD PBSZ 0\nCMD PROT P\n"));
    }

    // The console answers the question itself: No, unless --allow-plain; then a new connection in clear text.
    void handshakeFailingAfter234AsksBeforeAPlainSession()
    {
        FtpTestServer broken;
        start(broken, "--broken-tls");
        for (const bool allow : {false, true}) {
            QProcess console;
            console.start(CORVEXO_CONSOLE, QStringList(allow ? "--allow-plain" : "--bench")
                                               << "127.0.0.1" << QString::number(broken.port()) << "user" << "secret");
            console.write("dir\n");
            console.closeWriteChannel();
            QVERIFY(console.waitForFinished(30000));
            const QByteArray output = console.readAllStandardOutput();
            QCOMPARE(console.exitCode(), allow ? 0 : 1);
            QVERIFY2(output.contains(allow ? "completed" : kNotAllowed.toUtf8()), output.constData());
            const QByteArray log = logOf(broken);
            QVERIFY2(allow ? log.startsWith("CMD AUTH TLS\nCMD USER user\nCMD PASS secret\n") : log == "CMD AUTH TLS\n",
                     log.constData());
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
    }

};

QTEST_MAIN(TlsRequiredTest)
#include "tst_tls_required.moc"
