// The name dialog: its controls and places, its two uses told apart by the
// prompt, OK and Enter, Cancel and Escape, and that it never keeps a name.

#include "tst_edit_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

class NameDialogTest : public QObject {
    Q_OBJECT
private slots:
    void controlsAndPlaces()
    {
        EditWindow w;
        w.window->FrDRname_Click();
        Form3 *d = w.dialog();
        QVERIFY(d);
        QCOMPARE(d->size(), QSize(295, 62));
        QCOMPARE(d->Label1->geometry(), QRect(8, 8, 209, 25));
        QCOMPARE(d->Text1->geometry(), QRect(8, 32, 209, 25));
        QCOMPARE(d->Command1->geometry(), QRect(224, 32, 65, 25));
        QCOMPARE(d->Command2->geometry(), QRect(224, 8, 65, 25));
        QCOMPARE(d->Command1->text(), QStringLiteral("OK"));
        QCOMPARE(d->Command2->text(), QStringLiteral("Cancel"));
        QCOMPARE(d->Text1->nextInFocusChain(), d->Command1);
        QCOMPARE(d->Command1->nextInFocusChain(), d->Command2);
    }

    void eachOpenerSetsCaptionAndPrompt()
    {
        EditWindow w;
        w.window->FrDRname_Click();
        QCOMPARE(w.dialog()->windowTitle(), QStringLiteral("Change name"));
        QCOMPARE(w.dialog()->Label1->text(), QStringLiteral("New name:"));
        QVERIFY(w.dialog()->isVisible());
        QVERIFY(!w.dialog()->isModal());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);

        // The same window turns into the folder dialog, its text emptied.
        Form3 *first = w.dialog();
        QTest::keyClicks(first->Text1, "half typed");
        w.window->FMkD_Click();
        QCOMPARE(w.dialog(), first);
        QCOMPARE(first->windowTitle(), QStringLiteral("Create a new directory"));
        QCOMPARE(first->Label1->text(), QStringLiteral("New directory name:"));
        QCOMPARE(first->Text1->text(), QString());
    }

    void reopenedEmptyEachTime()
    {
        EditWindow w;
        w.window->FrDRname_Click();
        QTest::keyClicks(w.dialog()->Text1, "typed");
        QTest::mouseClick(w.dialog()->Command2, Qt::LeftButton);
        QVERIFY(!w.dialog()->isVisible());
        w.window->FrDRname_Click();
        QVERIFY(w.dialog()->isVisible());
        QCOMPARE(w.dialog()->Text1->text(), QString());
        QVERIFY(w.inet->commands.isEmpty());
    }

    void thePromptDecidesTheUse()
    {
        EditWindow w;
        w.connectedWith({"a.txt"});
        w.selectRemote("a.txt");
        // Opened as the folder dialog, but with the rename prompt: OK renames.
        w.window->FMkD_Click();
        w.dialog()->Label1->setText(QStringLiteral("New name:"));
        QTest::keyClicks(w.dialog()->Text1, "b.txt");
        QTest::mouseClick(w.dialog()->Command1, Qt::LeftButton);
        // Opened as the rename dialog with any other prompt: OK creates a folder.
        w.window->FrDRname_Click();
        w.dialog()->Label1->setText(QStringLiteral("something else"));
        QTest::keyClicks(w.dialog()->Text1, "c");
        QTest::mouseClick(w.dialog()->Command1, Qt::LeftButton);
        QCOMPARE(w.inet->commands, (QStringList{"RENAME a.txt b.txt", "mkdir c"}));
    }

    void enterIsOkAndSendsOnce()
    {
        EditWindow w;
        w.connectedWith({"a.txt"});
        w.window->FMkD_Click();
        QTest::keyClicks(w.dialog()->Text1, "new");
        QTest::keyClick(w.dialog()->Text1, Qt::Key_Return);
        QCOMPARE(w.inet->commands, QStringList{"mkdir new"});
        QVERIFY(!w.dialog()->isVisible());
    }

    void emptyNameKeepsItOpenUntilCancelOrEscape()
    {
        EditWindow w;
        w.connectedWith({"a.txt"});
        w.window->FMkD_Click();
        QTest::keyClick(w.dialog()->Text1, Qt::Key_Return);
        QVERIFY(w.dialog()->isVisible());
        QTest::mouseClick(w.dialog()->Command1, Qt::LeftButton);
        QVERIFY(w.dialog()->isVisible());
        QTest::keyClick(w.dialog()->Text1, Qt::Key_Escape);
        QVERIFY(!w.dialog()->isVisible());
        QVERIFY(w.inet->commands.isEmpty());
        QVERIFY(w.messages.isEmpty());
    }

    void escapeSendsNothing()
    {
        EditWindow w;
        w.connectedWith({"a.txt"});
        w.selectRemote("a.txt");
        w.window->FrDRname_Click();
        QTest::keyClicks(w.dialog()->Text1, "b.txt");
        QTest::keyClick(w.dialog(), Qt::Key_Escape);
        QVERIFY(!w.dialog()->isVisible());
        QVERIFY(w.inet->commands.isEmpty());
    }
};

QTEST_MAIN(NameDialogTest)
#include "tst_name_dialog.moc"
