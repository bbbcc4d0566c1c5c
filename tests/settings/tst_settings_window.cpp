// The settings window itself: its controls, its fixed place, its keys and its lifetime.
#include "settings_test_helpers.h"
#include "app/strings/string_table.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

namespace {
const QByteArray kTwoSettings = "\"ftp.a.org\",\"pa\",\"ua\",\"21\",\"A\"\r\n\"ftp.b.org\",\"pb\",\"ub\",\"2\",\"B\"\r\n";
const QByteArray kDefaultB = "\"ftp.b.org\",\"pb\",\"ub\",\"2\",\"B\"\r\n";

QRect twips(int l, int t, int w, int h) { return {l / 15, t / 15, w / 15, h / 15}; }

void pressKey(QWidget *target, Qt::Key key) { QTest::keyClick(target, key); }
} // namespace

class SettingsWindowTest : public QObject {
    Q_OBJECT
    SettingsFixture f;

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void everyControlAtItsPlaceWithItsCaption()
    {
        Form2 *w = f.open();
        QCOMPARE(w->windowTitle(), QStringLiteral("Connection setting"));
        QCOMPARE(w->size(), QSize(489, 264));
        const std::pair<QWidget *, QRect> places[] = {
            {w->Label6, twips(120, 120, 975, 495)},     {w->Text5, twips(1320, 120, 2895, 375)},
            {w->Label1, twips(120, 600, 975, 495)},     {w->Text1, twips(1320, 600, 2895, 375)},
            {w->Label3, twips(120, 1080, 1455, 375)},   {w->MaskEdBox1, twips(1320, 1080, 735, 375)},
            {w->Label4, twips(120, 1560, 1455, 375)},   {w->Text3, twips(1320, 1560, 2895, 375)},
            {w->Label5, twips(120, 2040, 1335, 375)},   {w->Text4, twips(1320, 2040, 2895, 375)},
            {w->Command6, twips(480, 2520, 3735, 375)}, {w->Label8, twips(120, 3000, 3135, 255)},
            {w->Text6, twips(3120, 3000, 4095, 270)},   {w->Command5, twips(120, 3480, 975, 375)},
            {w->Command3, twips(1200, 3480, 1335, 375)}, {w->Command4, twips(2640, 3480, 1215, 375)},
            {w->Command1, twips(6000, 3480, 1215, 375)}, {w->Label2, twips(4440, 120, 2895, 495)},
            {w->List1, twips(4440, 360, 2775, 960)},    {w->Frame1, twips(4440, 1440, 2775, 1455)},
            {w->Label7, twips(120, 240, 2535, 1095)}};
        for (const auto &[control, rect] : places) QCOMPARE(control->geometry(), rect);
        QCOMPARE(w->Label7->parentWidget(), w->Frame1);

        QCOMPARE(w->Label1->text(), QStringLiteral("Host\r\naddress:"));
        const std::pair<QString, int> captions[] = {
            {w->Label6->text(), 177}, {w->Label3->text(), 178}, {w->Label4->text(), 179}, {w->Label5->text(), 180},
            {w->Label2->text(), 181}, {w->Label8->text(), 182}, {w->Command6->text(), 183},
            {w->Command5->text(), 184}, {w->Command3->text(), 185}, {w->Command4->text(), 186},
            {w->Frame1->title(), 187}};
        for (const auto &[caption, number] : captions) QCOMPARE(caption, text(number));
        QCOMPARE(w->Command1->text(), QStringLiteral("OK(&O)"));
        QCOMPARE(w->Label7->text(), QString());
        QVERIFY(w->Text6->isReadOnly());
        QCOMPARE(w->Text6->palette().color(QPalette::Base), QColor(64, 64, 64));
        QCOMPARE(w->Text6->palette().color(QPalette::Text), QColor(255, 255, 192));
    }

    void portFieldAndPasswordField()
    {
        Form2 *w = f.open();
        QCOMPARE(w->portValue(), QString());
        w->MaskEdBox1->setFocus();
        w->MaskEdBox1->home(false);
        QTest::keyClicks(w->MaskEdBox1, "2x13465");  // digits only, five at most
        QCOMPARE(w->portValue(), QStringLiteral("21346"));

        QTest::keyClicks(w->Text4, "secret");
        QCOMPARE(w->Text4->text(), QStringLiteral("secret"));
        QCOMPARE(w->Text4->displayText(), QStringLiteral("******"));
    }

    void resizeSnapsBack()
    {
        Form2 *w = f.open();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const QPoint place = w->screen()->geometry().topLeft() + QPoint(183, 162);
        QCOMPARE(w->pos(), place);
        w->resize(700, 500);
        QCOMPARE(w->size(), QSize(489, 264));
        w->resize(300, 100);
        QCOMPARE(w->size(), QSize(489, 264));
        // Moved away and shown again: back at its place.
        w->move(10, 10);
        w->hide();
        f.open();
        QCOMPARE(w->pos(), place);
        QCOMPARE(w->size(), QSize(489, 264));
    }

