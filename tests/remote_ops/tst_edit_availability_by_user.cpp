// Every row of the edit availability, reached as a user reaches it: connected
// through the window on a scripted control, then entries of both lists
// clicked, right-clicked and focused, and the Edit menu opened. Patterns list
// UpL DownL CupD Refr FrDRname FMkD Fdelete button5 button6, 1 = enabled.

#include "settings/settings_store.h"
#include "tst_edit_fixture.h"

#include <QMenu>
#include <QMenuBar>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

namespace {

QListWidgetItem *entry(FileListWidget *list, const QString &text)
{
    const auto found = list->findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

void click(FileListWidget *list, const QString &text, Qt::MouseButton button = Qt::LeftButton)
{
    QListWidgetItem *item = entry(list, text);
    QVERIFY2(item, qPrintable(text));
    QTest::mouseClick(list->viewport(), button, {}, list->visualItemRect(item).center());
}

// A point of the list below its last entry.
QPoint emptyPlace(FileListWidget *list)
{
    return QPoint(list->viewport()->width() / 2, list->viewport()->height() - 3);
}

} // namespace

class EditAvailabilityByUserTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<EditWindow> w_;
    FileListWidget *local() { return w_->window->ListView1; }
    FileListWidget *remote() { return w_->window->ListView2; }
    QString now() const { return w_->availability(); }

    void connectWithListing()
    {
        CurrentSetting[1] = QStringLiteral("ftp.example.org");
        CurrentSetting[3] = QStringLiteral("user");
        w_->window->con_Click();
        QCOMPARE(w_->inet->lastCommand(), QStringLiteral("dir "));
        w_->inet->completeWithAnswer("../\r\n./\r\npub/\r\na.txt");
        QVERIFY(entry(remote(), QStringLiteral("a.txt")));
        QVERIFY(remote()->isEnabled());
    }

    // Opens the Edit menu from the menu bar and closes it again.
    void openEditMenu()
    {
        QMenuBar *bar = w_->window->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(w_->window->edit->menuAction()).center());
        QTRY_VERIFY(w_->window->edit->isVisible());
        w_->window->edit->hide();
    }

