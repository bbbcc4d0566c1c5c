// The main window as a user meets it: what can be seen and clicked, the port
// field, removing and choosing settings, downloads that fail, progress, stop
// and the question before an overwrite.
#include "connection/tst_window_fixture.h"
#include "app/picture_box.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

class WindowFixesTest : public QObject {
    Q_OBJECT
private slots:
    void pathBoxAndCaptionsAreUncovered()
    {
        WindowFixture f;
        Form1 &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QWidget *client = w.centralWidget();
        const QRect box = w.Text1->geometry();
        for (const QPoint &point : {box.center(), QPoint(box.left() + 2, box.center().y())}) {
            QWidget *there = client->childAt(point);
            QVERIFY(there == w.Text1 || w.Text1->isAncestorOf(there));
        }
        for (QLabel *caption : {w.Label1, w.Label2}) {
            const QRect text = QFontMetrics(caption->font())
                                   .boundingRect(caption->contentsRect(), int(caption->alignment()), caption->text())
                                   .translated(caption->pos());
            QVERIFY2(text.bottom() < w.ListView1->y(), qPrintable(caption->text()));
            QVERIFY(caption->rect().contains(text.translated(-caption->pos())));
        }
        QVERIFY(!w.Label2->geometry().intersects(w.Text1->geometry()));
        QVERIFY(client->rect().contains(w.Picture1->geometry()));
    }
};

QTEST_MAIN(WindowFixesTest)
#include "tst_window_fixes.moc"