    void oneWindowThatOkHidesAndEscDestroys()
    {
        f.dir->write("SLItems", kTwoSettings);
        f.dir->write("Sfile", kDefaultB);
        Form1 *form1 = f.startMainWindow();
        // Start-up with a default on file: the window is loaded hidden and fills the setting box.
        Form2 *hidden = existingSettingsWindow();
        QVERIFY(hidden && !hidden->isVisible());
        QCOMPARE(itemTexts(form1->Combo1), (QStringList{"A", "B"}));
        QCOMPARE(hidden->Text6->text(), QStringLiteral("B"));
        QCOMPARE(CurrentSetting[1], QStringLiteral("ftp.b.org"));

        Form2 *w = f.open();
        QCOMPARE(w, hidden);
        QVERIFY(w->isVisible());
        QCOMPARE(f.open(), w);
        QCOMPARE(form1->findChildren<Form2 *>().size(), 1);
        QVERIFY(!w->isModal());

        // OK hides the window and keeps its contents.
        typeSetting(w, "ftp.b.org", "pb", "ub", "2", "B");
        w->Command1->click();
        QVERIFY(!w->isVisible());
        QCOMPARE(f.open(), w);
        QCOMPARE(w->Text6->text(), QStringLiteral("B"));

        // Esc anywhere but on OK does nothing; on OK it destroys the window.
        pressKey(w->Text5, Qt::Key_Escape);
        QVERIFY(w->isVisible());
        QPointer<Form2> old = w;
        w->Command1->setFocus();
        pressKey(w->Command1, Qt::Key_Escape);
        QVERIFY(!existingSettingsWindow());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!old);
        QVERIFY(f.boxes->seen.isEmpty());

        // The next opening starts afresh: no default name although "Sfile" still holds it.
        w = f.open();
        QVERIFY(w->isVisible());
        QCOMPARE(w->Text6->text(), QString());
        QCOMPARE(f.dir->read("Sfile"), kDefaultB);
        QCOMPARE(itemTexts(w->List1), (QStringList{"A", "B"}));
        QCOMPARE(fieldsShown(w), (QStringList{"ftp.a.org", "pa", "ua", "21", "A"}));

        // Closing by the title bar destroys it too.
        old = w;
        w->close();
        QVERIFY(!existingSettingsWindow());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!old);
        QVERIFY(f.open());
    }

    void enterMovesThroughTheFieldsToOk()
    {
        f.dir->write("SLItems", kTwoSettings);
        Form2 *w = f.open();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->Text5->setFocus();
        typeSetting(w, "ftp.b.org", "pb", "ub", "2", "B");
        QWidget *const path[] = {w->Text1, w->MaskEdBox1, w->Text3, w->Text4, w->Command1};
        for (QWidget *next : path) {
            pressKey(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QVERIFY(w->isVisible());
        pressKey(w->Command1, Qt::Key_Return);  // the sixth Enter presses OK
        QVERIFY(!w->isVisible());
        QCOMPARE(CurrentSetting[3], QStringLiteral("ub"));
        // No default yet: question 132 comes, then 133 after No; the name was in the list.
        QCOMPARE(f.boxes->texts(), (QStringList{text(132), text(133)}));
    }

    void tabOrderFollowsTheFields()
    {
        f.dir->write("SLItems", kTwoSettings);  // so that Remove and Initialize take part
        Form2 *w = f.open();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QWidget *const order[] = {w->Text5, w->Text1, w->MaskEdBox1, w->Text3, w->Text4, w->Command6,
                                  w->Command1, w->Command4, w->Command3, w->Command5, w->List1, w->Text6};
        w->Text5->setFocus();
        for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
            pressKey(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), order[i + 1]);
        }
    }

    void defaultNameFocusSelectsItsItem()
    {
        f.dir->write("SLItems", kTwoSettings);
        f.dir->write("Sfile", kDefaultB);
        f.startMainWindow();
        Form2 *w = f.open();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(w->List1->currentRow(), 0);
        w->Text6->setFocus();
        QCOMPARE(w->List1->currentRow(), 1);
        QCOMPARE(fieldsShown(w), (QStringList{"ftp.b.org", "pb", "ub", "2", "B"}));
        QCOMPARE(w->Label7->text(), text(116));

        // A default name that names no item leaves the selection as it was.
        w->Text5->setFocus();
        w->List1->setCurrentRow(0);
        w->Text6->setText("Gone");
        w->Text6->setFocus();
        QCOMPARE(w->List1->currentRow(), 0);
        QCOMPARE(w->Text5->text(), QStringLiteral("A"));
    }
};

QTEST_MAIN(SettingsWindowTest)
#include "tst_settings_window.moc"
