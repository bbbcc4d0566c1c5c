// Secure sessions: explicit TLS against pyftpdlib with a certificate made
// here (TLS required for the login and for the data), the certificate
// question and its remembered answers, the window's question and lock, and
// passwords that stay with their own setting.

#include "connection/certificate_messages.h"
#include "connection/ftp/ftp_certificate.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "connection/ftp/ftp_trust_store.h"
#include "connection/session_security_view.h"
#include "support/ftp_run.h"
#include "support/window_fixture.h"

#include <QLabel>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

using namespace corvexo;
using namespace corvexo::testing;

class FtpTlsTest : public QObject {
    Q_OBJECT
private:
    TestDataDir data_;   // the trust file goes here
    QTemporaryDir keys_;
    FtpTestServer server_;
    QString fingerprint_;
    QList<CertificateQuestion> questions_;

    std::unique_ptr<FtpTransferControl> control(FtpTestServer &server, std::optional<bool> answer)
    {
        auto control = std::make_unique<FtpTransferControl>();
        pointAt(*control, server);
        questions_.clear();
        connect(control.get(), &TransferControl::certificateQuestion, this,
                [this, c = control.get(), answer](const CertificateQuestion &question) {
                    questions_ << question;
                    if (answer) c->answerCertificate(*answer);
                });
        return control;
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(QProcess::execute("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30", "-subj",
                                               "/CN=corvexo test", "-keyout", keys_.filePath("server.key"), "-out",
                                               keys_.filePath("server.pem")}), 0);
        const auto certificates = QSslCertificate::fromPath(keys_.filePath("server.pem"));
        QCOMPARE(certificates.size(), 1);
        fingerprint_ = ftp::certificateFingerprint(certificates.first());
        QVERIFY2(server_.start({"--log-commands", "--tls", keys_.filePath("server.pem"), keys_.filePath("server.key")}),
                 qPrintable(server_.errorText()));
    }

    void init() { QFile::remove(ftp::FtpTrustStore::defaultPath()); }

    void answerNoEndsTheSessionBeforeAnyLogin()
    {
        server_.takeOutput();
        auto c = control(server_, false);
        const FtpRun run = runOn(*c, TransferCommand::connectListing());
        QCOMPARE(run.states, QList<int>({1, 2, 3, 11}));
        QCOMPARE(run.info, QStringLiteral("The server's certificate was not trusted; the session ended before logging in."));
        QCOMPARE(questions_.size(), 1);
        QTest::qWait(200);
        QCOMPARE(server_.takeOutput(), QByteArray("CMD AUTH\n"));
        QVERIFY(ftp::FtpTrustStore().fingerprintFor("127.0.0.1", server_.port()).isEmpty());
    }

    void answerYesIsRememberedAndEverythingTravelsEncrypted()
    {
        auto first = control(server_, true);
        QVERIFY(server_.writeFile("a.txt", "alpha"));
        QCOMPARE(runOn(*first, TransferCommand::connectListing()).states, opening());
        QCOMPARE(questions_.size(), 1);
        const CertificateQuestion q = questions_.first();
        QCOMPARE(q.host, QStringLiteral("127.0.0.1"));
        QCOMPARE(q.port, server_.port());
        QCOMPARE(q.subject, QStringLiteral("corvexo test"));
        QCOMPARE(q.fingerprint, fingerprint_);
        QVERIFY(q.previousFingerprint.isEmpty());
        QVERIFY(!q.problems.isEmpty());
        QVERIFY(q.validTo > QDateTime::currentDateTime());
        const SessionSecurity security = first->security();
        QVERIFY(security.encrypted);
        QVERIFY(security.protocol == "TLS 1.2" || security.protocol == "TLS 1.3");
        QCOMPARE(security.fingerprint, fingerprint_);
        QFile trust(ftp::FtpTrustStore::defaultPath());
        QCOMPARE(int(trust.permissions() & 0xF0FF), int(QFileDevice::ReadOwner | QFileDevice::WriteOwner));

        // The second session is not asked; data connections must be encrypted on this server.
        auto second = control(server_, std::nullopt);
        QTemporaryDir local;
        QByteArray bytes(3 * 1024 * 1024 + 17, Qt::Uninitialized);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
        QVERIFY(server_.writeFile("big.bin", bytes));
        const FtpRun listing = runOn(*second, TransferCommand::connectListing());
        QCOMPARE(listing.states, opening());
        QVERIFY(listing.answer.contains("a.txt"));
        QVERIFY(questions_.isEmpty());
        const QString got = local.filePath("got.bin");
        QCOMPARE(runOn(*second, TransferCommand::get("big.bin", got)).states, completed());
        QVERIFY(contentOf(got) == bytes);
        QCOMPARE(runOn(*second, TransferCommand::put(got, "back.bin")).states, completed());
        QVERIFY(server_.readFile("back.bin") == bytes);
    }

    void uploadsArriveWhole_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("100 KB") << 100 * 1024;
        QTest::newRow("200 KB") << 200 * 1024;
        QTest::newRow("1 MB") << 1024 * 1024;
        QTest::newRow("5 MB") << 5 * 1024 * 1024;
    }
    void uploadsArriveWhole()
    {
        QFETCH(int, size);
        QTemporaryDir local;
        QByteArray bytes(size, Qt::Uninitialized);
        QRandomGenerator(size).fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
        QFile file(local.filePath("up.bin"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == size);
        file.close();
        auto c = control(server_, std::nullopt);
        c->setTrustedFingerprint(fingerprint_);
        QCOMPARE(runOn(*c, TransferCommand::put(file.fileName(), "up.bin")).states, opening());
        QVERIFY(server_.readFile("up.bin") == bytes);
    }

    void plainBytesBeforeTheHandshakeAreNeverData()
    {
        FtpTestServer hostile;
        QVERIFY2(hostile.start({"--mode", "inject", "--tls", keys_.filePath("server.pem"), keys_.filePath("server.key")},
                               "hostile_ftp_server.py"), qPrintable(hostile.errorText()));
        auto c = control(hostile, std::nullopt);
        c->setTrustedFingerprint(fingerprint_);
        const FtpRun run = runOn(*c, TransferCommand::connectListing());
        QCOMPARE(run.states.last(), 11);
        QCOMPARE(run.info, QStringLiteral("The data connection failed: unencrypted data came before its encryption began; "
                                          "nothing of it was used."));
        QVERIFY(run.answer.isEmpty());
    }

    void serverWithOnlyOldTlsIsRefused()
    {
        FtpTestServer old;
        QVERIFY2(old.start({"--mode", "short", "--old-tls", "--tls", keys_.filePath("server.pem"), keys_.filePath("server.key")},
                           "hostile_ftp_server.py"), qPrintable(old.errorText()));
        auto c = control(old, true);
        const FtpRun run = runOn(*c, TransferCommand::connectListing());
        QCOMPARE(run.states, QList<int>({1, 2, 3, 11}));
        QCOMPARE(run.info, QStringLiteral("The server offers only TLS 1.0 or 1.1, which are no longer safe; nothing was sent."));
        QVERIFY(questions_.isEmpty());
    }

    void hugeTrustFileIsRefusedAndKept()
    {
        const QString path = ftp::FtpTrustStore::defaultPath();
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile huge(path);
        const QByteArray line = "127.0.0.1 " + QByteArray::number(server_.port()) + ' ' + fingerprint_.toUtf8() + '\n';
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.write(line) > 0 && huge.resize(3 * 1024 * 1024));
        huge.close();
        auto c = control(server_, true);
        QSignalSpy notSaved(c.get(), &TransferControl::trustNotSaved);
        QCOMPARE(runOn(*c, TransferCommand::connectListing()).states, opening());
        QCOMPARE(questions_.size(), 1);   // nothing read from it
        QCOMPARE(notSaved.size(), 1);
        QCOMPARE(notSaved[0][1].toString(), QStringLiteral("it is larger than any list of trusted certificates can be: over 2097152 bytes"));
        QCOMPARE(QFileInfo(path).size(), 3 * 1024 * 1024);
    }

    void changedCertificateAsksAgainWithBothFingerprints()
    {
        QVERIFY(ftp::FtpTrustStore().remember("127.0.0.1", server_.port(), "AA:BB"));
        auto c = control(server_, std::nullopt);
        QVERIFY(c->execute(TransferCommand::connectListing()) == 0);
        QTRY_COMPARE(questions_.size(), 1);
        QCOMPARE(questions_.first().fingerprint, fingerprint_);
        QCOMPARE(questions_.first().previousFingerprint, QStringLiteral("AA:BB"));
        QSignalSpy states(c.get(), &TransferControl::stateChanged);
        c->answerCertificate(true);
        QTRY_VERIFY(!states.isEmpty() && states.last().first().toInt() == 12);
        QCOMPARE(ftp::FtpTrustStore().fingerprintFor("127.0.0.1", server_.port()), fingerprint_);
    }

    void givenFingerprintDecidesWithoutAQuestion()
    {
        auto c = control(server_, std::nullopt);
        c->setTrustedFingerprint(fingerprint_.toLower().remove(':'));
        QCOMPARE(runOn(*c, TransferCommand::connectListing()).states, opening());
        c = control(server_, std::nullopt);
        c->setTrustedFingerprint("00:11");
        QCOMPARE(runOn(*c, TransferCommand::connectListing()).states, QList<int>({1, 2, 3, 11}));
        QVERIFY(questions_.isEmpty());
    }

    void serverWithoutTlsGivesAPlainSession()
    {
        FtpTestServer plain;
        QVERIFY2(plain.start({"--log-commands"}), qPrintable(plain.errorText()));
        auto c = control(plain, std::nullopt);
        QCOMPARE(runOn(*c, TransferCommand::connectListing()).states, opening());
        QVERIFY(!c->security().encrypted);
        QVERIFY(plain.takeOutput().startsWith("CMD AUTH\nCMD USER\nCMD PASS\n"));
    }

    void aTrustThatCannotBeKeptIsToldAndTheSessionGoesOn()
    {
        const QString path = ftp::FtpTrustStore::defaultPath();
        QVERIFY(QDir().mkpath(path));   // a folder stands where the file would go
        auto c = control(server_, true);
        QSignalSpy notSaved(c.get(), &TransferControl::trustNotSaved);
        QCOMPARE(runOn(*c, TransferCommand::connectListing()).states, opening());
        QVERIFY(QDir().rmdir(path));
        QCOMPARE(notSaved.size(), 1);
        QCOMPARE(notSaved[0][0].toString(), path);
        QVERIFY(!notSaved[0][1].toString().isEmpty());

        WindowFixture f;
        emit f.inet->trustNotSaved("/data/trusted_certificates", "No space left on device");
        QTRY_COMPARE(f.texts(), QStringList({"Could not save \"trusted_certificates\" (No space left on device). "
                                             "The file was left as it was.\r\n/data/trusted_certificates"}));
    }

    void windowAsksWithNoAsDefaultAndShowsTheLock()
    {
        WindowFixture f;
        f.answers = {true};
        CertificateQuestion q{"ftp.example.org", 990, "me", "me", QDateTime({2026, 1, 2}, {3, 4}, Qt::UTC),
                              QDateTime({2027, 1, 2}, {3, 4}, Qt::UTC), "AB:CD", "12:34",
                              {"The certificate is self-signed, and untrusted"}};
        emit f.inet->certificateQuestion(q);
        QTRY_COMPARE(f.inet->certificateAnswers, QList<bool>({true}));
        QCOMPARE(f.boxes.size(), 1);
        QVERIFY(f.boxes[0].yesNo && f.boxes[0].noByDefault);
        QCOMPARE(f.boxes[0].text, QStringLiteral(
            "The certificate of ftp.example.org (port 990) has changed since you trusted it.\n\n"
            "Subject: me\nIssuer: me\nValid from 2026-01-02 03:04 UTC to 2027-01-02 03:04 UTC\n"
            "SHA-256 fingerprint: AB:CD\nPreviously trusted fingerprint: 12:34\n\n"
            "Problems:\n- The certificate is self-signed, and untrusted\n\nTrust this certificate and connect?"));
        QLabel *lock = f.window->securityView->lock();
        f.inet->securityNow = {true, "TLS 1.3", "AB:CD"};
        f.inet->report({4});
        QVERIFY(!lock->isHidden());
        QCOMPARE(lock->toolTip(), QStringLiteral("Encrypted (TLS 1.3)\nSHA-256 fingerprint: AB:CD"));
        f.inet->securityNow = {};
        f.window->Discon_Click();
        QVERIFY(lock->isHidden());
    }

    void passwordOfOneSettingNeverReachesTheNext()
    {
        WindowFixture f;
        WindowFixture::useSetting("first.example", "secret", "alice", "");
        f.window->Connect();
        WindowFixture::useSetting("second.example", "", "bob", "");
        f.window->Connect();
        QCOMPARE(f.inet->properties.filter("password"), QStringList({"password secret", "password "}));
    }
};

QTEST_MAIN(FtpTlsTest)
#include "tst_ftp_tls.moc"
