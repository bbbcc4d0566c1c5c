// The main window's way into the queue: the Transfers menu entry, whole
// folders, selections, drops and deletions, against a real server (pyftpdlib).

#include "app/drop_contents.h"
#include "app/existing_question.h"
#include "app/transfers_window.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "local/folder_box.h"
#include "support/ftp_test_server.h"
#include "support/local_files.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;
using queue::ExistingChoice;

namespace {
QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

// Lands data on a list as a drag from a list or from the desktop would.
void drop(FileListWidget *list, QMimeData *data)
{
    const std::unique_ptr<QMimeData> owned(data);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    QDropEvent dropped(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &dropped);
}

bool connectTo(WindowFixture &f, const FtpTestServer &server, const QString &localFolder)
{
    f.start(new FtpTransferControl);
    f.window->show();
    f.window->Dir1->setPath(localFolder);
    f.useServer(server);
    f.window->con_Click();
    return f.settle();
}

bool queueEnds(WindowFixture &f)
{
    return QTest::qWaitFor([&] { return !f.window->transferQueue()->isRunning(); }, 60000) && f.settle();
}

} // namespace

class TstQueueMainWindow : public QObject {
    Q_OBJECT
private slots:
    void menuOpensTransfersWindow()
    {
        WindowFixture f;
        QCOMPARE(f.window->TransfersItem->text(), QStringLiteral("&Transfers"));
        QCOMPARE(f.window->TransfersItem->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
        QCOMPARE(f.window->OptionsItem->text(), QStringLiteral("&Options..."));
        f.window->TransfersItem->trigger();
        QVERIFY(f.window->transfersWindow()->isVisible());
        QCOMPARE(f.window->transfersWindow()->windowTitle(), QStringLiteral("Transfers"));
    }

    void folderDownloadLandsByteForByte()
    {
        FtpTestServer server;
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        QByteArray big(300'000, Qt::Uninitialized);
        for (qsizetype i = 0; i < big.size(); ++i) big[i] = char(i * 7 % 251);
        server.writeFile(QStringLiteral("tree/a b.txt"), "first");
        server.writeFile(QStringLiteral("tree/日本/big.bin"), big);
        QTemporaryDir disk;
        QVERIFY(QDir().mkpath(disk.filePath(QStringLiteral("tree/日本"))));
        QVERIFY(writeFile(disk.filePath(QStringLiteral("tree/日本/big.bin")), "old"));
        QList<QList<ExistingChoice>> offered;
        setExistingAnswerer([&](const queue::ExistingQuestion &, const QList<ExistingChoice> &choices) {
            offered << choices;
            return ExistingAnswer{ExistingChoice::Overwrite, false};
        });

        WindowFixture f(WindowFixture::Start::Later);
        QVERIFY(connectTo(f, server, disk.path()));
        f.click(f.window->ListView2, "tree/");
        f.window->DownL->trigger();
        QVERIFY(f.window->transfersWindow()->isVisible());
        QVERIFY(queueEnds(f));
        setExistingAnswerer({});
        QCOMPARE(treeOf(disk.filePath(QStringLiteral("tree"))), treeOf(server.pathOf(QStringLiteral("tree"))));
        QCOMPARE(offered, QList<QList<ExistingChoice>>({{ExistingChoice::Overwrite, ExistingChoice::OverwriteIfNewer,
                                                         ExistingChoice::Resume, ExistingChoice::Rename, ExistingChoice::Skip}}));
        QVERIFY(f.texts().isEmpty());
    }

    void selectionGoesThroughTheQueue()
    {
        FtpTestServer server;
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        for (const char *name : {"one.txt", "two.txt", "three.txt"}) server.writeFile(name, name);
        QTemporaryDir disk;
        WindowFixture f(WindowFixture::Start::Later);
        QVERIFY(connectTo(f, server, disk.path()));
        FileListWidget *remote = f.window->ListView2;
        f.click(remote, "one.txt");
        QTest::mouseClick(remote->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          remote->entryRect(remote->rowOf("three.txt")).center());
        QCOMPARE(remote->selectedEntryTexts().size(), 2);
        QCOMPARE(remote->currentEntryText(), QStringLiteral("three.txt"));
        f.window->DownL->trigger();
        QVERIFY(queueEnds(f));
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files, QDir::Name), QStringList({"one.txt", "three.txt"}));
        QCOMPARE(treeOf(disk.path()).value("three.txt"), QByteArray("three.txt"));
    }

