// Which Edit commands are offered, reached the way a user reaches them: the
// lists' entries clicked and focused, the Edit menu opened from the menu bar
// or as a pop-up. Patterns list UpL DownL CupD Refr FrDRname FMkD Fdelete
// button5 button6 as 1 (enabled) or 0.

#include "tst_edit_fixture.h"

#include <QMenu>
#include <QMenuBar>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

namespace {

void showWindow(EditWindow &w)
{
    w.window->show();
    w.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
}

// Clicks the Edit menu's title in the menu bar, then closes the menu again.
void openEditMenuFromMenuBar(EditWindow &w)
{
    QMenuBar *bar = w.window->menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(w.window->edit->menuAction()).center());
    QTRY_VERIFY(w.window->edit->isVisible());
    w.window->edit->hide();
}

} // namespace

class EditAvailabilityTest : public QObject {
    Q_OBJECT
private slots:
    void switchingAllOffAndOn()
    {
        EditWindow w;
        w.window->eddiF();
        QCOMPARE(w.availability(), QStringLiteral("000000000"));
        w.window->eddiT();
        QCOMPARE(w.availability(), QStringLiteral("111111111"));
        // The settings item and the other buttons are not ours to switch.
        w.window->eddiF();
        QVERIFY(w.window->Sett->isEnabled());
        QVERIFY(w.window->toolbarButton(1)->isEnabled());
    }

    void menuBarOpeningFitsTheRemoteEntry_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("expected");
        QTest::newRow("file") << "a.txt" << "011110110";
        QTest::newRow("folder") << "pub/" << "001110100";
        QTest::newRow("parent") << "../" << "001100000";
        QTest::newRow("self") << "./" << "001100000";
    }
    void menuBarOpeningFitsTheRemoteEntry()
    {
        QFETCH(QString, entry);
        QFETCH(QString, expected);
        EditWindow w;
        showWindow(w);
        w.connectedWith({"./", "../", "pub/", "a.txt"}, {"local.txt"});
        w.window->eddiF();
        w.selectRemote(entry);
        openEditMenuFromMenuBar(w);
        QCOMPARE(w.availability(), expected);
    }

    void menuBarOpeningKeepsStateWithoutARemoteSelection()
    {
        EditWindow w;
        showWindow(w);
        w.connectedWith({"../", "a.txt"});
        w.window->eddiF();
        w.window->UpL->setEnabled(true);
        w.window->toolbarButton(6)->setEnabled(true);
        openEditMenuFromMenuBar(w);
        QCOMPARE(w.availability(), QStringLiteral("100000001"));
        // An empty but enabled remote list leaves the commands as they were too.
        EditWindow::fill(w.window->ListView2, {});
        openEditMenuFromMenuBar(w);
        QCOMPARE(w.availability(), QStringLiteral("100000001"));
    }

    void whileDisconnectedEverythingIsOff()
    {
        EditWindow w;
        showWindow(w);
        EditWindow::fill(w.window->ListView2, {"a.txt"});
        w.window->ListView2->setEnabled(true);
        w.selectRemote("a.txt");
        w.window->eddiT();
        openEditMenuFromMenuBar(w);
        QCOMPARE(w.availability(), QStringLiteral("000000000"));
        w.window->eddiT();
        w.window->LPopup = true;
        w.window->edit_Click();
        QCOMPARE(w.availability(), QStringLiteral("000000000"));
    }

    void popupFromTheLocalListRunsTheLocalRoutine()
    {
        EditWindow w;
        showWindow(w);
        w.connectedWith({"a.txt"}, {"local.txt"});
        w.selectRemote("a.txt");
        w.window->ListView1->setCurrentItem(w.window->ListView1->item(0));
        w.window->ListView1->item(0)->setSelected(true);
        w.window->LPopup = true;
        w.window->edit->popup(w.window->mapToGlobal(QPoint(20, 20)));
        QTRY_VERIFY(w.window->edit->isVisible());
        w.window->edit->hide();
        QCOMPARE(w.availability(), QStringLiteral("100000001"));
        QVERIFY(!w.window->LPopup);
    }

    void localRoutineInsideAndOutsideTheMouseHandler()
    {
        EditWindow w;
        w.connectedWith({"a.txt"}, {"local.txt"});
        w.window->eddiT();
        w.window->LMouseDown = true;
        w.window->EdDI1();
        QCOMPARE(w.availability(), QStringLiteral("000000000"));
        w.window->LMouseDown = false;
        w.window->EdDI1();
        QCOMPARE(w.availability(), QStringLiteral("001101000"));
        // An empty local list changes nothing, but the pop-up mark still goes.
        EditWindow::fill(w.window->ListView1, {});
        w.window->eddiT();
        w.window->LPopup = true;
        w.window->EdDI1();
        QCOMPARE(w.availability(), QStringLiteral("111111111"));
        QVERIFY(!w.window->LPopup);
    }

    void aDisabledRemoteListChangesNothing()
    {
        EditWindow w;
        w.connectedWith({"a.txt"});
        w.selectRemote("a.txt");
        w.window->eddiF();
        w.window->ListView2->setEnabled(false);
        w.window->EdDI2();
        QCOMPARE(w.availability(), QStringLiteral("000000000"));
    }
};

QTEST_MAIN(EditAvailabilityTest)
#include "tst_edit_availability.moc"
