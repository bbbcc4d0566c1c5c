// The toolbar's positions and tooltips, the status bar, and the main
// window's fixed layout on the real widgets.
#include "app/file_list_widget.h"
#include "app/main_window.h"
#include "app/picture_box.h"
#include "app/window_placements.h"
#include "local/folder_box.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"
#include "support/scripted_transfer_control.h"
#include "support/test_data_dir.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include <memory>

using namespace corvexo;

namespace {

struct ShownWindow {
    testing::TestDataDir data;
    testing::ScriptedTransferControl *inet = new testing::ScriptedTransferControl;
    std::unique_ptr<Form1> window = std::make_unique<Form1>(inet);
    ShownWindow()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    QWidget *button(int position) const { return window->Toolbar1->widgetForAction(window->toolbarButton(position)); }
};

QRect expectedOuterRect(const QWidget &window)
{
    const QRect screen = window.screen()->geometry();
    return QRect(screen.topLeft() + QPoint((screen.width() - 600) / 2, (screen.height() - 450) / 2), QSize(600, 450));
}

} // namespace

class ToolbarLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void placementsInTwips()
    {
        const WindowPlacements p = planWindowLayout(QSize(12000, 9000), QSize(0, 0));
        QCOMPARE(p.window, QRect(1500, 1125, 9000, 6750));
        QCOMPARE(p.statusBarHeight, 300);
        QCOMPARE(p.ListView1, QRect(0, 1800, 3500, 4000));
        QCOMPARE(p.ListView2, QRect(3500, 1800, 5480, 4000));
        QCOMPARE(p.Label1, QRect(3600, 1560, 975, 240));
        QCOMPARE(p.Label2, QRect(60, 1560, 780, 240));
        QCOMPARE(p.Dir1, QRect(1655, 480, 3135, 930));
        QCOMPARE(p.Text1, QRect(840, 1560, 2700, 255));
        QCOMPARE(p.Drive1, QRect(120, 480, 1455, 300));
        QCOMPARE(p.Combo1, QRect(120, 840, 1455, 300));
        QCOMPARE(p.Picture1, QRect(5965, 400, 2985, 1400));

        // The picture box stays inside the client area on a wide screen.
        const WindowPlacements framed = planWindowLayout(QSize(19200, 16200), QSize(240, 450));
        QCOMPARE(framed.window.topLeft(), QPoint(5100, 4725));
        QCOMPARE(framed.Picture1.left(), 9000 - 240 - 2985 - 50);
        QCOMPARE(framed.ListView1, p.ListView1);

        // A screen smaller than the window puts it past the screen's edges.
        QCOMPARE(planWindowLayout(QSize(6000, 4500), QSize()).window.topLeft(), QPoint(-1500, -1125));
        QCOMPARE(twipsToPixels(QRect(3500, 1800, 5480, 4000)), QRect(233, 120, 365, 267));
    }

    void windowPlacedWhenShown()
    {
        ShownWindow shown;
        Form1 &w = *shown.window;
        QCOMPARE(w.frameGeometry(), expectedOuterRect(w));
        QCOMPARE(w.ListView1->geometry(), QRect(0, 120, 233, 267));
        QCOMPARE(w.ListView2->geometry(), QRect(233, 120, 365, 267));
        QCOMPARE(w.Label1->geometry(), QRect(240, 104, 65, 16));
        QCOMPARE(w.Label2->geometry(), QRect(4, 104, 52, 16));
        QCOMPARE(w.Text1->geometry(), QRect(56, 104, 180, 17));
        QCOMPARE(w.Dir1->geometry(), QRect(110, 32, 209, 62));
        QCOMPARE(w.Drive1->geometry(), QRect(8, 32, 97, 20));
        QCOMPARE(w.Combo1->geometry(), QRect(8, 56, 97, 20));
        QCOMPARE(w.Picture1->size(), QSize(199, 93));
        QCOMPARE(w.Picture1->y(), 27);
        QCOMPARE(w.Picture1->x(), twipsToPixels(pixelsToTwips(w.width()) - 2985 - 50));

        // Toolbar along the top, status bar along the bottom, the picture box drawn over the toolbar.
        const QWidget *client = w.centralWidget();
        QCOMPARE(w.Toolbar1->geometry(), QRect(0, 0, client->width(), 30));
        QCOMPARE(w.StatusBar1->geometry(), QRect(0, client->height() - 20, client->width(), 20));
        QVERIFY(w.Picture1->geometry().intersects(w.Toolbar1->geometry()));
        const QObjectList stack = client->children();
        QVERIFY(stack.indexOf(w.Toolbar1) < stack.indexOf(w.Picture1));
        QCOMPARE(client->childAt(w.Picture1->geometry().topLeft() + QPoint(5, 1)), w.Picture1);
    }

    void sizeChangeSnapsBackAndMoveStays()
    {
        ShownWindow shown;
        Form1 &w = *shown.window;
        w.resize(700, 520);
        QTRY_COMPARE(w.frameGeometry(), expectedOuterRect(w));
        QCOMPARE(w.ListView2->geometry(), QRect(233, 120, 365, 267));

        w.move(10, 20);
        QTest::qWait(20);
        QCOMPARE(w.frameGeometry().topLeft(), QPoint(10, 20));
        QCOMPARE(w.frameGeometry().size(), QSize(600, 450));

        // The next change of size centres it again.
        w.resize(300, 200);
        QTRY_COMPARE(w.frameGeometry(), expectedOuterRect(w));
    }

    void minimisedWindowLeftAlone()
    {
        ShownWindow shown;
        Form1 &w = *shown.window;
        w.setWindowState(Qt::WindowMinimized);
        w.resize(640, 480);
        QTest::qWait(20);
        QCOMPARE(w.size(), QSize(640, 480));
        w.setWindowState(Qt::WindowNoState);
        QTRY_COMPARE(w.frameGeometry(), expectedOuterRect(w));
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void tooltipsComeWithTheFirstToolbarClick()
    {
        ShownWindow shown;
        Form1 &w = *shown.window;
        for (int position : {1, 2, 3, 5, 6, 7}) QVERIFY(w.toolbarButton(position)->toolTip().isEmpty());
        QCOMPARE(w.Picture1->toolTip(), QStringLiteral("Click me!"));
        QVERIFY(w.Text1->toolTip().isEmpty());

        // A click on a disabled button runs nothing, but assigns the tooltips.
        QSignalSpy stop(w.toolbarButton(2), &QAction::triggered);
        QTest::mouseClick(shown.button(2), Qt::LeftButton);
        QCOMPARE(stop.count(), 0);
        const QStringList expected = {QStringLiteral("Connect"), QStringLiteral("Stop"), QStringLiteral("Refresh"),
                                      QStringLiteral("Download"), QStringLiteral("Upload"),
                                      QStringLiteral("Connection setting")};
        QStringList tooltips;
        for (int position : {1, 2, 3, 5, 6, 7}) tooltips << w.toolbarButton(position)->toolTip();
        QCOMPARE(tooltips, expected);
        QCOMPARE(shown.button(6)->toolTip(), QStringLiteral("Upload"));
        QVERIFY(shown.inet->commands.isEmpty());

        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), w.Text1->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w.Text1, &move);
        QCOMPARE(w.Text1->toolTip(), QStringLiteral("Click Enter then navigate"));
    }

    void gapAndPositionsOutsideDoNothing()
    {
        ShownWindow shown;
        Form1 &w = *shown.window;
        QVERIFY(w.toolbarButton(4)->isSeparator());
        QCOMPARE(w.toolbarButtons.size(), 7);
        const QWidgetList before = QApplication::topLevelWidgets();
        for (int position : {4, 0, 8, -1}) w.Toolbar1_ButtonClick(position);
        QCOMPARE(QApplication::topLevelWidgets(), before);
        QVERIFY(shown.inet->commands.isEmpty());
        QVERIFY(shown.inet->properties.isEmpty());
        QVERIFY(w.statusText().isEmpty());
        QVERIFY(!existingSettingsWindow());
    }

    void button7OpensTheOneSettingsWindow()
    {
        ShownWindow shown;
        Form1 &w = *shown.window;
        QTest::mouseClick(shown.button(7), Qt::LeftButton);
        QPointer<Form2> first = existingSettingsWindow();
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QVERIFY(!first->isModal());
        QTest::mouseClick(shown.button(7), Qt::LeftButton);
        QCOMPARE(existingSettingsWindow(), first.data());
        QCOMPARE(w.findChildren<Form2 *>().size(), 1);
    }

    void statusBarShowsOneText()
    {
        ShownWindow shown;
        Form1 &w = *shown.window;
        QVERIFY(w.statusText().isEmpty());
        w.setStatusText(QStringLiteral("Connection is stopped."));
        w.setStatusText(QStringLiteral("Time out."));
        QCOMPARE(w.statusText(), QStringLiteral("Time out."));
        QCOMPARE(w.statusLabel->text(), QStringLiteral("Time out."));
        QVERIFY(w.StatusBar1->currentMessage().isEmpty());
    }
};

QTEST_MAIN(ToolbarLayoutTest)
#include "tst_toolbar_layout.moc"
