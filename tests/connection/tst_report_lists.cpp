// Both file lists as report views: sizes and times beside the names, sorting by
// a column title, and the current entry chosen by a right-click or by keys.
#include "app/elided_label.h"
#include "app/file_list_widget.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "local/folder_box.h"
#include "settings/settings_store.h"
#include "support/scripted_transfer_control.h"
#include "support/test_data_dir.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

using namespace corvexo;
using corvexo::testing::ScriptedTransferControl;
using corvexo::testing::TestDataDir;

namespace {

const QDateTime kNoon(QDate(2024, 2, 14), QTime(12, 30));

struct Window {
    TestDataDir data;
    ScriptedTransferControl *inet = new ScriptedTransferControl;
    std::unique_ptr<Form1> w;

    Window()
    {
        setMessageBoxAnswerer([](const MessageBoxRequest &request) { return request.yesNo ? MessageBoxAnswer::Yes : MessageBoxAnswer::Ok; });
        CurrentSetting = {};
        w = std::make_unique<Form1>(inet);
        CurrentSetting[1] = QStringLiteral("ftp.test");
        CurrentSetting[3] = QStringLiteral("joe");
        CurrentSetting[5] = QStringLiteral("test");
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    ~Window()
    {
        w.reset();
        setMessageBoxAnswerer({});
        CurrentSetting = {};
    }
    void connectWith(const QByteArray &listing, const QList<RemoteEntry> &entries = {})
    {
        inet->entries = entries;
        w->Connect();
        inet->report({1, 2, 3, 4});
        inet->completeWithAnswer(listing);
    }
    // Each row as "name|size|time".
    static QStringList rows(const FileListWidget *list)
    {
        QStringList out;
        for (int row = 0; row < list->count(); ++row) {
            QStringList cells;
            for (int column = 0; column < FileListColumnCount; ++column)
                cells << list->model()->index(row, column).data().toString();
            out << cells.join(u'|');
        }
        return out;
    }
    static QStringList names(const FileListWidget *list)
    {
        QStringList out;
        for (int row = 0; row < list->count(); ++row) out << list->entryText(row);
        return out;
    }
    static void clickTitle(FileListWidget *list, int column)
    {
        QHeaderView *titles = list->horizontalHeader();
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
                          QPoint(titles->sectionViewportPosition(column) + 4, titles->height() / 2));
    }
};

const QByteArray kListing = "../\r\nsrc/\r\nReadme.txt\r\nbig.bin\r\nnotes/\r\nempty.dat";
const QList<RemoteEntry> kEntries = {
    {QStringLiteral("src"), true, -1, kNoon.addDays(-1)},
    {QStringLiteral("Readme.txt"), false, 1234, kNoon},
    {QStringLiteral("big.bin"), false, 5000000, kNoon.addYears(-1)},
    {QStringLiteral("notes"), true, 4096, {}},
};

} // namespace

class ReportListsTest : public QObject {
    Q_OBJECT
private slots:
    void remoteRowsShowSizesAndTimesOfTheirNames()
    {
        Window f;
        f.connectWith(kListing, kEntries);
        QCOMPARE(Window::rows(f.w->ListView2),
                 QStringList({"../||", "src/||2024-02-13", "Readme.txt|1.2 KB|2024-02-14",
                              "big.bin|4.8 MB|2023-02-14", "notes/||", "empty.dat||"}));
        // Within the current year the time of day is shown instead of the year.
        QCOMPARE(compactModifiedText(QDateTime(QDate(2026, 3, 1), QTime(9, 5)), 2026), QStringLiteral("03-01 09:05"));
        QCOMPARE(shortSizeText(1023), QStringLiteral("1023 B"));
    }

