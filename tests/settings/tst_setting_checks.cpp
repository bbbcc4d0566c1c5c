// The host address rule and the naming of fields the files cannot keep.
#include "settings/setting_checks.h"
#include "app/strings/string_table.h"

#include <QtTest>

using namespace corvexo;

class SettingChecksTest : public QObject {
    Q_OBJECT
private slots:
    void hostPrefixes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("slot");
        QTest::newRow("ftp:// dropped") << "ftp://ftp.example.org" << true << "ftp.example.org";
        QTest::newRow("ftp:// with any name") << "ftp://server" << true << "server";
        QTest::newRow("ftp:// alone") << "ftp://" << true << "";
        QTest::newRow("ftp. kept whole") << "ftp.example.org" << true << "ftp.example.org";
        QTest::newRow("upper-case scheme") << "FTP://ftp.example.org" << false << "";
        QTest::newRow("upper-case name") << "Ftp.example.org" << false << "";
        QTest::newRow("no prefix") << "example.org" << false << "";
        QTest::newRow("leading blank") << " ftp.example.org" << false << "";
        QTest::newRow("empty") << "" << false << "";
    }
    void hostPrefixes()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(QString, slot);
        const std::optional<QString> host = hostForCurrentSetting(typed);
        QCOMPARE(host.has_value(), accepted);
        if (accepted) QCOMPARE(*host, slot);
    }

    void doubleQuotesNamed()
    {
        QCOMPARE(doubleQuoteLine({"ftp.a", "p", "u", "21", "n"}), QString());
        QCOMPARE(doubleQuoteLine({"ftp.\"a", "p\"", "u\r\nx", "21", "n"}),
                 QStringLiteral("* A double quote (\") or a line break cannot be saved. Please remove it from: "
                                "Host address, Password, User name.\r\n"));
    }
};

QTEST_GUILESS_MAIN(SettingChecksTest)
#include "tst_setting_checks.moc"
