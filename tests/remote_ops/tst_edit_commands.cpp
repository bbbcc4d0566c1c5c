// Rename, folder creation and deletion from the window: the command texts,
// the marks, the refusals and their messages, on a scripted control.

#include "tst_edit_fixture.h"

#include <QPushButton>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

class EditCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void deleteSendsByKindWithoutAsking_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("command");
        QTest::newRow("file") << "a.txt" << "delete a.txt";
        QTest::newRow("folder") << "pub/" << "rmdir pub/";
        QTest::newRow("blanks") << "my file.txt" << "delete my file.txt";
    }
    void deleteSendsByKindWithoutAsking()
    {
        QFETCH(QString, entry);
        QFETCH(QString, command);
        EditWindow w;
        w.connectedWith({"../", "pub/", "a.txt", "my file.txt", ""});
        w.selectRemote(entry);
        w.window->Fdelete_Click();
        QCOMPARE(w.inet->commands, QStringList{command});
        QCOMPARE(w.inet->sent.first().operands, QStringList{entry});
        QVERIFY(w.messages.isEmpty());
        QVERIFY(w.window->DelWait && w.window->DelList);
    }

    void deleteRefusals_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QString>("message");
        QTest::newRow("parent") << QStringList{"../", "a.txt"} << "../" << false << "Your selecting item cannot be deleting.";
        QTest::newRow("self") << QStringList{"./", "a.txt"} << "./" << false << "Your selecting item cannot be deleting.";
        QTest::newRow("empty entry") << QStringList{"a.txt", ""} << "" << false << "You have tried deleting item is not being selected.";
        QTest::newRow("empty list") << QStringList{} << QString() << false << "You have tried deleting item is not being selected.";
        QTest::newRow("busy") << QStringList{"a.txt"} << "a.txt" << true << "The last demand is being executed.";
    }
    void deleteRefusals()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, current);
        QFETCH(bool, busy);
        QFETCH(QString, message);
        EditWindow w;
        w.connectedWith(entries);
        if (!entries.isEmpty()) w.selectRemote(current);
        w.inet->executing = busy;
        w.window->Fdelete_Click();
        QVERIFY(w.inet->commands.isEmpty());
        QCOMPARE(w.messageTexts(), QStringList{message});
        QCOMPARE(w.messages.first().title, QStringLiteral("Corvexo"));
        QVERIFY(!w.messages.first().yesNo);
        QVERIFY(!w.window->DelWait && !w.window->DelList);
    }

    void deleteKeyInTheRemoteList()
    {
        EditWindow w;
        w.connectedWith({"a.txt"});
        w.selectRemote("a.txt");
        QTest::keyClick(w.window->ListView2, Qt::Key_Delete);
        QCOMPARE(w.inet->commands, QStringList{"delete a.txt"});
    }

    void renameThroughTheDialog_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("command");
        QTest::newRow("file") << "a.txt" << "b.txt" << "RENAME a.txt b.txt";
        QTest::newRow("folder keeps its slash") << "pub/" << "public" << "RENAME pub/ public";
        QTest::newRow("blanks as typed") << "a.txt" << "my file.txt" << "RENAME a.txt my file.txt";
    }
    void renameThroughTheDialog()
    {
        QFETCH(QString, entry);
        QFETCH(QString, name);
        QFETCH(QString, command);
        EditWindow w;
        w.connectedWith({"../", "pub/", "a.txt"});
        w.selectRemote(entry);
        w.window->FrDRname->trigger();
        QVERIFY(w.dialog() && w.dialog()->isVisible());
        QTest::keyClicks(w.dialog()->Text1, name);
        QTest::mouseClick(w.dialog()->Command1, Qt::LeftButton);
        QCOMPARE(w.inet->commands, QStringList{command});
        QCOMPARE(w.inet->sent.first().operands, (QStringList{entry, name}));
        QVERIFY(w.window->RenWait && w.window->RenList);
        QVERIFY(!w.dialog()->isVisible());
        QVERIFY(w.messages.isEmpty());
    }

    void renameAppliesToTheEntryCurrentAtOk()
    {
        EditWindow w;
        w.connectedWith({"a.txt", "b.txt"});
        w.selectRemote("a.txt");
        w.window->FrDRname_Click();
        w.selectRemote("b.txt");
        QTest::keyClicks(w.dialog()->Text1, "c.txt");
        QTest::keyClick(w.dialog()->Text1, Qt::Key_Return);
        QCOMPARE(w.inet->commands, QStringList{"RENAME b.txt c.txt"});
    }

    void renameRefusals_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("parent") << QStringList{"../"} << true << false
                                << QStringList{"\"../\" stands for this folder or the one above and cannot be renamed."};
        QTest::newRow("empty entry") << QStringList{""} << true << false << QStringList{};
        QTest::newRow("empty list") << QStringList{} << true << false << QStringList{"You have tried deleting item is not being selected."};
        QTest::newRow("busy") << QStringList{"a.txt"} << true << true << QStringList{"The last demand is being executed."};
        QTest::newRow("not connected") << QStringList{} << false << false
                                       << QStringList{"The demanded process has not been executed since connection is not being set up."};
    }
    void renameRefusals()
    {
        QFETCH(QStringList, entries);
        QFETCH(bool, connected);
        QFETCH(bool, busy);
        QFETCH(QStringList, messages);
        EditWindow w;
        if (connected) w.connectedWith(entries);
        if (!entries.isEmpty()) w.selectRemote(entries.first());
        w.inet->executing = busy;
        w.window->FrDRname_Click();
        QTest::keyClicks(w.dialog()->Text1, "b.txt");
        QTest::mouseClick(w.dialog()->Command1, Qt::LeftButton);
        QVERIFY(w.inet->commands.isEmpty());
        QCOMPARE(w.messageTexts(), messages);
        QVERIFY(!w.window->RenWait && !w.window->RenList);
        QVERIFY(!w.dialog()->isVisible());
    }

    void createFolder()
    {
        EditWindow w;
        w.connectedWith({"a.txt"});
        w.window->FMkD->trigger();
        QTest::keyClicks(w.dialog()->Text1, "new");
        QTest::keyClick(w.dialog()->Text1, Qt::Key_Enter);
        QCOMPARE(w.inet->commands, QStringList{"mkdir new"});
        QVERIFY(w.window->MkdWait && w.window->CdList);
        QVERIFY(!w.window->RenWait && !w.window->DelWait);
        QVERIFY(!w.dialog()->isVisible());
    }

    void createFolderWhileBusyIsRefused()
    {
        EditWindow w;
        w.connectedWith({"a.txt"});
        w.inet->executing = true;
        w.window->FMkD_Click();
        QTest::keyClicks(w.dialog()->Text1, "new");
        QTest::mouseClick(w.dialog()->Command1, Qt::LeftButton);
        QVERIFY(w.inet->commands.isEmpty());
        QCOMPARE(w.messageTexts(), QStringList{"The last demand is being executed."});
        QVERIFY(!w.window->MkdWait && !w.window->CdList);
    }

    void anEmptyNameSendsNothingAndKeepsTheDialog()
    {
        EditWindow w;
        w.connectedWith({"a.txt"});
        w.selectRemote("a.txt");
        for (auto open : {&Form1::FrDRname_Click, &Form1::FMkD_Click}) {
            (w.window.get()->*open)();
            QTest::mouseClick(w.dialog()->Command1, Qt::LeftButton);
            QVERIFY(w.dialog()->isVisible());
            QTest::mouseClick(w.dialog()->Command2, Qt::LeftButton);
            QVERIFY(!w.dialog()->isVisible());
        }
        QVERIFY(w.inet->commands.isEmpty());
        QVERIFY(w.messages.isEmpty());
        QVERIFY(!w.window->RenWait && !w.window->MkdWait && !w.window->CdList);
    }

    void aCommandTheControlRefusesLeavesNoMarks()
    {
        EditWindow w;
        w.connectedWith({"a.txt", "pub/"});
        w.inet->refuseWith = TransferError::StillExecuting;
        w.selectRemote("a.txt");
        w.window->Fdelete_Click();
        w.window->FrDRname_Click();
        QTest::keyClicks(w.dialog()->Text1, "b");
        QTest::keyClick(w.dialog()->Text1, Qt::Key_Return);
        w.window->FMkD_Click();
        QTest::keyClicks(w.dialog()->Text1, "new");
        QTest::keyClick(w.dialog()->Text1, Qt::Key_Return);
        const Form1 &f = *w.window;
        QVERIFY(!f.DelWait && !f.DelList && !f.RenWait && !f.RenList && !f.MkdWait && !f.CdList);
    }
};

QTEST_MAIN(EditCommandsTest)
#include "tst_edit_commands.moc"
