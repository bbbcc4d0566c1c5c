#include "app/strings/string_table.h"

#include <QtTest>

using namespace corvexo;

class StringTableTest : public QObject {
    Q_OBJECT
private slots:
    void everyNumberHasBothTexts()
    {
        for (int n = 101; n <= 213; ++n) {
            for (UiLanguage lang : {UiLanguage::English, UiLanguage::Japanese}) {
                const QString t = textIn(lang, n);
                if (n == 102) {
                    QVERIFY2(t.isEmpty(), "102 is not used");
                    continue;
                }
                QVERIFY2(!t.isEmpty(), qPrintable(QString::number(n)));
                QVERIFY(!t.contains(u'\r') && !t.contains(u'\n') && !t.contains(u'\t'));
            }
        }
        QVERIFY(textIn(UiLanguage::English, 100).isEmpty());
        QVERIFY(textIn(UiLanguage::English, 214).isEmpty());
    }

    void oddBlanksAndTyposStand()
    {
        QCOMPARE(textIn(UiLanguage::English, 112), QStringLiteral("Enter the port address.  The general port address is 21."));
        QCOMPARE(textIn(UiLanguage::Japanese, 134), QStringLiteral(" との接続を開始します。"));
        QCOMPARE(textIn(UiLanguage::English, 134), QStringLiteral("Start the connecttion"));
        QCOMPARE(textIn(UiLanguage::Japanese, 104), QStringLiteral("リスト に追加します。"));
    }

    void oneExampleHostEverywhere()
    {
        const QString host = QStringLiteral("ftp.example.org");
        QCOMPARE(textIn(UiLanguage::English, 111), QStringLiteral("Enter the host adderss. (E.g. ") + host + u')');
        QVERIFY(textIn(UiLanguage::Japanese, 111).endsWith(QStringLiteral("(例．") + host + u')'));
        QVERIFY(textIn(UiLanguage::English, 122).endsWith(QStringLiteral("of example: ") + host));
        QVERIFY(textIn(UiLanguage::Japanese, 122).endsWith(QStringLiteral("正しい例： ") + host));
    }

    void languageFollowsTheLocale()
    {
        // ctest runs this with LANG=C.UTF-8.
        QCOMPARE(uiLanguage(), UiLanguage::English);
        QCOMPARE(text(190), QStringLiteral("Connection(&C)"));
    }
};

QTEST_GUILESS_MAIN(StringTableTest)
#include "tst_string_table.moc"