    void localRowsShowSizesAndTimes()
    {
        Window f;
        QTemporaryDir folder;
        QFile file(folder.filePath("a.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("hello") == 5 && file.flush());
        QVERIFY(file.setFileTime(kNoon, QFileDevice::FileModificationTime));
        file.close();
        f.w->Dir1->setPath(folder.path());
        QCOMPARE(Window::rows(f.w->ListView1), QStringList({"a.txt|5 B|2024-02-14"}));
    }

    void titlesSortWithFoldersAboveFiles()
    {
        Window f;
        f.connectWith(kListing, kEntries);
        FileListWidget *list = f.w->ListView2;
        QVERIFY(list->selectEntry(QStringLiteral("Readme.txt")));
        Window::clickTitle(list, SizeColumn);
        QCOMPARE(Window::names(list), QStringList({"../", "src/", "notes/", "empty.dat", "Readme.txt", "big.bin"}));
        Window::clickTitle(list, SizeColumn);
        QCOMPARE(Window::names(list), QStringList({"../", "src/", "notes/", "big.bin", "Readme.txt", "empty.dat"}));
        Window::clickTitle(list, NameColumn);
        QCOMPARE(Window::names(list), QStringList({"../", "notes/", "src/", "big.bin", "empty.dat", "Readme.txt"}));
        // The chosen entry moved with its row: Enter downloads it.
        QCOMPARE(list->currentEntryText(), QStringLiteral("Readme.txt"));
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(f.inet->lastCommand().startsWith(QStringLiteral("GET Readme.txt ")));
    }

    void longListsSortOnTheirOwnThreadAndKeepTheChosenEntry()
    {
        const auto rowsBySize = [](bool growing) {
            const int count = int(FileListModel::LongListRows) + 5;
            QList<FileListEntry> rows;
            for (int i = 0; i < count; ++i) rows.append({QStringLiteral("f%1").arg(i), 0, growing ? i : count - i});
            return rows;
        };
        FileListModel model;
        model.setEntries(rowsBySize(false));
        const QPersistentModelIndex chosen = model.index(10, NameColumn);
        QSignalSpy applied(&model, &FileListModel::sortApplied);
        model.sort(SizeColumn, Qt::AscendingOrder);
        QVERIFY(applied.wait());
        QCOMPARE(model.entry(0).text, QStringLiteral("f%1").arg(model.rowCount() - 1));
        QCOMPARE(chosen.data().toString(), QStringLiteral("f10"));
        QCOMPARE(chosen.row(), model.rowCount() - 11);

        // Rows given while a sort runs are not put in the order found for the rows before them.
        model.sort(SizeColumn, Qt::DescendingOrder);
        model.setEntries(rowsBySize(false));
        QVERIFY(applied.wait());
        QTRY_VERIFY(!model.sorting());
        QCoreApplication::processEvents();
        for (int row = 1; row < model.rowCount(); ++row) QVERIFY(model.entry(row - 1).size > model.entry(row).size);
    }

    void aDownloadedFileTakesItsRowOrItsPlace()
    {
        FileListModel model;
        model.setEntries({{"b.txt", 3, 10}, {"d.txt", 3, 30}, {"sub/", 7}});
        model.sort(SizeColumn, Qt::DescendingOrder);
        model.putEntry({"b.txt", 3, 40, kNoon});   // replaced: its new size and time, moved by them
        model.putEntry({"c.txt", 3, 20});         // new: where the order puts it
        QStringList rows;
        for (int row = 0; row < model.rowCount(); ++row)
            rows << model.entry(row).text + u'|' + QString::number(model.entry(row).size);
        QCOMPARE(rows, QStringList({"sub/|-1", "b.txt|40", "d.txt|30", "c.txt|20"}));
        QCOMPARE(model.entry(1).modified, kNoon);
        model.putEntry({"a.txt", 3, 1});   // the smallest goes last
        QCOMPARE(model.entry(4).text, QStringLiteral("a.txt"));
    }

    void rightClickChoosesTheEntryUnderThePointer()
    {
        Window f;
        f.connectWith("a.txt\r\nb.txt");
        FileListWidget *list = f.w->ListView2;
        list->setCurrentRow(0);
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->entryRect(1).center());
        QVERIFY(f.w->edit->isVisible());
        f.w->edit->close();
        QCOMPARE(list->currentEntryText(), QStringLiteral("b.txt"));
        QVERIFY(list->currentEntrySelected());
        f.w->Fdelete->trigger();
        QCOMPARE(f.inet->lastCommand(), QStringLiteral("delete b.txt"));
    }

    void keysMoveTheEntryAndItsCommands_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("download");
        QTest::addColumn<bool>("rename");
        QTest::addColumn<QString>("command");  // the last command sent
        // After a refill the list has a current entry again: the first one.
        QTest::newRow("Enter after a listing opens the first entry") << QList<int>{Qt::Key_Return} << "../" << false << false << "CDUP ";
        QTest::newRow("Backspace goes up") << QList<int>{Qt::Key_End, Qt::Key_Backspace} << "zz.txt" << true << true << "CDUP ";
        QTest::newRow("Home: the way up") << QList<int>{Qt::Key_Home} << "../" << false << false << "dir ";
        QTest::newRow("End: a file") << QList<int>{Qt::Key_Down, Qt::Key_End} << "zz.txt" << true << true << "dir ";
        QTest::newRow("Down from the top: a folder") << QList<int>{Qt::Key_Home, Qt::Key_Down} << "pub/" << true << true << "dir ";
        QTest::newRow("Page Down: the last") << QList<int>{Qt::Key_Home, Qt::Key_PageDown} << "zz.txt" << true << true << "dir ";
        QTest::newRow("typed first letter") << QList<int>{Qt::Key_End, Qt::Key_R} << "readme.txt" << true << true << "dir ";
    }
    void keysMoveTheEntryAndItsCommands()
    {
        QFETCH(QList<int>, keys);
        Window f;
        f.connectWith("zz.txt");
        f.w->Refr_Click();   // a refill, then the focus, then the keys
        f.inet->completeWithAnswer("../\r\npub/\r\nreadme.txt\r\nzz.txt");
        f.w->ListView1->setFocus();
        f.w->ListView2->setFocus();
        for (int key : keys) QTest::keyClick(f.w->ListView2, Qt::Key(key));
        QTEST(f.w->ListView2->currentEntryText(), "current");
        QTEST(f.inet->lastCommand().replace("Dir ", "dir "), "command");
        QTEST(f.w->DownL->isEnabled(), "download");
        QTEST(f.w->toolbarButton(5)->isEnabled(), "download");
        QTEST(f.w->FrDRname->isEnabled(), "rename");
    }

