// A message box with a long name stays within the screen, and says the same.

#include "app/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTest>

using namespace corvexo;

class MessageBoxTest : public QObject {
    Q_OBJECT
private slots:
    void aLongNameWrapsWithinTheScreen()
    {
        // A name of 256 bytes, and one of characters beyond the basic plane.
        const QString text = "Cannot read " + QString(256, u'n') + ": gone " + QString::fromUtf8(QByteArray(120, 'x').replace("xxxx", "\xF0\x9F\x93\x81"));
        const QString shown = breakableText(text);
        QCOMPARE(QString(shown).remove(QChar(0x200B)), text);
        QVERIFY(!shown.contains(QString(QChar(0xD83D)) + QChar(0x200B)));
        QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, shown);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QVERIFY(box.frameGeometry().width() <= QApplication::primaryScreen()->availableGeometry().width());
    }
};

QTEST_MAIN(MessageBoxTest)
#include "tst_message_box.moc"
