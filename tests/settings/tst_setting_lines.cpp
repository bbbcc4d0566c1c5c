// The field reader and the two line forms of "Sfile" and "SLItems".
#include "settings/setting_lines.h"

#include <QtTest>

using namespace corvexo;

namespace {
QStringList five(const char *a, const char *b, const char *c, const char *d, const char *e)
{
    return {QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(c), QString::fromUtf8(d),
            QString::fromUtf8(e)};
}
} // namespace

class SettingLinesTest : public QObject {
    Q_OBJECT
private slots:
    void bothLineFormsByteForByte()
    {
        const QStringList fields = five("ftp://ftp.example.org", "pw", "anonymous", "21", "Home");
        QCOMPARE(quotedLine(fields), QStringLiteral("\"ftp://ftp.example.org\",\"pw\",\"anonymous\",\"21\",\"Home\"\r\n"));
        QCOMPARE(plainLine(fields), QStringLiteral("ftp://ftp.example.org,pw,anonymous,21,Home\r\n"));
        QCOMPARE(quotedLine(five("", "", "", "", "")), QStringLiteral("\"\",\"\",\"\",\"\",\"\"\r\n"));
        QCOMPARE(quotedLine(five("", "", "", "", "")).size(), 14 + 2);
    }

    void readerReadsBothForms_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("quoted") << "\"ftp.a\",\"p\",\"u\",\"21\",\"A\"" << five("ftp.a", "p", "u", "21", "A");
        QTest::newRow("plain") << "ftp.a,p,u,21,A" << five("ftp.a", "p", "u", "21", "A");
        QTest::newRow("comma kept in quotes") << "\"ftp.a\",\"p,q\",\"u\",\"21\",\"A\"" << five("ftp.a", "p,q", "u", "21", "A");
        QTest::newRow("comma splits plain") << "ftp.a,p,q,u,21,A" << QStringList{"ftp.a", "p", "q", "u", "21", "A"};
        QTest::newRow("leading blanks skipped in plain") << "  ftp.a, p,u,21,  A" << five("ftp.a", "p", "u", "21", "A");
        QTest::newRow("blanks kept inside quotes") << " \" ftp.a\",\" p \",\"u\",\"21\",\"A \"" << five(" ftp.a", " p ", "u", "21", "A ");
        QTest::newRow("trailing blanks kept in plain") << "ftp.a ,p,u,21,A" << five("ftp.a ", "p", "u", "21", "A");
        QTest::newRow("empty fields") << ",,,," << five("", "", "", "", "");
        QTest::newRow("empty quoted fields") << "\"\",\"\",\"\",\"\",\"\"" << five("", "", "", "", "");
        QTest::newRow("mixed") << "\"ftp://h\",p,\"u\",21,\"N\"" << five("ftp://h", "p", "u", "21", "N");
        QTest::newRow("text after closing quote ignored") << "\"a\"x,\"b\",c,d,e" << five("a", "b", "c", "d", "e");
        QTest::newRow("unclosed quote runs to line end") << "a,b,c,d,\"e,f" << five("a", "b", "c", "d", "e,f");
        QTest::newRow("short line") << "a,b,c" << QStringList{"a", "b", "c"};
        QTest::newRow("empty line") << "" << QStringList{""};
    }
    void readerReadsBothForms()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        QCOMPARE(readLineFields(line), fields);
    }

    void linesEndAtCrLfLfOrCr()
    {
        QCOMPARE(splitLines(QStringLiteral("a\r\nb\nc\rd")), (QStringList{"a", "b", "c", "d"}));
        QCOMPARE(splitLines(QStringLiteral("a\r\n")), QStringList{"a"});
        QCOMPARE(splitLines(QStringLiteral("a\r\n\r\nb")), (QStringList{"a", "", "b"}));
        QVERIFY(splitLines(QString()).isEmpty());
    }

    void faithfulLineKeepsEveryValueOrRefuses()
    {
        // Values with commas and leading blanks need the quoted form.
        QCOMPARE(faithfulLine(five(" ftp.a", "p,q", "u", "21", "A")),
                 std::optional<QString>(QStringLiteral("\" ftp.a\",\"p,q\",\"u\",\"21\",\"A\"\r\n")));
        // A double quote inside a value (from an older plain line) survives only in the plain form.
        QCOMPARE(faithfulLine(five("ftp.a", "p\"q", "u", "21", "A")),
                 std::optional<QString>(QStringLiteral("ftp.a,p\"q,u,21,A\r\n")));
        // A double quote together with a comma, or a leading quote, cannot be kept in either form.
        QCOMPARE(faithfulLine(five("ftp.a", "p\"q,r", "u", "21", "A")), std::nullopt);
        QCOMPARE(faithfulLine(five("ftp.a", "\"p", "u", "21", "A")), std::nullopt);
        QCOMPARE(faithfulLine(five("ftp.a", "p\r\nq", "u", "21", "A")), std::nullopt);
    }

    void fileReaderCountsRecordsAndFaults()
    {
        const QByteArray bytes = "\"ftp.a\",\"p\",\"u\",\"21\",\"A\"\r\n"
                                 "\r\n"
                                 "ftp.b,p,u,21\r\n"
                                 "ftp.c,p,u,21,C\r\n"
                                 "ftp.d,p,u,21,D,extra\r\n";
        const SettingsFileContent content = readSettingsFile(bytes, 101);
        QCOMPARE(content.records.size(), 2);
        QCOMPARE(content.records.at(1).SettingName, QStringLiteral("C"));
        QCOMPARE(content.badLines, (QVector<int>{3, 5}));
        QVERIFY(!content.intact());

        QByteArray many;
        for (int i = 0; i < 103; ++i) many += "ftp.h,p,u,21,N" + QByteArray::number(i) + "\r\n";
        const SettingsFileContent limited = readSettingsFile(many, 101);
        QCOMPARE(limited.records.size(), 101);
        QCOMPARE(limited.recordsBeyondLimit, 2);
        QVERIFY(!limited.intact());
        QVERIFY(readSettingsFile(QByteArray(), 101).intact());
        QVERIFY(readSettingsFile(QByteArray(), 101).records.isEmpty());
    }

    void defaultIsTheFirstLine()
    {
        QCOMPARE(readDefaultSetting("\r\n\"ftp.a\",\"p\",\"u\",\"21\",\"A\"\r\nx,y\r\n")->SettingName, QStringLiteral("A"));
        QVERIFY(!readDefaultSetting("\"ftp.a\",\"p\"\r\n"));
        QVERIFY(!readDefaultSetting(QByteArray()));
        QCOMPARE(readDefaultSetting("\"\",\"\",\"\",\"\",\"\"\r\n")->HostAddress, QString());
        QCOMPARE(readDefaultSetting("\"ftp.\xe3\x81\x82\",\"p\",\"u\",\"21\",\"A\"")->HostAddress,
                 QString::fromUtf8("ftp.\xe3\x81\x82"));
    }
};

QTEST_GUILESS_MAIN(SettingLinesTest)
#include "tst_setting_lines.moc"
