// The main window's way into the queue: the Transfers menu entry, and a whole
// remote folder downloaded through it from a real server (pyftpdlib).

#include "app/existing_question.h"
#include "app/transfers_window.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "local/folder_box.h"
#include "support/ftp_test_server.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;
using queue::ExistingChoice;

namespace {
QMap<QString, QByteArray> treeOf(const QString &root)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        tree.insert(QDir(root).relativeFilePath(file.fileName()),
                    it.fileInfo().isDir() ? QByteArray("/") : (file.open(QIODevice::ReadOnly), file.readAll()));
    }
    return tree;
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
        QFile shorter(disk.filePath(QStringLiteral("tree/日本/big.bin")));
        QVERIFY(shorter.open(QIODevice::WriteOnly) && shorter.write("old") == 3);
        shorter.close();
        QList<QList<ExistingChoice>> offered;
        setExistingAnswerer([&](const queue::ExistingQuestion &, const QList<ExistingChoice> &choices) {
            offered << choices;
            return ExistingAnswer{ExistingChoice::Overwrite, false};
        });

        WindowFixture f(WindowFixture::Start::Later);
        f.start(new FtpTransferControl);
        f.window->show();
        QVERIFY(f.window->Dir1->setPath(disk.path()));
        f.useServer(server);
        f.window->con_Click();
        QVERIFY(f.settle());
        f.click(f.window->ListView2, "tree/");
        f.window->DownL->trigger();
        QVERIFY(f.window->transfersWindow()->isVisible());
        QVERIFY(QTest::qWaitFor([&] { return !f.window->transferQueue()->isRunning(); }, 60000));
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
        f.start(new FtpTransferControl);
        f.window->show();
        QVERIFY(f.window->Dir1->setPath(disk.path()));
        f.useServer(server);
        f.window->con_Click();
        QVERIFY(f.settle());
        FileListWidget *remote = f.window->ListView2;
        f.click(remote, "one.txt");
        QTest::mouseClick(remote->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          remote->entryRect(remote->rowOf("three.txt")).center());
        QCOMPARE(remote->selectedEntryTexts().size(), 2);
        QCOMPARE(remote->currentEntryText(), QStringLiteral("three.txt"));
        f.window->DownL->trigger();
        QVERIFY(QTest::qWaitFor([&] { return !f.window->transferQueue()->isRunning(); }, 60000));
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files, QDir::Name), QStringList({"one.txt", "three.txt"}));
        QCOMPARE(treeOf(disk.path()).value("three.txt"), QByteArray("three.txt"));
    }
};

QTEST_MAIN(TstQueueMainWindow)
#include "tst_queue_main_window.moc"