    void keysAndClicksSelect_data()
    {
        QTest::addColumn<QList<QKeyCombination>>("keys");
        QTest::addColumn<QStringList>("selected");
        QTest::newRow("Shift+Down twice") << QList<QKeyCombination>{Qt::SHIFT | Qt::Key_Down, Qt::SHIFT | Qt::Key_Down}
                                          << QStringList{"a", "b", "c"};
        QTest::newRow("Shift+click") << QList<QKeyCombination>{} << QStringList{"a", "b", "c", "d/"};
        QTest::newRow("Ctrl+A, not rename") << QList<QKeyCombination>{Qt::CTRL | Qt::Key_A}
                                            << QStringList{"a", "b", "c", "d/"};
    }
    void keysAndClicksSelect()
    {
        QFETCH(QList<QKeyCombination>, keys);
        QFETCH(QStringList, selected);
        WindowFixture f;
        f.connectWithListing("a\r\nb\r\nc\r\nd/");
        FileListWidget *remote = f.window->ListView2;
        f.click(remote, "a");
        for (const QKeyCombination key : keys) QTest::keyClick(remote, key.key(), key.keyboardModifiers());
        if (keys.isEmpty())
            QTest::mouseClick(remote->viewport(), Qt::LeftButton, Qt::ShiftModifier, remote->entryRect(3).center());
        QCOMPARE(remote->selectedEntryTexts(), selected);
    }

    void deleteAsksOnceWithCounts_data()
    {
        QTest::addColumn<QStringList>("selection");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("left");
        const QString counts = "Do you want to delete 4 files and 3 folders from the server?";
        QTest::newRow("No changes nothing") << QStringList{"tree/", "one.txt"} << false << counts
                                            << QStringList{"empty", "keep.txt", "lnk", "one.txt", "real", "tree"};
        QTest::newRow("Yes deletes the trees") << QStringList{"tree/", "one.txt"} << true << counts
                                               << QStringList{"empty", "keep.txt", "lnk", "real"};
        QTest::newRow("an empty folder by name") << QStringList{"empty/"} << true
                                                 << "Do you want to delete the folder \"empty\" from the server?"
                                                 << QStringList{"keep.txt", "lnk", "one.txt", "real", "tree"};
        QTest::newRow("a link goes as itself") << QStringList{"lnk/"} << true
                                               << "Do you want to delete 1 file from the server?"
                                               << QStringList{"empty", "keep.txt", "one.txt", "real", "tree"};
    }
    void deleteAsksOnceWithCounts()
    {
        QFETCH(QStringList, selection);
        QFETCH(bool, yes);
        QFETCH(QString, question);
        QFETCH(QStringList, left);
        FtpTestServer server;
        QVERIFY2(server.start({"--no-mlsd"}), qPrintable(server.errorText()));   // LIST tells links apart
        for (const char *name : {"tree/a b.txt", "tree/sub/b.txt", "tree/sub/日本/c.txt", "one.txt", "keep.txt", "real/in"})
            server.writeFile(QString::fromUtf8(name), name);
        QVERIFY(server.makeFolder("empty") && QFile::link(server.pathOf("real"), server.pathOf("lnk")));
        QTemporaryDir disk;
        WindowFixture f(WindowFixture::Start::Later);
        QVERIFY(connectTo(f, server, disk.path()));
        FileListWidget *remote = f.window->ListView2;
        f.click(remote, selection.first());
        for (const QString &entry : selection.mid(1))
            QTest::mouseClick(remote->viewport(), Qt::LeftButton, Qt::ControlModifier, remote->entryRect(remote->rowOf(entry)).center());
        f.answers = {yes};
        QTest::keyClick(remote, Qt::Key_Delete);
        QCOMPARE(f.window->statusText(), QStringLiteral("Counting what will be deleted..."));
        QTRY_COMPARE_WITH_TIMEOUT(f.texts(), QStringList{question}, 30000);
        QVERIFY(f.boxes[0].yesNo && f.boxes[0].noByDefault);
        if (yes) QVERIFY(queueEnds(f));
        QTRY_COMPARE_WITH_TIMEOUT(f.remoteEntries().size(), left.size(), 30000);   // listed again
        QCOMPARE(namesIn(server.root()), left);
        if (!yes) QCOMPARE(treeOf(server.pathOf("tree")).size(), 5);
        QCOMPARE(server.readFile("real/in"), QByteArray("real/in"));
        QCOMPARE(f.texts().size(), 1);
    }

