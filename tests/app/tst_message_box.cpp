// The message box's text: long names are made breakable, so that a box
// never grows wider than the screen; what the box says stays the same.

#include "app/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTest>

using namespace corvexo;

class MessageBoxTest : public QObject {
    Q_OBJECT
private slots:
    void longRunsGetBreaks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("breaks");
        QTest::newRow("short words") << QStringLiteral("Cannot write the local file a.txt.") << 0;
        QTest::newRow("exactly the run") << QString(40, u'a') << 0;
        QTest::newRow("256-byte name") << QStringLiteral("Cannot read ") + QString(256, u'n') + QStringLiteral(": gone") << 6;
        QTest::newRow("beyond the basic plane") << QString::fromUtf8(QByteArray(30, 0).replace(QByteArray(1, 0), "\xF0\x9F\x93\x81")) << 1;
    }
    void longRunsGetBreaks()
    {
        QFETCH(QString, text);
        QFETCH(int, breaks);
        const QString shown = breakableText(text);
        QCOMPARE(shown.count(QChar(0x200B)), breaks);
        QCOMPARE(QString(shown).remove(QChar(0x200B)), text);
        for (qsizetype i = 1; i < shown.size(); ++i)
            QVERIFY(!(shown[i] == QChar(0x200B) && shown[i - 1].isHighSurrogate()));
    }

    void aBoxWithALongNameFitsTheScreen()
    {
        QMessageBox box(QMessageBox::NoIcon, kApplicationTitle,
                        breakableText(QStringLiteral("Cannot read ") + QString(256, u'n') + QStringLiteral(": gone")));
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QVERIFY(box.frameGeometry().width() <= QApplication::primaryScreen()->availableGeometry().width());
    }
};

QTEST_MAIN(MessageBoxTest)
#include "tst_message_box.moc"
