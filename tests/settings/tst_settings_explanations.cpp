// The explanation panel: focus and pointer movement explain a control, losing
// the focus empties the panel.
#include "settings_test_helpers.h"
#include "app/strings/string_table.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

namespace {

// Notes what the panel shows at the moment a control gets the focus, before
// the window's own handler runs.
class PanelAtFocusIn : public QObject {
public:
    PanelAtFocusIn(QLabel *panel, QWidget *control) : panel_(panel) { control->installEventFilter(this); }
    QStringList seen;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) seen.append(panel_->text());
        return false;
    }

private:
    QLabel *panel_;
};

void movePointerOver(QWidget *control)
{
    const QPoint local = control->rect().center();
    QMouseEvent move(QEvent::MouseMove, local, control->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(control, &move);
}

} // namespace

class SettingsExplanationsTest : public QObject {
    Q_OBJECT
    SettingsFixture f;
    Form2 *w = nullptr;

private slots:
    void init()
    {
        f.start();
        f.dir->write("SLItems", "\"ftp.a.org\",\"pa\",\"ua\",\"21\",\"A\"\r\n");
        w = f.open();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    void cleanup() { f.stop(); }

    void tabbingBetweenFields()
    {
        w->Text5->setFocus();
        QCOMPARE(w->Label7->text(), text(115));
        PanelAtFocusIn atText1(w->Label7, w->Text1);
        QTest::keyClick(w->Text5, Qt::Key_Tab);
        QCOMPARE(atText1.seen, QStringList{QString()});  // emptied when Text5 lost the focus
        QCOMPARE(w->Label7->text(), text(111));
        QTest::keyClick(w->Text1, Qt::Key_Tab);
        QCOMPARE(w->Label7->text(), QStringLiteral("Enter the port address.  The general port address is 21."));
    }

    void everyControlExplainsItselfOnFocus()
    {
        const std::pair<QWidget *, int> table[] = {
            {w->Text5, 115}, {w->Text1, 111}, {w->MaskEdBox1, 112}, {w->Text3, 113}, {w->Text4, 114},
            {w->Command6, 106}, {w->Command1, 101}, {w->Command4, 104}, {w->Command3, 103},
            {w->Command5, 105}, {w->List1, 110}, {w->Text6, 116}};
        for (const auto &[control, number] : table) {
            control->setFocus();
            QCOMPARE(w->Label7->text(), text(number));
        }
        w->Text5->setFocus();
        QCOMPARE(w->Label7->text(), text(115));
    }

    void pointerOverAButtonWhileAFieldHasTheFocus()
    {
        w->Text3->setFocus();
        QCOMPARE(w->Label7->text(), text(113));
        movePointerOver(w->Command4);
        QCOMPARE(w->Label7->text(), text(104));
        movePointerOver(w);  // the window's background explains nothing
        QCOMPARE(w->Label7->text(), text(104));
        movePointerOver(w->Label3);
        QCOMPARE(w->Label7->text(), text(104));
        movePointerOver(w->MaskEdBox1);  // the port field explains itself on focus only
        QCOMPARE(w->Label7->text(), text(104));
        movePointerOver(w->List1->viewport());
        QCOMPARE(w->Label7->text(), text(110));
        movePointerOver(w->Text6);
        QCOMPARE(w->Label7->text(), text(116));
        QCOMPARE(w->List1->currentRow(), 0);  // only the focus of Text6 selects an item
        // The field's text comes back only when it gets the focus again.
        w->Text4->setFocus();
        w->Text3->setFocus();
        QCOMPARE(w->Label7->text(), text(113));
    }
};

QTEST_MAIN(SettingsExplanationsTest)
#include "tst_settings_explanations.moc"