private slots:
    void init()
    {
        w_ = std::make_unique<EditWindow>();
        EditWindow::fill(local(), {QStringLiteral("local.txt"), QStringLiteral("notes.txt")});
        w_->window->show();
        w_->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_->window.get()));
    }
    void cleanup()
    {
        w_.reset();
        CurrentSetting = {};
    }

    void notConnected()
    {
        click(local(), QStringLiteral("local.txt"));
        QCOMPARE(now(), QStringLiteral("000000000"));
        openEditMenu();
        QCOMPARE(now(), QStringLiteral("000000000"));
        connectWithListing();
        click(remote(), QStringLiteral("a.txt"));
        QCOMPARE(now(), QStringLiteral("011110110"));
        w_->window->Discon->trigger();
        QCOMPARE(now(), QStringLiteral("000000000"));
        openEditMenu();
        QCOMPARE(now(), QStringLiteral("000000000"));
    }

    void localEntrySelected()
    {
        connectWithListing();
        click(remote(), QStringLiteral("a.txt"));
        click(local(), QStringLiteral("local.txt"));
        QCOMPARE(now(), QStringLiteral("100000001"));
        QVERIFY(!remote()->currentEntrySelected());
        // The menu bar's opening finds no remote selection and keeps the local state.
        openEditMenu();
        QCOMPARE(now(), QStringLiteral("100000001"));
    }

    void rightClickOnASelectedLocalFileOffersUploadOnly()
    {
        connectWithListing();
        click(local(), QStringLiteral("notes.txt"));
        w_->window->eddiF();
        click(local(), QStringLiteral("notes.txt"), Qt::RightButton);
        QTRY_VERIFY(w_->window->edit->isVisible());
        QCOMPARE(now(), QStringLiteral("100000001"));
        QVERIFY(!w_->window->LPopup);
        w_->window->edit->hide();
    }

    void localListWithoutSelection()
    {
        connectWithListing();
        click(remote(), QStringLiteral("a.txt"));
        // The focus reaches the local list by keyboard: no entry is selected there.
        local()->clearSelection();
        local()->setFocus(Qt::TabFocusReason);
        QCOMPARE(now(), QStringLiteral("001101000"));
    }

    void insideTheLocalMouseHandler()
    {
        connectWithListing();
        local()->clearSelection();
        QTest::mouseClick(local()->viewport(), Qt::RightButton, {}, emptyPlace(local()));
        QTRY_VERIFY(w_->window->edit->isVisible());
        QCOMPARE(now(), QStringLiteral("000000000"));
        w_->window->edit->hide();
    }

    void emptyLocalListChangesNothing()
    {
        connectWithListing();
        click(remote(), QStringLiteral("pub/"));
        const QString before = now();
        EditWindow::fill(local(), {});
        QTest::mouseClick(local()->viewport(), Qt::LeftButton, {}, emptyPlace(local()));
        QCOMPARE(now(), before);
    }

    void remoteEntries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("expected");
        QTest::newRow("parent") << "../" << "001100000";
        QTest::newRow("self") << "./" << "001100000";
        QTest::newRow("folder") << "pub/" << "001110100";
        QTest::newRow("file") << "a.txt" << "011110110";
    }
    void remoteEntries()
    {
        QFETCH(QString, entry);
        QFETCH(QString, expected);
        connectWithListing();
        click(local(), QStringLiteral("local.txt"));
        click(remote(), entry);
        QCOMPARE(now(), expected);
        QVERIFY(!local()->currentEntrySelected());
        // The pop-up of the remote list fits the same entry.
        w_->window->eddiF();
        click(remote(), entry, Qt::RightButton);
        QTRY_VERIFY(w_->window->edit->isVisible());
        QCOMPARE(now(), expected);
        w_->window->edit->hide();
    }

    void disabledOrUnselectedRemoteListChangesNothing()
    {
        connectWithListing();
        click(local(), QStringLiteral("local.txt"));
        remote()->clearSelection();
        remote()->setFocus(Qt::TabFocusReason);
        QCOMPARE(now(), QStringLiteral("100000001"));
        // While a command runs the remote list is off and a click changes nothing.
        click(remote(), QStringLiteral("a.txt"));
        w_->window->Refr->trigger();
        w_->inet->report({5});
        QVERIFY(!remote()->isEnabled());
        const QString busy = now();
        click(remote(), QStringLiteral("pub/"));
        QCOMPARE(now(), busy);
    }

    void editingAnEntryInPlaceOpensTheRename()
    {
        connectWithListing();
        click(remote(), QStringLiteral("a.txt"));
        QVERIFY(!w_->dialog() || !w_->dialog()->isVisible());
        remote()->setFocus();
        QTest::keyClick(remote(), Qt::Key_F2);
        QTRY_VERIFY(w_->dialog() && w_->dialog()->isVisible());
        QCOMPARE(w_->dialog()->windowTitle(), QStringLiteral("Change name"));
        QCOMPARE(entry(remote(), QStringLiteral("a.txt"))->text(), QStringLiteral("a.txt"));
        w_->dialog()->hide();

        click(remote(), QStringLiteral("../"));
        QTest::keyClick(remote(), Qt::Key_F2);
        QTest::qWait(50);
        QVERIFY(!w_->dialog()->isVisible());
        QVERIFY(w_->inet->commands == QStringList{QStringLiteral("dir ")});
    }

    void renameIsListedAgainAfterwards()
    {
        connectWithListing();
        click(remote(), QStringLiteral("a.txt"));
        w_->window->FrDRname->trigger();
        QTest::keyClicks(w_->dialog()->Text1, QStringLiteral("b.txt"));
        QTest::keyClick(w_->dialog()->Text1, Qt::Key_Return);
        QCOMPARE(w_->inet->lastCommand(), QStringLiteral("RENAME a.txt b.txt"));
        w_->inet->completeCommand();
        QCOMPARE(w_->inet->lastCommand(), QStringLiteral("Dir "));
        w_->inet->completeWithAnswer("../\r\npub/\r\nb.txt");
        QVERIFY(entry(remote(), QStringLiteral("b.txt")));
        QVERIFY(!w_->window->RenWait && !w_->window->RenList);
    }

    void folderCreationAndDeletionAreListedAgain()
    {
        connectWithListing();
        w_->window->FMkD_Click();
        QTest::keyClicks(w_->dialog()->Text1, QStringLiteral("new"));
        QTest::keyClick(w_->dialog()->Text1, Qt::Key_Return);
        w_->inet->completeCommand();
        QCOMPARE(w_->inet->commands.mid(1), (QStringList{"mkdir new", "Dir "}));
        w_->inet->completeWithAnswer("../\r\nnew/\r\npub/\r\na.txt");
        QVERIFY(entry(remote(), QStringLiteral("new/")));

        click(remote(), QStringLiteral("pub/"));
        QTest::keyClick(remote(), Qt::Key_Delete);
        w_->inet->completeCommand();
        QCOMPARE(w_->inet->commands.mid(3), (QStringList{"rmdir pub/", "Dir "}));
        w_->inet->completeWithAnswer("../\r\nnew/\r\na.txt");
        QVERIFY(!entry(remote(), QStringLiteral("pub/")));
        QVERIFY(!w_->window->DelWait && !w_->window->DelList && !w_->window->MkdWait);
    }
};

QTEST_MAIN(EditAvailabilityByUserTest)
#include "tst_edit_availability_by_user.moc"