    void dragsAndDesktopDropsTransferAll()
    {
        FtpTestServer server;
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        for (const char *name : {"one.txt", "two.txt", "three.txt"}) server.writeFile(name, name);
        QTemporaryDir disk, desktop;
        QVERIFY(QDir().mkpath(disk.filePath("sub")) && QDir().mkpath(desktop.filePath("my dir")));
        for (const QString &path : {disk.filePath("a.txt"), disk.filePath("sub/c.txt"),
                                    desktop.filePath("my dir/日本 語.txt"), desktop.filePath("x y.txt")})
            QVERIFY(writeFile(path, QFileInfo(path).fileName().toUtf8()));
        WindowFixture f(WindowFixture::Start::Later);
        QVERIFY(connectTo(f, server, disk.path()));
        f.answers = {true, true, true};
        drop(f.window->ListView1, makeListDragData(ListSide::Remote, {"one.txt", "three.txt"}));
        QTRY_COMPARE(f.boxes.size(), 1);
        QVERIFY(queueEnds(f));
        QCOMPARE(namesIn(disk.path()), QStringList({"a.txt", "one.txt", "sub", "three.txt"}));

        drop(f.window->ListView2, makeListDragData(ListSide::Local, {"a.txt", "sub"}));
        QTRY_COMPARE(f.boxes.size(), 2);
        QVERIFY(queueEnds(f));
        QCOMPARE(server.readFile("sub/c.txt"), QByteArray("c.txt"));

        auto *uris = new QMimeData;
        uris->setUrls({QUrl::fromLocalFile(desktop.filePath("my dir")), QUrl::fromLocalFile(desktop.filePath("x y.txt"))});
        drop(f.window->ListView2, uris);
        QTRY_COMPARE(f.boxes.size(), 3);
        QVERIFY(queueEnds(f));
        QCOMPARE(server.readFile("my dir/日本 語.txt"), QByteArray("日本 語.txt"));
        QCOMPARE(server.readFile("x y.txt"), QByteArray("x y.txt"));
        QCOMPARE(f.texts(), QStringList({"Do you want to download a file?", "Would you like to upload?", "Would you like to upload?"}));

        auto *web = new QMimeData;
        web->setUrls({QUrl::fromLocalFile(desktop.filePath("x y.txt")), QUrl("https://example.org/x")});
        drop(f.window->ListView2, web);
        QTRY_COMPARE(f.boxes.size(), 4);
        QCOMPARE(f.boxes.last().text, QStringLiteral("Only files and folders can be dropped here. \"https://example.org/x\" is not a file."));
        QVERIFY(!f.window->transferQueue()->isRunning());
    }

    void uploadThisFolderSendsTheWholeTree()
    {
        FtpTestServer server;
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        QTemporaryDir disk;
        QVERIFY(QDir().mkpath(disk.filePath("site/css")));
        for (const char *name : {"site/index.html", "site/css/a b.css"}) QVERIFY(writeFile(disk.filePath(name), name));
        WindowFixture f(WindowFixture::Start::Later);
        QVERIFY(connectTo(f, server, disk.filePath("site")));
        QCOMPARE(f.window->UploadFolderItem->text(), QStringLiteral("Upload this folder(&F)"));
        f.window->UploadFolderItem->trigger();
        QVERIFY(queueEnds(f));
        QCOMPARE(treeOf(server.pathOf("site")), treeOf(disk.filePath("site")));
    }
};

QTEST_MAIN(TstQueueMainWindow)
#include "tst_queue_main_window.moc"