    void goingUpMakesTheFolderLeftCurrent()
    {
        Window f;
        f.inet->folder = QStringLiteral("/pub/sub");
        f.connectWith("../\r\na.txt");
        f.w->ListView2->setFocus();
        QTest::keyClick(f.w->ListView2, Qt::Key_Backspace);
        f.inet->completeCommand();
        f.inet->completeWithAnswer("../\r\nnew/\r\nsub/\r\nz.txt");
        QCOMPARE(f.w->ListView2->currentEntryText(), QStringLiteral("sub/"));
        QCOMPARE(f.w->remotePath->text(), QStringLiteral("/pub/sub"));  // the control's folder, as it tells it
    }

    void localKeysOfferUpload()
    {
        Window f;
        QTemporaryDir folder;
        QVERIFY(QFile(folder.filePath("a.txt")).open(QIODevice::WriteOnly));
        f.w->Dir1->setPath(folder.path());
        f.connectWith("b.txt");
        f.w->ListView1->setFocus();
        QVERIFY(!f.w->UpL->isEnabled());
        QTest::keyClick(f.w->ListView1, Qt::Key_Home);
        QVERIFY(f.w->UpL->isEnabled());
        QVERIFY(f.w->toolbarButton(6)->isEnabled());
    }

    void folderEndingInADotIsAFolder()
    {
        Window f;
        f.connectWith("../\r\nabc./");
        QVERIFY(f.w->ListView2->selectEntry(QStringLiteral("abc./")));
        f.w->EdDI2();
        QVERIFY(f.w->FrDRname->isEnabled() && f.w->Fdelete->isEnabled());
        QTest::keyClick(f.w->ListView2, Qt::Key_Return);
        QCOMPARE(f.inet->lastCommand(), QStringLiteral("CD abc."));
    }

    void emptyFolderShowsNoEntry()
    {
        Window f;
        f.connectWith("");
        QCOMPARE(f.w->ListView2->count(), 0);
        QCOMPARE(f.w->windowTitle(), QStringLiteral("Completed."));
    }

    void unreadableLinesAreToldAfterALongListing()
    {
        Window f;
        QByteArray listing;
        for (int i = 0; i < 50000; ++i) listing += "file" + QByteArray::number(i) + ".txt\r\n";
        f.inet->unreadable = 2;
        f.connectWith(listing);
        QTRY_COMPARE(f.w->windowTitle(), QStringLiteral("Completed."));
        QCOMPARE(f.w->ListView2->count(), 50000);
        QCOMPARE(f.w->ListView2->entryText(49999), QStringLiteral("file49999.txt"));
        QCOMPARE(f.w->statusText(), QStringLiteral("2 entries could not be read. The entries that could be read are shown."));
        QVERIFY(f.w->ListView2->isEnabled());
    }
};

QTEST_MAIN(ReportListsTest)
#include "tst_report_lists.moc"
