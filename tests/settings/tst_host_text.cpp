// One host text for every protocol: the forms the parser and the settings
// window's check take, and a setting taken over whole or not at all, so that
// a password never goes to another setting's server.
#include "app/strings/string_table.h"
#include "connection/connection.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "connection/transfer_address.h"
#include "settings/setting_checks.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"
#include "support/ftp_test_server.h"
#include "support/window_fixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

Q_DECLARE_METATYPE(corvexo::TransferScheme)

class HostTextTest : public QObject {
    Q_OBJECT
private slots:
    void hostTextsAreRead_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("portField");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<TransferScheme>("scheme");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        using S = TransferScheme;
        QTest::newRow("plain name") << "ftp.example.org" << "" << true << S::Ftp << "ftp.example.org" << 21;
        QTest::newRow("port field") << "example.org" << "2121" << true << S::Ftp << "example.org" << 2121;
        QTest::newRow("ftpes") << "ftpes://example.org" << "" << true << S::Ftpes << "example.org" << 21;
        QTest::newRow("ftps implicit") << "ftps://example.org" << "" << true << S::Ftps << "example.org" << 990;
        QTest::newRow("sftp, upper case, final slash") << " SFTP://nas.local/ " << "" << true << S::Sftp << "nas.local" << 22;
        QTest::newRow("port in text wins") << "ftp://example.org:2135" << "21" << true << S::Ftp << "example.org" << 2135;
        QTest::newRow("bracketed ipv6 with port") << "ftp://[::1]:2135" << "" << true << S::Ftp << "::1" << 2135;
        QTest::newRow("bare ipv6") << "2001:db8::1" << "" << true << S::Ftp << "2001:db8::1" << 21;
        QTest::newRow("empty") << "" << "" << false << S::Ftp << "" << 0;
        QTest::newRow("unknown scheme") << "http://example.org" << "" << false << S::Ftp << "" << 0;
        QTest::newRow("path") << "ftp://example.org/pub" << "" << false << S::Ftp << "" << 0;
        QTest::newRow("user in text") << "ftp://me@example.org" << "" << false << S::Ftp << "" << 0;
        QTest::newRow("blank inside") << "example org" << "" << false << S::Ftp << "" << 0;
        QTest::newRow("port too big") << "example.org" << "65536" << false << S::Ftp << "" << 0;
        QTest::newRow("no such ipv4") << "300.1.1.1" << "" << false << S::Ftp << "" << 0;
        QTest::newRow("bracketed name") << "[example.org]" << "" << false << S::Ftp << "" << 0;
    }
    void hostTextsAreRead()
    {
        QFETCH(QString, typed);
        QFETCH(QString, portField);
        QFETCH(bool, valid);
        const std::optional<TransferAddress> address = parseTransferAddress(typed, portField);
        QCOMPARE(address.has_value(), valid);
        if (!valid) return;
        QFETCH(TransferScheme, scheme);
        QFETCH(QString, host);
        QFETCH(int, port);
        QCOMPARE(*address, (TransferAddress{scheme, host, quint16(port)}));
        // What the window sets as the port is what the control reads back from the same texts.
        QCOMPARE(int(remotePortFor(typed, portField)), port);
    }

    void theCurrentSettingLeavesOutOnlyTheFtpPrefix_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<std::optional<QString>>("slot");
        QTest::newRow("ftp prefix left out") << "ftp://ftp.example.org" << std::optional<QString>("ftp.example.org");
        QTest::newRow("ftp prefix alone") << "ftp://" << std::optional<QString>("");
        QTest::newRow("sftp kept") << "sftp://[::1]:2222" << std::optional<QString>("sftp://[::1]:2222");
        QTest::newRow("upper-case prefix kept") << "FTP://example.org" << std::optional<QString>("FTP://example.org");
        QTest::newRow("bad port") << "ftp://example.org:99999" << std::optional<QString>();
    }
    void theCurrentSettingLeavesOutOnlyTheFtpPrefix()
    {
        QFETCH(QString, typed);
        QFETCH(std::optional<QString>, slot);
        QCOMPARE(hostForCurrentSetting(typed), slot);
    }

    void aBadHostIsNamedWithTheFormsItCouldTake()
    {
        WindowFixture f;
        f.window->Sett_Click();
        Form2 *w = existingSettingsWindow();
        typeSetting(w, "ftp://example org", "pw", "joe", "", "Home");
        w->Command4->click();
        QCOMPARE(f.texts(), QStringList{text(127) + "\r\n\r\n" + text(128) + "\r\n"
            "* The host address \"ftp://example org\" cannot be used. Please enter a host name or address, for example: "
            "ftp.example.org, 192.0.2.10, [2001:db8::10], ftp://ftp.example.org:2121, ftpes://ftp.example.org, "
            "ftps://ftp.example.org, sftp://ftp.example.org\r\n* " + text(125) + "\r\n"});
        QVERIFY(!QFile::exists(f.data.filePath("SLItems")));
    }

    // Setting A connects; server B's fields with an empty password and Set-default must
    // leave A whole; with the password typed, B is taken over whole.
    void aRefusedSettingChangesNothingAndAnAcceptedOneIsTakenWhole()
    {
        FtpTestServer a, b;
        QVERIFY2(a.start({"--log-lines"}), qPrintable(a.errorText()));
        QVERIFY2(b.start({"--log-lines"}), qPrintable(b.errorText()));
        WindowFixture f(WindowFixture::Start::Later);
        f.start(new FtpTransferControl);
        WindowFixture::useSetting("127.0.0.1", a.password(), a.user(), QString::number(a.port()), "A");
        f.window->Connect();
        QVERIFY(f.settle());
        QVERIFY(a.takeOutput().contains("CMD PASS secret\n"));

        f.window->Sett_Click();
        Form2 *w = existingSettingsWindow();
        typeSetting(w, "ftp://127.0.0.1", "", "user2", QString::number(b.port()), "B");
        w->Command6->click();
        QCOMPARE(f.texts(), QStringList{text(127) + "\r\n\r\n" + text(128) + "\r\n* " + text(123) + "\r\n"});
        QCOMPARE(CurrentSetting, (std::array<QString, 6>{"", "127.0.0.1", "secret", "user", QString::number(a.port()), "A"}));
        f.window->Connect();
        QVERIFY(f.settle());
        QCOMPARE(b.takeOutput(), QByteArray());

        typeSetting(w, "ftp://127.0.0.1", "second-secret", "user2", QString::number(b.port()), "B");
        f.boxes.clear();
        w->Command6->click();   // not in the list: asked to add it, and No
        QCOMPARE(f.texts(), (QStringList{text(120), text(121)}));
        f.window->Connect();
        QVERIFY(f.settle());
        const QByteArray log = b.takeOutput();
        QVERIFY2(log.contains("CMD USER user2\nCMD PASS second-secret\n"), log.constData());
        QVERIFY(!a.takeOutput().contains("second-secret"));
    }
};

QTEST_MAIN(HostTextTest)
#include "tst_host_text.moc"
